#pragma once

#include "catalog/CatalogContainer.h"
#include "catalog/DiscTree.h"
#include "scan/Mp3Data.h"

#include <QString>

#include <optional>
#include <unordered_map>
#include <vector>
#include <string>
#include <string_view>

namespace lumidex {

// Finding the stored info record of a disc's file: through the container index to the disc's
// description entry, then the first record whose key matches the item's key (case ignored).
struct FileDetails {
    enum class Status {
        Found,
        NoContainer, // the container or its index cannot be read: nothing to say
        NoIndexKey,  // the index names no entry for the disc: "Entry not exists !"
        NoEntry,     // the entry the index names is missing: nothing to say
        NoRecord,    // "No description for selected file available !"
    };
    enum class Kind { Description, Archive, Mp3 };

    Status status = Status::NoContainer;
    std::string entryName; // the disc's description entry, once the index named it
    CFileObject record;

    // Judged by the last four characters of the record's name, lower-cased.
    static Kind kindOf(std::string_view name);
    // The message a user sees for a status without a record, or an empty string.
    static QString message(Status status);
};

FileDetails findFileDetails(CatalogContainer& container, int category, int disc, ItemKey key);

// The same lookup for a window that asks again and again (every MP3 file selected in a tree):
// the last disc's records stay in memory, with their keys in a table, while the container file
// is unchanged (same path, inode, size and modification time).
class FileDetailsCache {
public:
    FileDetails find(CatalogContainer& container, int category, int disc, ItemKey key);
    void clear();

private:
    struct Stamp {
        QString path;
        qint64 size = -1;
        qint64 modifiedNs = -1;
        quint64 inode = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    static Stamp stampOf(const QString& path);

    Stamp m_stamp;
    int m_category = -1;
    int m_disc = -1;
    FileDetails m_lookup; // where the last disc's entry is (NoRecord with its name), or why not
    std::vector<CFileObject> m_records;
    std::unordered_map<std::string, size_t> m_byKey; // key lower-cased -> first record with it
};

// "Update info" of the MP3 window: the record of `key` in the disc's description entry gets the
// one line built from `fields`; every other record stays as it was, in its place. An error text,
// or empty on success.
QString updateMp3Details(CatalogContainer& container, int category, int disc, ItemKey key, const Mp3Fields& fields);

// The node reached by following names from the top level ("a/b/c"), or DiscTree::kNone.
int32_t findNodeByPath(const DiscTree& tree, std::string_view path);

} // namespace lumidex
