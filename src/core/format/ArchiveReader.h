#pragma once

#include "format/ArchiveError.h"

#include <QByteArray>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class QIODevice;

namespace lumidex {

// Reads the archive stream encoding: little-endian integers, length-prefixed byte strings, counts.
// Buffered over a random-access device whose size is known, so that every count read from the
// stream can be checked against the bytes left before anything is sized by it.
// Any short read throws ArchiveError carrying the offset where it happened.
class ArchiveReader {
public:
    explicit ArchiveReader(QIODevice& device);

    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    int32_t readInt32() { return static_cast<int32_t>(readUInt32()); }
    uint32_t readUInt32()
    {
        uint8_t b[4];
        readBytes(b, 4);
        return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    }
    uint16_t readUInt16()
    {
        uint8_t b[2];
        readBytes(b, 2);
        return uint16_t(b[0] | b[1] << 8);
    }
    uint8_t readByte()
    {
        uint8_t b;
        readBytes(&b, 1);
        return b;
    }
    // 64-bit values are stored low half first.
    int64_t readInt64()
    {
        const uint64_t low = readUInt32();
        const uint64_t high = readUInt32();
        return static_cast<int64_t>(low | high << 32);
    }
    int32_t readTime() { return readInt32(); }

    // A string: 1-, 3- or 7-byte length prefix, then the bytes as stored.
    std::string readString();
    // Appends the string's bytes to `out` and returns its length (used for pooled text).
    uint32_t appendString(std::string& out);
    uint32_t readStringLength();
    uint32_t readCount();
    std::vector<std::string> readStringList();

    void readBytes(void* dst, size_t n)
    {
        if (n == 0)
            return; // dst may be null (an empty string's data)
        if (m_bufLen - m_bufPos >= n) {
            std::memcpy(dst, m_buf.data() + m_bufPos, n);
            m_bufPos += n;
            return;
        }
        readBytesSlow(static_cast<char*>(dst), n);
    }
    QByteArray readRaw(int64_t n);
    void skip(int64_t n);
    void seek(int64_t pos);

    int64_t pos() const { return m_bufStart + int64_t(m_bufPos); }
    int64_t size() const { return m_size; }
    int64_t remaining() const { return m_size - pos(); }

    // Throws unless `count` items of at least `minBytesEach` bytes could still follow.
    void requireAvailable(uint64_t count, uint64_t minBytesEach, const char* what) const;
    [[noreturn]] void fail(const std::string& what) const;

private:
    void readBytesSlow(char* dst, size_t n);
    bool fill();

    QIODevice& m_device;
    int64_t m_size;
    std::vector<char> m_buf;
    int64_t m_bufStart = 0; // device offset of m_buf[0]
    size_t m_bufPos = 0;
    size_t m_bufLen = 0;
};

} // namespace lumidex
