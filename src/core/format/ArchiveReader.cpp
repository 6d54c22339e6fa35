#include "format/ArchiveReader.h"

#include <QIODevice>

#include <algorithm>

namespace lumidex {

namespace {
constexpr size_t kBufferSize = 256 * 1024;
}

ArchiveReader::ArchiveReader(QIODevice& device)
    : m_device(device), m_size(device.size()), m_bufStart(device.pos())
{
    // Small streams (a description entry, an image list) get a buffer of their own size.
    m_buf.resize(size_t(std::clamp<int64_t>(m_size - m_bufStart, 1, int64_t(kBufferSize))));
}

void ArchiveReader::fail(const std::string& what) const
{
    throw ArchiveError(what, pos());
}

void ArchiveReader::requireAvailable(uint64_t count, uint64_t minBytesEach, const char* what) const
{
    const uint64_t left = remaining() > 0 ? uint64_t(remaining()) : 0;
    if (minBytesEach == 0)
        minBytesEach = 1;
    if (count > left / minBytesEach)
        fail(std::string(what) + ": count " + std::to_string(count) + " exceeds what the file holds");
}

bool ArchiveReader::fill()
{
    m_bufStart += int64_t(m_bufPos);
    // Keep the unread tail, then top the buffer up from the device.
    const size_t tail = m_bufLen - m_bufPos;
    if (tail)
        std::memmove(m_buf.data(), m_buf.data() + m_bufPos, tail);
    m_bufPos = 0;
    m_bufLen = tail;
    const qint64 got = m_device.read(m_buf.data() + tail, qint64(m_buf.size() - tail));
    if (got <= 0)
        return false;
    m_bufLen += size_t(got);
    return true;
}

void ArchiveReader::readBytesSlow(char* dst, size_t n)
{
    if (uint64_t(n) > uint64_t(std::max<int64_t>(remaining(), 0)))
        fail("read of " + std::to_string(n) + " bytes past the end of the file");
    while (n > 0) {
        size_t avail = m_bufLen - m_bufPos;
        if (avail == 0) {
            // Large reads go straight to the destination.
            if (n >= m_buf.size()) {
                m_bufStart += int64_t(m_bufPos);
                m_bufPos = m_bufLen = 0;
                const qint64 got = m_device.read(dst, qint64(n));
                if (got <= 0)
                    fail("unexpected end of file");
                m_bufStart += got;
                dst += got;
                n -= size_t(got);
                continue;
            }
            if (!fill())
                fail("unexpected end of file");
            avail = m_bufLen - m_bufPos;
        }
        const size_t take = std::min(avail, n);
        std::memcpy(dst, m_buf.data() + m_bufPos, take);
        m_bufPos += take;
        dst += take;
        n -= take;
    }
}

uint32_t ArchiveReader::readStringLength()
{
    const uint8_t b = readByte();
    if (b < 0xFF)
        return b;
    const uint16_t w = readUInt16();
    if (w < 0xFFFE)
        return w;
    if (w == 0xFFFE)
        fail("unsupported string length form");
    return readUInt32();
}

std::string ArchiveReader::readString()
{
    const uint32_t len = readStringLength();
    requireAvailable(len, 1, "string length");
    std::string s(len, '\0');
    readBytes(s.data(), len);
    return s;
}

uint32_t ArchiveReader::appendString(std::string& out)
{
    const uint32_t len = readStringLength();
    requireAvailable(len, 1, "string length");
    const size_t at = out.size();
    out.resize(at + len);
    readBytes(out.data() + at, len);
    return len;
}

uint32_t ArchiveReader::readCount()
{
    const uint16_t w = readUInt16();
    if (w != 0xFFFF)
        return w;
    return readUInt32();
}

std::vector<std::string> ArchiveReader::readStringList()
{
    const uint32_t n = readCount();
    requireAvailable(n, 1, "string list");
    std::vector<std::string> list;
    list.reserve(n);
    for (uint32_t i = 0; i < n; ++i)
        list.push_back(readString());
    return list;
}

QByteArray ArchiveReader::readRaw(int64_t n)
{
    if (n < 0)
        fail("negative length");
    requireAvailable(uint64_t(n), 1, "byte run");
    QByteArray bytes(qsizetype(n), Qt::Uninitialized);
    readBytes(bytes.data(), size_t(n));
    return bytes;
}

void ArchiveReader::skip(int64_t n)
{
    seek(pos() + n);
}

void ArchiveReader::seek(int64_t target)
{
    if (target < 0 || target > m_size)
        fail("seek to " + std::to_string(target) + " outside the file");
    if (target >= m_bufStart && target <= m_bufStart + int64_t(m_bufLen)) {
        m_bufPos = size_t(target - m_bufStart);
        return;
    }
    if (!m_device.seek(target))
        fail("seek failed");
    m_bufStart = target;
    m_bufPos = m_bufLen = 0;
}

} // namespace lumidex
