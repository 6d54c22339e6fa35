#include "catalog/FileInfoList.h"

namespace lumidex {

namespace {
uint64_t packed(ItemKey key)
{
    return uint64_t(uint32_t(key.level)) << 32 | uint32_t(key.index);
}
} // namespace

void FileInfoList::clear()
{
    m_records.clear();
    m_byIndex.clear();
    m_sparse.clear();
    m_lookupBuilt = false;
}

void FileInfoList::append(FileInfoRecord record)
{
    m_records.push_back(std::move(record));
    if (m_lookupBuilt)
        addToLookup(m_records.size() - 1);
}

void FileInfoList::addToLookup(size_t position) const
{
    const FileInfoRecord& r = m_records[position];
    // Dense slots stay within a small multiple of the record count, whatever the keys claim.
    const size_t denseLimit = 2 * m_records.size() + 1024;
    if (r.index >= 0 && size_t(r.index) < denseLimit) {
        if (m_byIndex.size() <= size_t(r.index))
            m_byIndex.resize(std::min(denseLimit, std::max(size_t(r.index) + 1, m_byIndex.size() * 2)), -1);
        int32_t& slot = m_byIndex[size_t(r.index)];
        if (slot < 0) {
            slot = int32_t(position);
            return;
        }
        if (m_records[size_t(slot)].level == r.level)
            return; // an earlier record has this key
    }
    m_sparse.emplace(packed(r.key()), int32_t(position)); // keeps the first on a repeat
}

void FileInfoList::buildLookup() const
{
    m_byIndex.clear();
    m_sparse.clear();
    m_lookupBuilt = true;
    for (size_t i = 0; i < m_records.size(); ++i)
        addToLookup(i);
}

int64_t FileInfoList::position(ItemKey key) const
{
    if (!m_lookupBuilt)
        buildLookup();
    // The map first: a key that went there came before any repeat of it in a dense slot.
    if (!m_sparse.empty()) {
        const auto it = m_sparse.find(packed(key));
        if (it != m_sparse.end())
            return it->second;
    }
    if (key.index >= 0 && size_t(key.index) < m_byIndex.size()) {
        const int32_t slot = m_byIndex[size_t(key.index)];
        if (slot >= 0 && m_records[size_t(slot)].level == key.level)
            return slot;
    }
    return -1;
}

const FileInfoRecord* FileInfoList::find(ItemKey key) const
{
    const int64_t at = position(key);
    return at < 0 ? nullptr : &m_records[size_t(at)];
}

FileInfoRecord* FileInfoList::find(ItemKey key)
{
    const int64_t at = position(key);
    return at < 0 ? nullptr : &m_records[size_t(at)];
}

FileInfoRecord& FileInfoList::findOrAppend(ItemKey key)
{
    if (FileInfoRecord* existing = find(key))
        return *existing;
    FileInfoRecord record;
    record.level = key.level;
    record.index = key.index;
    append(std::move(record));
    return m_records.back();
}

size_t FileInfoList::memoryUsage() const
{
    size_t bytes = m_records.capacity() * sizeof(FileInfoRecord) + m_byIndex.capacity() * sizeof(int32_t);
    for (const auto& r : m_records)
        if (r.comment.capacity() > 15)
            bytes += r.comment.capacity() + 1;
    return bytes + m_sparse.size() * 32;
}

} // namespace lumidex
