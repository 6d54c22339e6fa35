#include "format/ArchiveWriter.h"

#include <QIODevice>

namespace lumidex {

namespace {
constexpr size_t kBufferSize = 256 * 1024;
}

ArchiveWriter::ArchiveWriter(QIODevice& device)
    : m_device(device), m_buf(kBufferSize), m_flushed(device.pos())
{
}

ArchiveWriter::~ArchiveWriter() = default;

void ArchiveWriter::writeString(std::string_view s)
{
    const uint64_t len = s.size();
    if (len < 0xFF) {
        writeByte(uint8_t(len));
    } else if (len < 0xFFFE) {
        writeByte(0xFF);
        writeUInt16(uint16_t(len));
    } else {
        if (len > 0xFFFFFFFFull)
            throw ArchiveError("string of " + std::to_string(len) + " bytes is too long to store", pos());
        writeByte(0xFF);
        writeUInt16(0xFFFF);
        writeUInt32(uint32_t(len));
    }
    writeBytes(s.data(), s.size());
}

void ArchiveWriter::writeCount(uint32_t n)
{
    if (n < 0xFFFF) {
        writeUInt16(uint16_t(n));
    } else {
        writeUInt16(0xFFFF);
        writeUInt32(n);
    }
}

void ArchiveWriter::writeStringList(const std::vector<std::string>& list)
{
    if (list.size() > 0xFFFFFFFFull)
        throw ArchiveError("list too long to store", pos());
    writeCount(uint32_t(list.size()));
    for (const auto& s : list)
        writeString(s);
}

void ArchiveWriter::flush()
{
    size_t done = 0;
    while (done < m_bufLen) {
        const qint64 n = m_device.write(m_buf.data() + done, qint64(m_bufLen - done));
        if (n <= 0)
            throw ArchiveError("write failed: " + m_device.errorString().toStdString(), m_flushed);
        done += size_t(n);
        m_flushed += n;
    }
    m_bufLen = 0;
}

void ArchiveWriter::writeBytesSlow(const char* src, size_t n)
{
    while (n > 0) {
        if (m_bufLen == m_buf.size())
            flush();
        const size_t take = std::min(n, m_buf.size() - m_bufLen);
        std::memcpy(m_buf.data() + m_bufLen, src, take);
        m_bufLen += take;
        src += take;
        n -= take;
    }
}

} // namespace lumidex
