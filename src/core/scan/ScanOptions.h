#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace lumidex {

class CSettingsStore;

inline constexpr int ScanOptionCount = 22;

// One field of ScanOptions: its name in lumidex-cli, its default, the range a stored value must
// lie in, and what a stored value outside it reads as (not always the default: an unusable
// "use label" or "open last" reads as 1 although both default to 0).
struct ScanOptionField {
    std::string_view name;
    int32_t defaultValue;
    int32_t min;
    int32_t max;
    int32_t replacement;
};

// In field order.
const std::array<ScanOptionField, ScanOptionCount>& scanOptionFields();

// What governs a scan: the depth and width of the folder walk, the naming of the disc, ejecting,
// which description, archive and MP3 files are read and up to which size, and whether the last
// catalog opens at start. Stored as the 22 values in field order, little-endian int32, 88 bytes.
struct ScanOptions {
    enum Field : int {
        AllFolders,     // only shown by the options sheet; the walk uses Levels
        AllFiles,       // likewise; the walk uses FilesPerFolder
        Levels,         // deepest folder level listed, 0..32
        FilesPerFolder, // files listed per folder, 0..2000
        UseLabel,       // name the disc after the volume label
        Eject,          // eject the CD after each scan
        OpenLast,       // open the last saved catalog at the next start
        Cab,
        Arj,
        Diz,
        Bang, // *.!!!
        Me,
        Nfo,
        Rar,
        Txt,
        Zip,
        Lha, // Lha and Lzh act together: either reads both extensions
        Lst,
        Lzh,
        Mp3,
        AnySize, // descriptions of any size; MaxSize only counts while this is 0
        MaxSize, // largest description file read, in bytes, at least 1
        FieldCount
    };
    static_assert(FieldCount == ScanOptionCount);
    static constexpr qsizetype ByteSize = FieldCount * 4;

    ScanOptions();

    int32_t operator[](Field f) const { return values[size_t(f)]; }
    int32_t& operator[](Field f) { return values[size_t(f)]; }
    bool isOn(Field f) const { return values[size_t(f)] != 0; }
    bool readsLhaArchives() const { return isOn(Lha) || isOn(Lzh); }

    QByteArray toBytes() const;
    // nullopt unless there are exactly ByteSize bytes.
    static std::optional<ScanOptions> fromBytes(const QByteArray& bytes);

    friend bool operator==(const ScanOptions&, const ScanOptions&) = default;

    std::array<int32_t, FieldCount> values;
};

// The field with that short name (A to Z case ignored) or decimal index.
std::optional<ScanOptions::Field> findScanOptionField(std::string_view nameOrIndex);
bool isAcceptedValue(ScanOptions::Field field, int32_t value);
// Replaces every value outside its field's range, as a load does.
void applyLoadChecks(ScanOptions& options);
// What confirming the options sheet stores besides the values shown: scanning all folders means
// 32 levels, scanning all files 2000 files per folder.
void applyConfirmRules(ScanOptions& options);

// The stored record ("Scan" in "Main") when it decodes to exactly 88 bytes, else the defaults;
// checked either way.
ScanOptions loadScanOptions(const CSettingsStore& store);
bool storeScanOptions(CSettingsStore& store, const ScanOptions& options);

} // namespace lumidex
