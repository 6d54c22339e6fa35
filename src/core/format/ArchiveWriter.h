#pragma once

#include "format/ArchiveError.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

class QIODevice;

namespace lumidex {

// Writes the archive stream encoding (see ArchiveReader) through a buffer to a device.
// A failed device write throws ArchiveError.
class ArchiveWriter {
public:
    explicit ArchiveWriter(QIODevice& device);
    ~ArchiveWriter(); // does not flush: a writer abandoned by an exception leaves no half-written tail

    ArchiveWriter(const ArchiveWriter&) = delete;
    ArchiveWriter& operator=(const ArchiveWriter&) = delete;

    void writeInt32(int32_t v) { writeUInt32(static_cast<uint32_t>(v)); }
    void writeUInt32(uint32_t v)
    {
        const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        writeBytes(b, 4);
    }
    void writeUInt16(uint16_t v)
    {
        const uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
        writeBytes(b, 2);
    }
    void writeByte(uint8_t v) { writeBytes(&v, 1); }
    void writeInt64(int64_t v)
    {
        writeUInt32(static_cast<uint32_t>(uint64_t(v)));
        writeUInt32(static_cast<uint32_t>(uint64_t(v) >> 32));
    }
    void writeTime(int32_t t) { writeInt32(t); }
    void writeString(std::string_view s);
    void writeCount(uint32_t n);
    void writeStringList(const std::vector<std::string>& list);

    void writeBytes(const void* src, size_t n)
    {
        if (n == 0)
            return; // src may be null (an empty string_view)
        if (m_buf.size() - m_bufLen >= n) {
            std::memcpy(m_buf.data() + m_bufLen, src, n);
            m_bufLen += n;
            return;
        }
        writeBytesSlow(static_cast<const char*>(src), n);
    }

    void flush();
    // Offset from the start of the device of the next byte written.
    int64_t pos() const { return m_flushed + int64_t(m_bufLen); }

private:
    void writeBytesSlow(const char* src, size_t n);

    QIODevice& m_device;
    std::vector<char> m_buf;
    size_t m_bufLen = 0;
    int64_t m_flushed;
};

} // namespace lumidex
