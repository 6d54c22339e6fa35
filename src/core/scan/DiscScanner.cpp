#include "scan/DiscScanner.h"

#include "format/ArchiveWriter.h"
#include "scan/SpecialFile.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace lumidex {

namespace {

// Folders are compared as their walk pattern "name\*.*", files by name; A to Z fold to lower
// case and the bytes compare unsigned. This is the order in which discs have always been listed.
bool lessIgnoringCase(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = x - 'A' + 'a';
        if (y >= 'A' && y <= 'Z')
            y = y - 'A' + 'a';
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

int32_t clampTime(int64_t seconds)
{
    return int32_t(std::clamp<int64_t>(seconds, INT32_MIN, INT32_MAX));
}

std::string joined(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::optional<struct statx> statPath(int dirFd, const char* path)
{
    struct statx st;
    if (statx(dirFd, path, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
        return std::nullopt;
    return st;
}

// Some file systems (overlay layers among them) report a birth time of 0: that is no time.
int32_t creationOf(const struct statx& st)
{
    const bool born = (st.stx_mask & STATX_BTIME) && st.stx_btime.tv_sec != 0;
    return clampTime(born ? st.stx_btime.tv_sec : st.stx_mtime.tv_sec);
}

} // namespace

struct DiscScanner::Entry {
    std::string name;
    std::string sortKey;
    bool folder = false;
    bool symlink = false;
    int64_t size = 0;
    int32_t created = 0;
};

// Appends CFileObjects to the description entry file; without a file, special files are skipped.
class DiscScanner::EntryWriter {
public:
    explicit EntryWriter(const QString& path) : m_file(path)
    {
        if (m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            m_writer = std::make_unique<ArchiveWriter>(m_file);
    }
    bool usable() const { return m_writer != nullptr; }
    bool append(const CFileObject& object)
    {
        try {
            object.Serialize(*m_writer);
            return true;
        } catch (const ArchiveError&) {
            m_writer.reset();
            return false;
        }
    }
    bool finish()
    {
        if (!m_writer)
            return false;
        try {
            m_writer->flush();
        } catch (const ArchiveError&) {
            return false;
        }
        return m_file.flush();
    }

private:
    QFile m_file;
    std::unique_ptr<ArchiveWriter> m_writer;
};

namespace {

// The entries of a folder, "." and ".." left out; an unreadable folder has none.
template <typename Entry>
std::vector<Entry> listFolder(const std::string& folder)
{
    std::vector<Entry> entries;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return entries;
    const int fd = dirfd(dir);
    while (const dirent* d = readdir(dir)) {
        const std::string_view name = d->d_name;
        if (name == "." || name == "..")
            continue;
        Entry e;
        e.name = std::string(name);
        if (const auto st = statPath(fd, d->d_name)) {
            e.symlink = S_ISLNK(st->stx_mode);
            e.folder = S_ISDIR(st->stx_mode);
            e.size = e.folder ? 0 : int64_t(st->stx_size);
            e.created = creationOf(*st);
        } else {
            // Vanished or unreadable since it was listed: keep it as a file without details.
            e.folder = d->d_type == DT_DIR;
        }
        e.sortKey = e.folder ? e.name + "\\*.*" : e.name;
        entries.push_back(std::move(e));
    }
    closedir(dir);
    return entries;
}

// Sum of the sizes of every file below `folder`, whatever the walk's limits.
int64_t totalSize(const std::string& folder, int depthLeft)
{
    if (depthLeft <= 0)
        return 0;
    int64_t total = 0;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return 0;
    const int fd = dirfd(dir);
    std::vector<std::string> subfolders;
    while (const dirent* d = readdir(dir)) {
        const std::string_view name = d->d_name;
        if (name == "." || name == "..")
            continue;
        const auto st = statPath(fd, d->d_name);
        if (!st)
            continue;
        if (S_ISDIR(st->stx_mode))
            subfolders.emplace_back(name);
        else
            total += int64_t(st->stx_size);
    }
    closedir(dir);
    for (const std::string& sub : subfolders)
        total += totalSize(joined(folder, sub), depthLeft - 1);
    return total;
}

// Deeper than any path the system accepts; keeps a looping bind mount from recursing forever.
constexpr int kMaxDepth = PATH_MAX / 2;

} // namespace

int DiscScanner::countFiles(const std::string& folder)
{
    int count = 0;
    std::vector<std::pair<std::string, int>> pending{{folder, 0}};
    while (!pending.empty()) {
        auto [path, depth] = std::move(pending.back());
        pending.pop_back();
        DIR* dir = opendir(path.c_str());
        if (!dir)
            continue;
        const int fd = dirfd(dir);
        while (const dirent* d = readdir(dir)) {
            const std::string_view name = d->d_name;
            if (name == "." || name == "..")
                continue;
            bool isFolder = d->d_type == DT_DIR;
            if (d->d_type == DT_UNKNOWN) {
                const auto st = statPath(fd, d->d_name);
                isFolder = st && S_ISDIR(st->stx_mode);
            }
            if (!isFolder)
                ++count;
            else if (name.front() != '.' && depth < kMaxDepth)
                pending.emplace_back(joined(path, std::string(name)), depth + 1);
        }
        closedir(dir);
    }
    return count;
}

std::optional<int32_t> DiscScanner::creationTime(const std::string& path)
{
    const auto st = statPath(AT_FDCWD, path.c_str());
    if (!st)
        return std::nullopt;
    return creationOf(*st);
}

bool DiscScanner::scan(const std::string& root, Disc& disc, const QString& entryFile)
{
    EntryWriter entries(entryFile);
    m_disc = &disc;
    m_entries = &entries;
    m_depth = -1;
    m_filesRecorded = 0;
    m_state = Progress();
    m_state.total = countFiles(root);

    disc.tree.clear();
    const int64_t bytes = scanFolder(DiscTree::kNone, root);
    const bool complete = !cancelled();
    entries.finish();
    m_disc = nullptr;
    m_entries = nullptr;
    if (!complete)
        return false;

    const std::optional<int64_t> capacity = m_cdCapacity ? m_cdCapacity(root) : std::nullopt;
    disc.size = capacity ? *capacity : bytes;
    disc.created = creationTime(root).value_or(0);
    return true;
}

void DiscScanner::addFileInfo(int32_t node, int64_t size, int32_t created, bool folder)
{
    FileInfoRecord& record = m_disc->records.findOrAppend(m_disc->tree.key(node));
    record.size = size;
    record.created = created;
    record.folder = folder;
    if (!folder)
        ++m_filesRecorded;
}

int64_t DiscScanner::scanFolder(int32_t parent, const std::string& folder)
{
    std::vector<Entry> all = listFolder<Entry>(folder);
    std::vector<Entry> folders, files;
    for (Entry& e : all)
        (e.folder ? folders : files).push_back(std::move(e));
    const auto bySortKey = [](const Entry& a, const Entry& b) { return lessIgnoringCase(a.sortKey, b.sortKey); };
    std::stable_sort(folders.begin(), folders.end(), bySortKey);
    std::stable_sort(files.begin(), files.end(), bySortKey);

    ++m_depth;
    int64_t bytes = 0;
    for (size_t i = 0; i < folders.size(); ++i) {
        const Entry& sub = folders[i];
        const std::string path = joined(folder, sub.name);
        if (cancelled() || m_depth > m_options[ScanOptions::Levels] || m_depth >= kMaxDepth) {
            // Not listed, but the folder's size still counts everything below it.
            if (!cancelled())
                for (size_t k = i; k < folders.size(); ++k)
                    bytes += totalSize(joined(folder, folders[k].name), kMaxDepth - m_depth);
            break;
        }
        const int32_t node = m_disc->tree.append(parent, sub.name, DiscTree::kFolderImage, DiscTree::kFolderImage);
        const int64_t below = scanFolder(node, path);
        bytes += below;
        addFileInfo(node, below, sub.created, true);
    }

    const auto limit = size_t(std::max(0, m_options[ScanOptions::FilesPerFolder]));
    for (size_t i = 0; i < files.size(); ++i) {
        bytes += files[i].size;
        if (i < limit && !cancelled())
            handleFile(parent, folder, files[i]);
    }
    --m_depth;
    return bytes;
}

void DiscScanner::handleFile(int32_t parent, const std::string& folder, const Entry& file)
{
    const std::string path = joined(folder, file.name);
    const int32_t node = m_disc->tree.append(parent, file.name, DiscTree::kFileImage, DiscTree::kFileImage);
    ++m_state.done;
    if (m_progress) {
        m_state.path = path;
        m_progress(m_state);
    }

    // A link is listed, never followed: reading through it could leave the disc.
    const std::optional<std::string> extension = file.symlink ? std::nullopt : specialExtension(file.name);
    if (!extension) {
        addFileInfo(node, file.size, file.created, false);
        return;
    }
    if (!m_entries->usable())
        return; // no entry file: special files get no record at all
    const SpecialFileResult special = ProcessSpecialFile(QFile::decodeName(path.c_str()), m_disc->tree.level(node),
                                                         node, *extension, m_options);
    if (special.recordFileInfo)
        addFileInfo(node, file.size, file.created, false);
    if (special.object)
        m_entries->append(*special.object);
}

} // namespace lumidex
