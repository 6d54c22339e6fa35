#pragma once

#include "settings/AppPaths.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lumidex {

// The one section and the keys the program uses in it.
namespace settingsKeys {
inline constexpr std::string_view Main = "Main";
inline constexpr std::string_view Language = "Language";
inline constexpr std::string_view OpenAtStart = "OpenAtStart";
inline constexpr std::string_view RecentFiles = "RecentFiles";
inline constexpr std::string_view RecentFilePrefix = "RecentFile"; // RecentFile1, RecentFile2, ...
inline constexpr std::string_view Scan = "Scan";
inline constexpr std::string_view CompareColor1 = "CompareColor1";
inline constexpr std::string_view CompareColor2 = "CompareColor2";
} // namespace settingsKeys

// The settings file "lumidex.ini". Construct one where a setting is needed and drop it after:
// nothing is cached, every read parses the file again and every write rewrites it at once, so a
// value written anywhere is seen by the next read everywhere.
//
// Values are bytes, as the old program stored them (paths included); callers convert. Reads of a
// missing or unreadable file give the operation's default. A write replaces the file atomically
// (QSaveFile: a temporary file renamed over it), keeps every line it does not change, and creates
// the folder when needed; when it fails it returns false and the previous file stays as it was.
// A new file gets CR LF line ends, so it can be copied to the old Windows program unchanged; an
// existing file keeps the line ends it has.
class CSettingsStore {
public:
    explicit CSettingsStore(QString filePath = settingsFilePath());

    const QString& filePath() const { return m_filePath; }

    bool WriteInt(std::string_view section, std::string_view key, int32_t value);
    // A missing key or an empty value gives the default. Otherwise the leading decimal number
    // (blanks skipped, optional sign, up to the first other character), 0 when there is none;
    // beyond the int32 range it is clamped.
    int32_t GetInt(std::string_view section, std::string_view key, int32_t defaultValue) const;

    // Without a value the key is removed. Text containing CR, LF or NUL is refused (false): it
    // would break the line structure of the file and could plant other keys. So are names the
    // file cannot hold as written (an empty key, a key with '=' or opening with '[' or ';', a
    // section with ']').
    bool WriteString(std::string_view section, std::string_view key, std::optional<std::string_view> value);
    // At most 4095 bytes are returned; a cut never splits a UTF-8 sequence of valid UTF-8 text.
    std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue = {}) const;

    // Two letters per byte, the low four bits first: 'A' + low, 'A' + high.
    bool WriteBinary(std::string_view section, std::string_view key, const QByteArray& bytes);
    // nullopt when the key is missing or empty. An odd last letter is ignored; letters are not
    // checked, each pair decodes modulo 256.
    std::optional<QByteArray> GetBinary(std::string_view section, std::string_view key) const;

    // "1,2,3". Nothing is written, and false returned, when the text would exceed 512 characters
    // counting a comma after every value.
    bool WriteIntList(std::string_view section, std::string_view key, std::span<const int32_t> values);
    // Fills `values` from the front and sets `count`. False when the key is missing or empty
    // (count 0) and when the list holds more values than fit (count = values.size(), the first
    // ones stored). Each comma-separated piece reads as GetInt reads a number; an empty piece is
    // 0, and a comma at the very end adds no piece.
    bool GetIntList(std::string_view section, std::string_view key, std::span<int32_t> values, size_t& count) const;

    // The letter-pair text of WriteBinary and its reading.
    static std::string encodeBinary(const QByteArray& bytes);
    static QByteArray decodeBinary(std::string_view text);

private:
    std::optional<std::string> readValue(std::string_view section, std::string_view key) const;

    QString m_filePath;
};

} // namespace lumidex
