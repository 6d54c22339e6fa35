#include "catalog/FileDetails.h"

#include "format/IniFile.h"

#include <QCoreApplication>
#include <QFile>

#include <sys/stat.h>

namespace lumidex {

FileDetails::Kind FileDetails::kindOf(std::string_view name)
{
    std::string tail(name.substr(name.size() >= 4 ? name.size() - 4 : 0));
    for (char& c : tail)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    if (tail == ".mp3")
        return Kind::Mp3;
    for (const char* archive : {".rar", ".lha", ".lzh", ".zip", ".arj", ".cab"})
        if (tail == archive)
            return Kind::Archive;
    return Kind::Description;
}

QString FileDetails::message(Status status)
{
    switch (status) {
    case Status::NoIndexKey:
        return QCoreApplication::translate("FileDetails", "Entry not exists !");
    case Status::NoRecord:
        return QCoreApplication::translate("FileDetails", "No description for selected file available !");
    default:
        return {};
    }
}

namespace {

// The disc's description entry through the index: NoRecord with the entry's name when it is
// there, else why not.
FileDetails locateEntry(CatalogContainer& container, int category, int disc)
{
    FileDetails details;
    const std::optional<IniFile> index = container.readIndex();
    if (!index)
        return details;
    const std::optional<std::string> entry =
        index->value("Category" + std::to_string(category), "Disk_" + std::to_string(disc));
    if (!entry || entry->empty()) {
        details.status = FileDetails::Status::NoIndexKey;
        return details;
    }
    if (!container.entryNames().contains(QString::fromStdString(*entry), Qt::CaseInsensitive)) {
        details.status = FileDetails::Status::NoEntry;
        return details;
    }
    // A damaged entry reads like one without the record.
    details.status = FileDetails::Status::NoRecord;
    details.entryName = *entry;
    return details;
}

} // namespace

FileDetails findFileDetails(CatalogContainer& container, int category, int disc, ItemKey key)
{
    FileDetails details = locateEntry(container, category, disc);
    if (details.status != FileDetails::Status::NoRecord)
        return details;
    const auto records = container.readDescriptionEntry(details.entryName);
    if (!records)
        return details;
    const std::string wanted = key.text();
    for (const CFileObject& record : *records) {
        if (equalsIgnoringAsciiCase(record.key, wanted)) {
            details.status = FileDetails::Status::Found;
            details.record = record;
            break;
        }
    }
    return details;
}

namespace {

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

} // namespace

FileDetailsCache::Stamp FileDetailsCache::stampOf(const QString& path)
{
    // The container is rewritten through a new file renamed over the old one, so every change
    // gives a new inode as well as a new time.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {path};
    return {path, qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            quint64(st.st_ino)};
}

void FileDetailsCache::clear()
{
    m_stamp = {};
    m_category = m_disc = -1;
    m_records.clear();
    m_byKey.clear();
}

FileDetails FileDetailsCache::find(CatalogContainer& container, int category, int disc, ItemKey key)
{
    const Stamp stamp = stampOf(container.path());
    if (stamp.size < 0 || !(stamp == m_stamp) || category != m_category || disc != m_disc) {
        clear();
        m_lookup = locateEntry(container, category, disc);
        if (m_lookup.status == FileDetails::Status::NoRecord) {
            auto records = container.readDescriptionEntry(m_lookup.entryName);
            if (records) {
                m_records = std::move(*records);
                m_byKey.reserve(m_records.size());
                for (size_t i = 0; i < m_records.size(); ++i)
                    m_byKey.emplace(lowerAscii(m_records[i].key), i);
            }
        }
        m_stamp = stamp;
        m_category = category;
        m_disc = disc;
    }
    FileDetails details = m_lookup;
    if (details.status != FileDetails::Status::NoRecord)
        return details;
    const auto found = m_byKey.find(lowerAscii(key.text()));
    if (found != m_byKey.end()) {
        details.status = FileDetails::Status::Found;
        details.record = m_records[found->second];
    }
    return details;
}

QString updateMp3Details(CatalogContainer& container, int category, int disc, ItemKey key, const Mp3Fields& fields)
{
    const FileDetails details = findFileDetails(container, category, disc, key);
    if (details.status != FileDetails::Status::Found) {
        const QString message = FileDetails::message(details.status);
        return message.isEmpty() ? container.errorString() : message;
    }
    auto records = container.readDescriptionEntry(details.entryName);
    if (!records)
        return container.errorString();
    const std::string wanted = key.text();
    for (CFileObject& record : *records) {
        if (equalsIgnoringAsciiCase(record.key, wanted)) {
            record.lines = {buildMp3InfoLine(fields)};
            record.loadedLineCount = 1;
            break;
        }
    }
    if (!container.writeDescriptionEntry(details.entryName, *records))
        return container.errorString();
    return {};
}

int32_t findNodeByPath(const DiscTree& tree, std::string_view path)
{
    int32_t parent = DiscTree::kNone;
    int32_t node = DiscTree::kNone;
    while (!path.empty()) {
        const size_t slash = path.find('/');
        const std::string_view name = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
        if (name.empty())
            continue;
        // Siblings: the first top-level node, or the parent's first child, then jump subtree by subtree.
        int32_t child = parent == DiscTree::kNone ? (tree.empty() ? DiscTree::kNone : 0) : tree.firstChild(parent);
        while (child != DiscTree::kNone && tree.text(child) != name)
            child = tree.nextSibling(child);
        if (child == DiscTree::kNone)
            return DiscTree::kNone;
        node = parent = child;
    }
    return node;
}

} // namespace lumidex
