#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumidex {

// An INI text ("[Section]" headers, "key=value" lines) edited in place: lines the caller does not
// change stay as they were, comments and unknown keys included. Section and key names match
// without regard to the case of A to Z, values are returned with surrounding blanks removed, and
// the first of repeated sections or keys wins, as the profile functions of the old platform did.
class IniFile {
public:
    IniFile() = default;
    static IniFile parse(std::string_view text);
    // The text with the line ending the parsed text used (CR LF when it had none).
    std::string text() const;

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Replaces the first such key, or adds it at the end of its section (the section is added at
    // the end of the file when missing).
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    bool removeKey(std::string_view section, std::string_view key);
    bool removeSection(std::string_view section);
    // Renames the first such section; false when it is missing.
    bool renameSection(std::string_view from, std::string_view to);
    bool hasSection(std::string_view section) const;
    std::vector<std::string> sections() const;
    std::vector<std::string> keys(std::string_view section) const;

    void setLineEnding(std::string ending) { m_eol = std::move(ending); }

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        Kind kind = Kind::Other;
        std::string name; // section or key name, trimmed
        std::string raw;  // the line as written, without its line ending
    };
    // [first, last) of the first section with that name, the header excluded; nullopt if missing.
    std::optional<std::pair<size_t, size_t>> sectionRange(std::string_view section) const;
    std::optional<size_t> keyLine(std::string_view section, std::string_view key) const;

    std::vector<Line> m_lines;
    std::string m_eol = "\r\n";
    bool m_finalEol = true;
};

// Case folding of A to Z only.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace lumidex
