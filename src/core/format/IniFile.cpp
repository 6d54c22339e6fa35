#include "format/IniFile.h"

namespace lumidex {

namespace {

std::string_view trimmed(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

char foldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    return true;
}

IniFile IniFile::parse(std::string_view text)
{
    IniFile ini;
    if (const auto lf = text.find('\n'); lf != std::string_view::npos)
        ini.m_eol = lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
    ini.m_finalEol = text.empty() || text.back() == '\n';
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view raw = text.substr(at, end - at);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        at = end + 1;

        Line line;
        line.raw = std::string(raw);
        const std::string_view t = trimmed(raw);
        if (!t.empty() && t.front() == '[') {
            const auto close = t.find(']');
            if (close != std::string_view::npos) {
                line.kind = Kind::Section;
                line.name = std::string(trimmed(t.substr(1, close - 1)));
            }
        } else if (!t.empty() && t.front() != ';') {
            const auto eq = t.find('=');
            if (eq != std::string_view::npos) {
                line.kind = Kind::Key;
                line.name = std::string(trimmed(t.substr(0, eq)));
            }
        }
        ini.m_lines.push_back(std::move(line));
    }
    return ini;
}

std::string IniFile::text() const
{
    std::string out;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        out += m_lines[i].raw;
        if (i + 1 < m_lines.size() || m_finalEol)
            out += m_eol;
    }
    return out;
}

std::optional<std::pair<size_t, size_t>> IniFile::sectionRange(std::string_view section) const
{
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind != Kind::Section || !equalsIgnoringAsciiCase(m_lines[i].name, section))
            continue;
        size_t end = i + 1;
        while (end < m_lines.size() && m_lines[end].kind != Kind::Section)
            ++end;
        return std::pair{i + 1, end};
    }
    return std::nullopt;
}

std::optional<size_t> IniFile::keyLine(std::string_view section, std::string_view key) const
{
    const auto range = sectionRange(section);
    if (!range)
        return std::nullopt;
    for (size_t i = range->first; i < range->second; ++i)
        if (m_lines[i].kind == Kind::Key && equalsIgnoringAsciiCase(m_lines[i].name, key))
            return i;
    return std::nullopt;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    const auto line = keyLine(section, key);
    if (!line)
        return std::nullopt;
    const std::string& raw = m_lines[*line].raw;
    return std::string(trimmed(std::string_view(raw).substr(raw.find('=') + 1)));
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    Line line;
    line.kind = Kind::Key;
    line.name = std::string(key);
    line.raw = std::string(key) + "=" + std::string(value);
    if (const auto existing = keyLine(section, key)) {
        m_lines[*existing] = std::move(line);
        return;
    }
    if (const auto range = sectionRange(section)) {
        // After the section's last line that is not blank.
        size_t at = range->second;
        while (at > range->first && trimmed(m_lines[at - 1].raw).empty())
            --at;
        m_lines.insert(m_lines.begin() + std::ptrdiff_t(at), std::move(line));
        return;
    }
    Line header;
    header.kind = Kind::Section;
    header.name = std::string(section);
    header.raw = "[" + std::string(section) + "]";
    m_lines.push_back(std::move(header));
    m_lines.push_back(std::move(line));
    m_finalEol = true;
}

bool IniFile::removeKey(std::string_view section, std::string_view key)
{
    const auto line = keyLine(section, key);
    if (!line)
        return false;
    m_lines.erase(m_lines.begin() + std::ptrdiff_t(*line));
    return true;
}

bool IniFile::removeSection(std::string_view section)
{
    const auto range = sectionRange(section);
    if (!range)
        return false;
    m_lines.erase(m_lines.begin() + std::ptrdiff_t(range->first - 1), m_lines.begin() + std::ptrdiff_t(range->second));
    return true;
}

bool IniFile::renameSection(std::string_view from, std::string_view to)
{
    const auto range = sectionRange(from);
    if (!range)
        return false;
    Line& header = m_lines[range->first - 1];
    header.name = std::string(to);
    header.raw = "[" + std::string(to) + "]";
    return true;
}

bool IniFile::hasSection(std::string_view section) const
{
    return sectionRange(section).has_value();
}

std::vector<std::string> IniFile::sections() const
{
    std::vector<std::string> names;
    for (const Line& line : m_lines)
        if (line.kind == Kind::Section)
            names.push_back(line.name);
    return names;
}

std::vector<std::string> IniFile::keys(std::string_view section) const
{
    std::vector<std::string> names;
    if (const auto range = sectionRange(section))
        for (size_t i = range->first; i < range->second; ++i)
            if (m_lines[i].kind == Kind::Key)
                names.push_back(m_lines[i].name);
    return names;
}

} // namespace lumidex
