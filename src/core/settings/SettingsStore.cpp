#include "settings/SettingsStore.h"

#include "format/IniFile.h"
#include "format/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <limits>

namespace lumidex {

namespace {

// The old program read strings into a buffer of 4096 with its terminating zero.
constexpr size_t MaxStringRead = 4095;
constexpr size_t MaxIntListText = 512;

enum class FileState { Missing, Read, Unreadable };

struct FileText {
    FileState state = FileState::Missing;
    std::string text;
};

FileText readSettingsFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return {FileState::Unreadable, {}};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {FileState::Unreadable, {}};
    return {FileState::Read, bytes.toStdString()};
}

bool hasLineBreak(std::string_view s)
{
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Names the INI text could not hold as one header or key: they would be read back differently
// or split the file.
bool usableNames(std::string_view section, std::string_view key)
{
    if (hasLineBreak(section) || section.find(']') != std::string_view::npos)
        return false;
    if (key.empty() || hasLineBreak(key) || key.find('=') != std::string_view::npos)
        return false;
    return key.front() != '[' && key.front() != ';';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// As the C library's decimal conversion reads: blanks, an optional sign, digits up to the first
// other character; nothing numeric gives 0. Clamped to int32 instead of overflowing.
int32_t leadingNumber(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    int64_t magnitude = 0;
    constexpr int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        magnitude = std::min(magnitude * 10 + (s[i] - '0'), limit);
    const int64_t value = negative ? -magnitude : std::min(magnitude, limit - 1);
    return int32_t(value);
}

std::string cutForReading(std::string text)
{
    if (text.size() <= MaxStringRead)
        return text;
    size_t size = MaxStringRead;
    // Bytes of legacy text are whole characters each; only UTF-8 has sequences to keep intact.
    if (isValidUtf8(text))
        while (size > 0 && (uint8_t(text[size]) & 0xC0) == 0x80)
            --size;
    text.resize(size);
    return text;
}

} // namespace

CSettingsStore::CSettingsStore(QString filePath)
    : m_filePath(std::move(filePath))
{
}

std::optional<std::string> CSettingsStore::readValue(std::string_view section, std::string_view key) const
{
    const FileText file = readSettingsFile(m_filePath);
    if (file.state != FileState::Read)
        return std::nullopt;
    return IniFile::parse(file.text).value(section, key);
}

bool CSettingsStore::WriteInt(std::string_view section, std::string_view key, int32_t value)
{
    return WriteString(section, key, std::to_string(value));
}

int32_t CSettingsStore::GetInt(std::string_view section, std::string_view key, int32_t defaultValue) const
{
    const auto value = readValue(section, key);
    if (!value || value->empty())
        return defaultValue;
    return leadingNumber(*value);
}

bool CSettingsStore::WriteString(std::string_view section, std::string_view key, std::optional<std::string_view> value)
{
    if (!usableNames(section, key) || (value && hasLineBreak(*value)))
        return false;

    const FileText current = readSettingsFile(m_filePath);
    // Writing over a file we could not read would lose every other setting in it.
    if (current.state == FileState::Unreadable)
        return false;
    IniFile ini = IniFile::parse(current.text);
    if (value)
        ini.setValue(section, key, *value);
    else
        ini.removeKey(section, key);
    const std::string text = ini.text();
    if (text == current.text)
        return true; // also: removing a key from a missing file creates no file

    const QFileInfo info(m_filePath);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(text.data(), qint64(text.size())) != qint64(text.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::string CSettingsStore::GetString(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    const auto value = readValue(section, key);
    return value ? cutForReading(*value) : std::string(defaultValue);
}

std::string CSettingsStore::encodeBinary(const QByteArray& bytes)
{
    std::string text;
    text.reserve(size_t(bytes.size()) * 2);
    for (const char c : bytes) {
        const auto byte = uint8_t(c);
        text += char('A' + (byte & 0x0F));
        text += char('A' + (byte >> 4));
    }
    return text;
}

QByteArray CSettingsStore::decodeBinary(std::string_view text)
{
    QByteArray bytes(qsizetype(text.size() / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto low = uint8_t(text[size_t(2 * i)]);
        const auto high = uint8_t(text[size_t(2 * i + 1)]);
        // Unsigned arithmetic wraps modulo 256, which is the decoding rule for any letter.
        bytes[i] = char(uint8_t(low - 'A' + 16 * (high - 'A')));
    }
    return bytes;
}

bool CSettingsStore::WriteBinary(std::string_view section, std::string_view key, const QByteArray& bytes)
{
    return WriteString(section, key, encodeBinary(bytes));
}

std::optional<QByteArray> CSettingsStore::GetBinary(std::string_view section, std::string_view key) const
{
    const std::string text = GetString(section, key);
    if (text.empty())
        return std::nullopt;
    return decodeBinary(text);
}

bool CSettingsStore::WriteIntList(std::string_view section, std::string_view key, std::span<const int32_t> values)
{
    std::string text;
    for (const int32_t value : values) {
        text += std::to_string(value);
        text += ',';
        if (text.size() > MaxIntListText)
            return false;
    }
    if (!text.empty())
        text.pop_back();
    return WriteString(section, key, text);
}

bool CSettingsStore::GetIntList(std::string_view section, std::string_view key, std::span<int32_t> values, size_t& count) const
{
    count = 0;
    const std::string text = GetString(section, key);
    if (text.empty())
        return false;
    const std::string_view rest(text);
    size_t at = 0;
    while (at < rest.size()) {
        size_t comma = rest.find(',', at);
        if (comma == std::string_view::npos)
            comma = rest.size();
        if (count == values.size())
            return false;
        values[count++] = leadingNumber(rest.substr(at, comma - at));
        at = comma + 1;
    }
    return true;
}

} // namespace lumidex
