#include "catalog/CatalogContainer.h"

#include "format/ArchiveError.h"
#include "format/ArchiveReader.h"
#include "format/ArchiveWriter.h"
#include "format/ZipArchive.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <set>

namespace lumidex {

namespace {

const std::string kIndexName = "data.ini";

std::string sectionName(int category)
{
    return "Category" + std::to_string(category);
}

std::string diskKey(int disc)
{
    return "Disk_" + std::to_string(disc);
}

std::string entryName(int category, int disc, bool cover)
{
    return std::to_string(category) + "_" + std::to_string(disc) + (cover ? ".cov" : ".obj");
}

bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

bool endsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && equalsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

// A number as this program writes it ("%d" of a non-negative int): digits only, no leading zero.
// Names that differ from that form are not the names the lookups would find.
std::optional<int> canonicalNumber(std::string_view text)
{
    if (text.empty() || text.size() > 10 || (text.size() > 1 && text[0] == '0'))
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > INT_MAX)
        return std::nullopt;
    return int(value);
}

// Read like the profile functions read an integer: leading digits, a negative value or none
// counts as 0.
int profileInt(const std::optional<std::string>& value)
{
    if (!value)
        return 0;
    std::string_view text = *value;
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    long long number = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        number = std::min<long long>(number * 10 + (c - '0'), INT_MAX);
    }
    return negative ? 0 : int(number);
}

int discCount(const IniFile& index, int category)
{
    return profileInt(index.value(sectionName(category), "Disk_Count"));
}

std::optional<int> diskKeyNumber(std::string_view key)
{
    if (!startsWithIgnoringAsciiCase(key, "Disk_"))
        return std::nullopt;
    return canonicalNumber(key.substr(5));
}

std::optional<int> categorySectionNumber(std::string_view section)
{
    if (!startsWithIgnoringAsciiCase(section, "Category"))
        return std::nullopt;
    return canonicalNumber(section.substr(8));
}

struct DiscEntry {
    int category;
    int disc;
    bool cover;
    std::string name; // as stored
};

// "<category>_<disc>.obj" and ".cov" entries; media covers ("_<tab>_<row>.cov") and anything
// else do not match.
std::vector<DiscEntry> discEntries(const ZipArchive& zip)
{
    std::vector<DiscEntry> out;
    for (const std::string& name : zip.names()) {
        const bool obj = endsWithIgnoringAsciiCase(name, ".obj");
        if (!obj && !endsWithIgnoringAsciiCase(name, ".cov"))
            continue;
        const std::string_view stem = std::string_view(name).substr(0, name.size() - 4);
        const size_t sep = stem.find('_');
        if (sep == std::string_view::npos)
            continue;
        const auto category = canonicalNumber(stem.substr(0, sep));
        const auto disc = canonicalNumber(stem.substr(sep + 1));
        if (category && disc)
            out.push_back({*category, *disc, !obj, name});
    }
    return out;
}

// Entry names that come from outside (callers, the index) must be plain file names: no folder
// part, nothing that climbs out of a folder if it ever reaches the file system.
bool isPlainEntryName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

// Media cover names must not reach the index or a description entry.
bool isCoverEntryName(std::string_view name)
{
    return isPlainEntryName(name) && !equalsIgnoringAsciiCase(name, kIndexName) && !endsWithIgnoringAsciiCase(name, ".obj");
}

QString nameText(std::string_view name)
{
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

int32_t kindFromName(std::string_view name)
{
    static constexpr std::string_view archives[] = {".rar", ".lha", ".lzh", ".zip", ".arj", ".cab"};
    for (std::string_view ext : archives)
        if (endsWithIgnoringAsciiCase(name, ext))
            return CFileObject::ArchiveListing;
    if (endsWithIgnoringAsciiCase(name, ".mp3"))
        return CFileObject::Mp3Data;
    return CFileObject::TextDescription;
}

std::optional<QByteArray> readWholeFile(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read '%1': %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("cannot read '%1': %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

// Renames an entry when it is present; a missing entry is skipped.
bool renameIfPresent(ZipArchive& zip, const std::string& from, const std::string& to)
{
    return !zip.contains(from) || zip.rename(from, to);
}

} // namespace

CatalogContainer::CatalogContainer(QString path)
    : m_path(std::move(path))
{
}

bool CatalogContainer::exists() const
{
    return QFileInfo(m_path).isFile();
}

std::string CatalogContainer::descriptionEntryName(int category, int disc)
{
    return entryName(category, disc, false);
}

std::string CatalogContainer::discCoverEntryName(int category, int disc)
{
    return entryName(category, disc, true);
}

bool CatalogContainer::fail(QString message)
{
    m_error = std::move(message);
    return false;
}

bool CatalogContainer::openForEdit(ZipArchive& zip)
{
    m_error.clear();
    return zip.open(m_path, ZipArchive::Mode::Edit) || fail(zip.errorString());
}

bool CatalogContainer::openForReading(ZipArchive& zip)
{
    m_error.clear();
    return zip.open(m_path, ZipArchive::Mode::ReadOnly) || fail(zip.errorString());
}

std::optional<IniFile> CatalogContainer::loadIndex(ZipArchive& zip, bool required)
{
    if (!zip.contains(kIndexName)) {
        if (required) {
            fail(QStringLiteral("'%1' has no index").arg(m_path));
            return std::nullopt;
        }
        return IniFile();
    }
    // An index that is there but cannot be read must not be replaced by an empty one.
    const auto bytes = zip.read(kIndexName);
    if (!bytes) {
        fail(zip.errorString());
        return std::nullopt;
    }
    return IniFile::parse(std::string_view(bytes->constData(), size_t(bytes->size())));
}

bool CatalogContainer::storeIndex(ZipArchive& zip, IniFile& index)
{
    index.setLineEnding("\r\n");
    return zip.put(kIndexName, QByteArray::fromStdString(index.text())) || fail(zip.errorString());
}

bool CatalogContainer::commit(ZipArchive& zip)
{
    // libzip removes an archive whose last entry is gone; the container must stay a file.
    if (zip.liveEntryCount() == 0 && !zip.put(kIndexName, QByteArray()))
        return fail(zip.errorString());
    return zip.close() || fail(zip.errorString());
}

std::optional<std::string> CatalogContainer::coverNameFromIndex(const IniFile& index, int category, int disc)
{
    const auto value = index.value(sectionName(category), diskKey(disc));
    if (!value || value->size() < 3) {
        fail(QStringLiteral("disc %1 of category %2 has no description entry").arg(disc).arg(category));
        return std::nullopt;
    }
    std::string name = value->substr(0, value->size() - 3) + "cov";
    if (!isPlainEntryName(name)) {
        fail(QStringLiteral("invalid entry name '%1' in the index").arg(nameText(*value)));
        return std::nullopt;
    }
    return name;
}

bool CatalogContainer::renumberLaterDiscs(ZipArchive& zip, IniFile& index, int category, int removedDisc, int oldCount)
{
    // Only discs that have a key or an entry are visited: a count alone (however large) costs
    // nothing, and no key is invented for a disc the index never named.
    std::set<int> later;
    for (const DiscEntry& e : discEntries(zip))
        if (e.category == category && e.disc > removedDisc && e.disc < oldCount)
            later.insert(e.disc);
    const std::string section = sectionName(category);
    for (const std::string& key : index.keys(section))
        if (const auto d = diskKeyNumber(key); d && *d > removedDisc && *d < oldCount)
            later.insert(*d);

    // In increasing order: the name one below is always free by the time it is taken.
    for (int d : later) {
        while (index.removeKey(section, diskKey(d))) {
        }
        index.setValue(section, diskKey(d - 1), entryName(category, d - 1, false));
        if (!renameIfPresent(zip, entryName(category, d, false), entryName(category, d - 1, false))
            || !renameIfPresent(zip, entryName(category, d, true), entryName(category, d - 1, true)))
            return fail(zip.errorString());
    }
    return true;
}

bool CatalogContainer::create(const std::vector<int>& discCounts)
{
    m_error.clear();
    IniFile index;
    for (size_t i = 0; i < discCounts.size(); ++i)
        index.setValue(sectionName(int(i)), "Disk_Count", std::to_string(std::max(discCounts[i], 0)));
    // Truncate mode leaves the old file in place until the new archive is written beside it
    // and renamed over it.
    ZipArchive zip;
    if (!zip.open(m_path, ZipArchive::Mode::Truncate))
        return fail(zip.errorString());
    if (!storeIndex(zip, index))
        return false;
    return zip.close() || fail(zip.errorString());
}

bool CatalogContainer::storeDescriptionEntry(int category, int disc, const QString& entryFile, bool added)
{
    if (category < 0 || disc < 0)
        return fail(QStringLiteral("invalid disc %1 of category %2").arg(disc).arg(category));
    const auto bytes = readWholeFile(entryFile, m_error);
    if (!bytes)
        return false;
    ZipArchive zip;
    if (!openForEdit(zip))
        return false;
    auto index = loadIndex(zip, false);
    if (!index)
        return false;
    const std::string name = entryName(category, disc, false);
    if (!zip.put(name, *bytes))
        return fail(zip.errorString());
    int key = disc;
    if (added) {
        // A new disc takes the next key, whatever its tab; the count grows by one.
        key = discCount(*index, category);
        if (key == INT_MAX)
            return fail(QStringLiteral("category %1 is full").arg(category));
        index->setValue(sectionName(category), "Disk_Count", std::to_string(key + 1));
    }
    index->setValue(sectionName(category), diskKey(key), name);
    if (!storeIndex(zip, *index) || !commit(zip))
        return false;
    // Only now is the data safe in the container.
    QFile::remove(entryFile);
    return true;
}

bool CatalogContainer::addDisc(int category, int disc, const QString& entryFile)
{
    return storeDescriptionEntry(category, disc, entryFile, true);
}

bool CatalogContainer::updateDisc(int category, int disc, const QString& entryFile)
{
    return storeDescriptionEntry(category, disc, entryFile, false);
}

bool CatalogContainer::deleteDisc(int category, int disc)
{
    if (category < 0 || disc < 0)
        return fail(QStringLiteral("invalid disc %1 of category %2").arg(disc).arg(category));
    ZipArchive zip;
    if (!openForEdit(zip))
        return false;
    auto index = loadIndex(zip, false);
    if (!index)
        return false;
    if (!zip.remove(entryName(category, disc, true)) || !zip.remove(entryName(category, disc, false)))
        return fail(zip.errorString());
    // The index follows the discs even when the description entry is missing (a container made
    // afresh for an existing catalog has none): otherwise the later discs would keep their old
    // numbers and show another disc's data.
    const std::string section = sectionName(category);
    const int n = discCount(*index, category);
    index->setValue(section, "Disk_Count", std::to_string(std::max(n - 1, 0)));
    while (index->removeKey(section, diskKey(disc))) {
    }
    return renumberLaterDiscs(zip, *index, category, disc, n) && storeIndex(zip, *index) && commit(zip);
}

bool CatalogContainer::moveDisc(int sourceCategory, int disc, int targetCategory)
{
    if (sourceCategory < 0 || targetCategory < 0 || disc < 0)
        return fail(QStringLiteral("invalid disc %1 of category %2").arg(disc).arg(sourceCategory));
    if (sourceCategory == targetCategory)
        return fail(QStringLiteral("a disc is moved to another category"));
    ZipArchive zip;
    if (!openForEdit(zip))
        return false;
    auto index = loadIndex(zip, false);
    if (!index)
        return false;
    const int n = discCount(*index, sourceCategory);
    const int m = discCount(*index, targetCategory);
    if (m == INT_MAX)
        return fail(QStringLiteral("category %1 is full").arg(targetCategory));

    // The disc leaves its slot before the later discs move down into it.
    if (!renameIfPresent(zip, entryName(sourceCategory, disc, false), entryName(targetCategory, m, false))
        || !renameIfPresent(zip, entryName(sourceCategory, disc, true), entryName(targetCategory, m, true)))
        return fail(zip.errorString());

    const std::string source = sectionName(sourceCategory);
    index->setValue(source, "Disk_Count", std::to_string(std::max(n - 1, 0)));
    while (index->removeKey(source, diskKey(disc))) {
    }
    if (!renumberLaterDiscs(zip, *index, sourceCategory, disc, n))
        return false;

    const std::string target = sectionName(targetCategory);
    index->setValue(target, "Disk_Count", std::to_string(m + 1));
    index->setValue(target, diskKey(m), entryName(targetCategory, m, false));
    return storeIndex(zip, *index) && commit(zip);
}

bool CatalogContainer::insertCategory(int index)
{
    if (index < 0)
        return fail(QStringLiteral("invalid category %1").arg(index));
    ZipArchive zip;
    if (!openForEdit(zip))
        return false;
    auto ini = loadIndex(zip, false);
    if (!ini)
        return false;
    ini->setValue(sectionName(index), "Disk_Count", "0");
    return storeIndex(zip, *ini) && commit(zip);
}

bool CatalogContainer::deleteCategory(int index)
{
    if (index < 0)
        return fail(QStringLiteral("invalid category %1").arg(index));
    ZipArchive zip;
    if (!openForEdit(zip))
        return false;
    auto ini = loadIndex(zip, false);
    if (!ini)
        return false;

    const int count = discCount(*ini, index);
    for (const DiscEntry& e : discEntries(zip))
        if (e.category == index && e.disc < count && !zip.remove(e.name))
            return fail(zip.errorString());
    while (ini->removeSection(sectionName(index))) {
    }

    std::set<int> later;
    for (const std::string& section : ini->sections())
        if (const auto c = categorySectionNumber(section); c && *c > index)
            later.insert(*c);

    // In increasing order, so that the names one category down are free when they are taken.
    const std::vector<DiscEntry> entries = discEntries(zip);
    for (int c : later) {
        const int discs = discCount(*ini, c);
        for (const DiscEntry& e : entries)
            if (e.category == c && e.disc < discs && !zip.rename(e.name, entryName(c - 1, e.disc, e.cover)))
                return fail(zip.errorString());
        const std::string moved = sectionName(c - 1);
        ini->renameSection(sectionName(c), moved);
        for (const std::string& key : ini->keys(moved))
            if (const auto d = diskKeyNumber(key); d && *d < discs)
                ini->setValue(moved, key, entryName(c - 1, *d, false));
    }
    return storeIndex(zip, *ini) && commit(zip);
}

bool CatalogContainer::storeDiscCover(int category, int disc, const QString& pictureFile)
{
    const auto bytes = readWholeFile(pictureFile, m_error);
    if (!bytes)
        return false;
    ZipArchive zip;
    if (!openForEdit(zip))
        return false;
    const auto index = loadIndex(zip, true);
    if (!index)
        return false;
    const auto name = coverNameFromIndex(*index, category, disc);
    if (!name)
        return false;
    return (zip.put(*name, *bytes) || fail(zip.errorString())) && commit(zip);
}

bool CatalogContainer::removeDiscCover(int category, int disc)
{
    ZipArchive zip;
    if (!openForEdit(zip))
        return false;
    // A disc the index does not name has no cover: nothing to do.
    if (!zip.contains(kIndexName))
        return true;
    const auto index = loadIndex(zip, true);
    if (!index)
        return false;
    const auto name = coverNameFromIndex(*index, category, disc);
    if (!name) {
        m_error.clear();
        return true;
    }
    if (!zip.contains(*name))
        return true;
    return (zip.remove(*name) || fail(zip.errorString())) && commit(zip);
}

std::optional<QByteArray> CatalogContainer::loadDiscCover(int category, int disc)
{
    ZipArchive zip;
    if (!openForReading(zip))
        return std::nullopt;
    const auto index = loadIndex(zip, true);
    if (!index)
        return std::nullopt;
    const auto name = coverNameFromIndex(*index, category, disc);
    if (!name)
        return std::nullopt;
    auto bytes = zip.read(*name);
    if (!bytes)
        fail(zip.errorString());
    return bytes;
}

bool CatalogContainer::checkCoverName(const std::string& name)
{
    return isCoverEntryName(name) || fail(QStringLiteral("invalid cover entry name '%1'").arg(nameText(name)));
}

bool CatalogContainer::storeCover(const QString& sourceFile, const std::string& entryName)
{
    m_error.clear();
    if (!checkCoverName(entryName))
        return false;
    const auto bytes = readWholeFile(sourceFile, m_error);
    if (!bytes)
        return false;
    ZipArchive zip;
    if (!openForEdit(zip))
        return false;
    return (zip.put(entryName, *bytes) || fail(zip.errorString())) && commit(zip);
}

bool CatalogContainer::removeCover(const std::string& entryName)
{
    m_error.clear();
    if (!checkCoverName(entryName))
        return false;
    ZipArchive zip;
    if (!openForEdit(zip))
        return false;
    if (!zip.contains(entryName))
        return true;
    return (zip.remove(entryName) || fail(zip.errorString())) && commit(zip);
}

bool CatalogContainer::removeCovers(const std::vector<std::string>& entryNames)
{
    m_error.clear();
    ZipArchive zip;
    if (!openForEdit(zip))
        return false;
    bool changed = false;
    for (const std::string& name : entryNames) {
        if (!isCoverEntryName(name) || !zip.contains(name))
            continue;
        if (!zip.remove(name))
            return fail(zip.errorString());
        changed = true;
    }
    if (!changed) {
        zip.discard();
        return true;
    }
    return commit(zip);
}

bool CatalogContainer::copyCover(const std::string& oldName, const std::string& newName)
{
    m_error.clear();
    if (!checkCoverName(oldName) || !checkCoverName(newName))
        return false;
    ZipArchive zip;
    if (!openForEdit(zip))
        return false;
    if (!zip.contains(oldName) || equalsIgnoringAsciiCase(oldName, newName))
        return true;
    const auto bytes = zip.read(oldName);
    if (!bytes)
        return fail(zip.errorString());
    return (zip.put(newName, *bytes) || fail(zip.errorString())) && commit(zip);
}

bool CatalogContainer::moveCover(const std::string& oldName, const std::string& newName)
{
    m_error.clear();
    if (!checkCoverName(oldName) || !checkCoverName(newName))
        return false;
    ZipArchive zip;
    if (!openForEdit(zip))
        return false;
    if (!zip.contains(oldName))
        return true;
    return (zip.rename(oldName, newName) || fail(zip.errorString())) && commit(zip);
}

std::optional<IniFile> CatalogContainer::readIndex()
{
    ZipArchive zip;
    if (!openForReading(zip))
        return std::nullopt;
    return loadIndex(zip, true);
}

std::optional<std::vector<CFileObject>> CatalogContainer::readDescriptionEntry(int category, int disc)
{
    return readDescriptionEntry(entryName(category, disc, false));
}

std::optional<std::vector<CFileObject>> CatalogContainer::readDescriptionEntry(const std::string& name)
{
    ZipArchive zip;
    if (!openForReading(zip))
        return std::nullopt;
    auto bytes = zip.read(name);
    if (!bytes) {
        fail(zip.errorString());
        return std::nullopt;
    }
    zip.discard();

    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);
    std::vector<CFileObject> records;
    try {
        ArchiveReader reader(buffer);
        while (reader.remaining() > 0) {
            CFileObject record;
            record.Serialize(reader);
            record.kind = kindFromName(record.name);
            records.push_back(std::move(record));
        }
    } catch (const ArchiveError& e) {
        fail(QStringLiteral("entry '%1' is damaged: %2").arg(nameText(name), QString::fromStdString(e.what())));
        return std::nullopt;
    }
    return records;
}

bool CatalogContainer::writeDescriptionEntry(const std::string& name, const std::vector<CFileObject>& records)
{
    m_error.clear();
    if (!isPlainEntryName(name) || !endsWithIgnoringAsciiCase(name, ".obj"))
        return fail(QStringLiteral("invalid entry name '%1'").arg(nameText(name)));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        ArchiveWriter writer(buffer);
        for (const CFileObject& record : records)
            record.Serialize(writer);
        writer.flush();
    }
    ZipArchive zip;
    if (!openForEdit(zip))
        return false;
    if (!zip.contains(name))
        return fail(QStringLiteral("the container has no entry '%1'").arg(nameText(name)));
    if (!zip.put(name, bytes))
        return fail(zip.errorString());
    return commit(zip);
}

QStringList CatalogContainer::entryNames()
{
    QStringList out;
    ZipArchive zip;
    if (!openForReading(zip))
        return out;
    for (const std::string& name : zip.names())
        out << nameText(name);
    return out;
}

std::optional<QByteArray> CatalogContainer::readEntry(const std::string& name)
{
    m_error.clear();
    if (!isPlainEntryName(name)) {
        fail(QStringLiteral("invalid entry name '%1'").arg(nameText(name)));
        return std::nullopt;
    }
    ZipArchive zip;
    if (!openForReading(zip))
        return std::nullopt;
    auto bytes = zip.read(name);
    if (!bytes)
        fail(zip.errorString());
    return bytes;
}

} // namespace lumidex
