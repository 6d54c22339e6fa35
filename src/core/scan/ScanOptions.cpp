#include "scan/ScanOptions.h"

#include "format/IniFile.h"
#include "settings/SettingsStore.h"

#include <QtEndian>

#include <limits>

namespace lumidex {

namespace {

constexpr ScanOptionField flag(std::string_view name, int32_t defaultValue)
{
    return {name, defaultValue, 0, 1, 1};
}

} // namespace

const std::array<ScanOptionField, ScanOptionCount>& scanOptionFields()
{
    static constexpr std::array<ScanOptionField, ScanOptionCount> fields = {{
        flag("allFolders", 1),
        flag("allFiles", 1),
        {"levels", 32, 0, 32, 32},
        {"filesPerFolder", 2000, 0, 2000, 2000},
        flag("useLabel", 0),
        flag("eject", 1),
        flag("openLast", 0),
        flag("cab", 1),
        flag("arj", 1),
        flag("diz", 1),
        flag("bang", 1),
        flag("me", 1),
        flag("nfo", 1),
        flag("rar", 1),
        flag("txt", 1),
        flag("zip", 1),
        flag("lha", 1),
        flag("lst", 1),
        flag("lzh", 1),
        flag("mp3", 1),
        flag("anySize", 1),
        {"maxSize", 1, 1, std::numeric_limits<int32_t>::max(), 1},
    }};
    return fields;
}

ScanOptions::ScanOptions()
{
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = scanOptionFields()[i].defaultValue;
}

QByteArray ScanOptions::toBytes() const
{
    QByteArray bytes(ByteSize, Qt::Uninitialized);
    for (size_t i = 0; i < values.size(); ++i)
        qToLittleEndian(values[i], bytes.data() + 4 * i);
    return bytes;
}

std::optional<ScanOptions> ScanOptions::fromBytes(const QByteArray& bytes)
{
    if (bytes.size() != ByteSize)
        return std::nullopt;
    ScanOptions options;
    for (size_t i = 0; i < options.values.size(); ++i)
        options.values[i] = qFromLittleEndian<int32_t>(bytes.constData() + 4 * i);
    return options;
}

std::optional<ScanOptions::Field> findScanOptionField(std::string_view nameOrIndex)
{
    const auto& fields = scanOptionFields();
    for (size_t i = 0; i < fields.size(); ++i)
        if (equalsIgnoringAsciiCase(fields[i].name, nameOrIndex))
            return ScanOptions::Field(i);
    if (nameOrIndex.empty() || nameOrIndex.size() > 2)
        return std::nullopt;
    int index = 0;
    for (const char c : nameOrIndex) {
        if (c < '0' || c > '9')
            return std::nullopt;
        index = index * 10 + (c - '0');
    }
    if (index >= ScanOptionCount)
        return std::nullopt;
    return ScanOptions::Field(index);
}

bool isAcceptedValue(ScanOptions::Field field, int32_t value)
{
    const ScanOptionField& f = scanOptionFields()[size_t(field)];
    return value >= f.min && value <= f.max;
}

void applyLoadChecks(ScanOptions& options)
{
    for (size_t i = 0; i < options.values.size(); ++i)
        if (!isAcceptedValue(ScanOptions::Field(i), options.values[i]))
            options.values[i] = scanOptionFields()[i].replacement;
}

void applyConfirmRules(ScanOptions& options)
{
    if (options.isOn(ScanOptions::AllFolders))
        options[ScanOptions::Levels] = 32;
    if (options.isOn(ScanOptions::AllFiles))
        options[ScanOptions::FilesPerFolder] = 2000;
}

ScanOptions loadScanOptions(const CSettingsStore& store)
{
    ScanOptions options;
    // The old program copied 88 bytes whatever the stored length; a value of any other length
    // is treated as missing rather than read past its end or half used.
    if (const auto bytes = store.GetBinary(settingsKeys::Main, settingsKeys::Scan))
        if (const auto stored = ScanOptions::fromBytes(*bytes))
            options = *stored;
    applyLoadChecks(options);
    return options;
}

bool storeScanOptions(CSettingsStore& store, const ScanOptions& options)
{
    return store.WriteBinary(settingsKeys::Main, settingsKeys::Scan, options.toBytes());
}

} // namespace lumidex
