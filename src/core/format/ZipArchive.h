#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct zip;

namespace lumidex {

// One open ZIP archive (libzip), edited entirely in memory. Changes are staged until close(),
// where libzip writes a temporary file beside the archive and renames it over the original, so a
// failed close leaves the file as it was. An archive that is neither closed nor discarded is
// discarded by the destructor.
//
// Names are byte strings taken as stored; lookups ignore the case of A to Z only. Entries that
// the caller adds are deflate-compressed.
class ZipArchive {
public:
    enum class Mode {
        ReadOnly,
        Edit,     // an existing archive; a missing file or one that is not a ZIP fails
        Truncate, // a new, empty archive that replaces whatever is at the path, but only on close()
    };

    ZipArchive() = default;
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool open(const QString& path, Mode mode);
    bool isOpen() const { return m_zip != nullptr; }
    QString errorString() const { return m_error; }

    // Index of the live entry of that name, or -1.
    int64_t find(std::string_view name) const;
    bool contains(std::string_view name) const { return find(name) >= 0; }
    // Live entries in archive order (deleted ones are left out).
    std::vector<std::string> names() const;
    int64_t liveEntryCount() const;

    // The entry's uncompressed bytes; nullopt when it is missing, unreadable (bad CRC, broken
    // data) or larger than maxEntrySize.
    std::optional<QByteArray> read(std::string_view name);

    // Adds the bytes under `name`, replacing an entry whose name matches it without regard to
    // case, so that exactly one remains; the entry then carries `name` as given.
    bool put(const std::string& name, const QByteArray& bytes);
    // Deletes the entry if present; false only on a libzip error.
    bool remove(std::string_view name);
    // Renames the entry `from` (which must exist) to `to`; an other entry already called `to`
    // is deleted first, so the renamed data is the only entry of that name.
    bool rename(std::string_view from, const std::string& to);

    // Writes the staged changes. On failure the file on disk is untouched and everything is
    // discarded.
    bool close();
    void discard();

    static constexpr int64_t maxEntrySize = int64_t(1) << 30;

private:
    bool fail(const QString& what);
    QString zipError() const;

    zip* m_zip = nullptr;
    QString m_path;
    QString m_error;
    // Data handed to zip_source_buffer must live until the archive is closed or discarded.
    std::deque<QByteArray> m_buffers;
};

} // namespace lumidex
