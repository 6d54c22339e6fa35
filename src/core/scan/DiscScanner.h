#pragma once

#include "catalog/Disc.h"
#include "scan/ScanOptions.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace lumidex {

// Walks a folder (a CD's mount point or any folder) into a disc: the tree in pre-order with
// folders before files, each level sorted without regard to case; one FileInfoRecord per item;
// the disc's totals; and the description entry file with one CFileObject per description file,
// archive and MP3 file. Runs on whatever thread calls scan(); it touches nothing but its arguments.
class DiscScanner {
public:
    struct Progress {
        int done = 0;      // files handled so far
        int total = 0;     // files counted before the walk (the progress range)
        std::string path;  // the file being handled
    };

    explicit DiscScanner(ScanOptions options) : m_options(options) {}

    // Called for every file handled, on the scanning thread.
    void setProgressHandler(std::function<void(const Progress&)> handler) { m_progress = std::move(handler); }
    // Checked between items; a cancelled scan returns false and its results must be dropped.
    void setCancelFlag(const std::atomic<bool>* cancel) { m_cancel = cancel; }
    // The capacity of the CD volume `root` lies on, or nullopt for any other folder: a CD's size
    // is its volume's capacity, a folder's the sum of its files.
    void setCdCapacityLookup(std::function<std::optional<int64_t>(const std::string& root)> lookup)
    {
        m_cdCapacity = std::move(lookup);
    }

    // Replaces disc.tree, disc.size and disc.created; disc.records keeps the records it has, so
    // that items found again keep their comments. `entryFile` is created (or emptied) and filled.
    bool scan(const std::string& root, Disc& disc, const QString& entryFile);

    int filesRecorded() const { return m_filesRecorded; }

    // Files below `folder` (any depth) not counting the contents of folders named ".*".
    static int countFiles(const std::string& folder);
    // Seconds since 1970 of the path's birth time where the file system keeps it, else its
    // modification time; nullopt when the path cannot be read.
    static std::optional<int32_t> creationTime(const std::string& path);

private:
    struct Entry;
    int64_t scanFolder(int32_t parent, const std::string& folder);
    void addFileInfo(int32_t node, int64_t size, int32_t created, bool folder);
    void handleFile(int32_t parent, const std::string& folder, const Entry& file);
    bool cancelled() const { return m_cancel && m_cancel->load(std::memory_order_relaxed); }

    ScanOptions m_options;
    std::function<void(const Progress&)> m_progress;
    const std::atomic<bool>* m_cancel = nullptr;
    std::function<std::optional<int64_t>(const std::string&)> m_cdCapacity;

    // Per scan
    Disc* m_disc = nullptr;
    class EntryWriter;
    EntryWriter* m_entries = nullptr;
    int m_depth = -1;
    int m_filesRecorded = 0;
    Progress m_state;
};

} // namespace lumidex
