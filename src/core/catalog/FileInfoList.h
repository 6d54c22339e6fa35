#pragma once

#include "catalog/FileInfoRecord.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace lumidex {

// A disc's FileInfoRecords in stored order, with a lookup by ItemKey beside them.
// The lookup is built on first use and kept up to date by append; it is not thread-safe.
class FileInfoList {
public:
    size_t size() const { return m_records.size(); }
    bool empty() const { return m_records.empty(); }
    const FileInfoRecord& operator[](size_t i) const { return m_records[i]; }
    FileInfoRecord& operator[](size_t i) { return m_records[i]; }
    auto begin() const { return m_records.begin(); }
    auto end() const { return m_records.end(); }

    void reserve(size_t n) { m_records.reserve(n); }
    void clear();
    void append(FileInfoRecord record);

    // The first record with that key, or null.
    const FileInfoRecord* find(ItemKey key) const;
    FileInfoRecord* find(ItemKey key);
    // The record with that key, appended first when there is none (scan order is kept).
    FileInfoRecord& findOrAppend(ItemKey key);

    size_t memoryUsage() const;

private:
    int64_t position(ItemKey key) const;
    void buildLookup() const;
    void addToLookup(size_t position) const;

    std::vector<FileInfoRecord> m_records;
    // Keys are almost always the dense pre-order indexes of the disc tree, so a vector indexed by
    // the key's index serves nearly all of them; any other key goes to the map.
    mutable std::vector<int32_t> m_byIndex;
    mutable std::unordered_map<uint64_t, int32_t> m_sparse;
    mutable bool m_lookupBuilt = false;
};

} // namespace lumidex
