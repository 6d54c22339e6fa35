#include "scan/ArjReader.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>

namespace lumidex {

namespace {

constexpr uint8_t HeaderIdLow = 0x60;
constexpr uint8_t HeaderIdHigh = 0xEA;
constexpr int MaxBasicHeaderSize = 2600;
// first_hdr_size counts the fixed fields up to and including the chapter bytes (30) plus any
// extra data; the name starts right after it.
constexpr int MinFirstHeaderSize = 30;
constexpr uint8_t MainHeaderType = 2;

const std::array<uint32_t, 256>& crcTable()
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t {};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    return table;
}

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

// Reads at absolute offsets; every read is bounded by the file and by the caller's count.
class Reader {
public:
    explicit Reader(QFile& file) : m_file(file), m_size(file.size()) {}

    int64_t size() const { return m_size; }

    bool readAt(int64_t offset, void* out, int64_t count)
    {
        if (offset < 0 || count < 0 || offset > m_size || count > m_size - offset)
            return false;
        if (!m_file.seek(offset))
            return false;
        return m_file.read(static_cast<char*>(out), count) == count;
    }

private:
    QFile& m_file;
    int64_t m_size;
};

struct BasicHeader {
    std::vector<uint8_t> bytes; // the basic header, first_hdr_size through the comment
    int64_t end = 0;            // offset just past the extended headers
};

// The header at `offset`: id, size, basic header, its CRC and the extended headers behind it.
// nullopt for the end-of-archive marker (size 0) as well as for anything invalid.
std::optional<BasicHeader> readHeader(Reader& in, int64_t offset)
{
    uint8_t head[4];
    if (!in.readAt(offset, head, 4) || head[0] != HeaderIdLow || head[1] != HeaderIdHigh)
        return std::nullopt;
    const int size = le16(head + 2);
    if (size > MaxBasicHeaderSize || size < MinFirstHeaderSize)
        return std::nullopt;

    BasicHeader h;
    h.bytes.resize(size_t(size));
    uint8_t crc[4];
    if (!in.readAt(offset + 4, h.bytes.data(), size) || !in.readAt(offset + 4 + size, crc, 4))
        return std::nullopt;
    if (arjCrc32(h.bytes.data(), h.bytes.size()) != le32(crc))
        return std::nullopt;
    const int firstSize = h.bytes[0];
    if (firstSize < MinFirstHeaderSize || firstSize > size)
        return std::nullopt;

    // Extended headers: a size, that many bytes and their CRC, until a size of 0. Each one moves
    // the offset forward, so the walk ends at the end of the file at the latest.
    int64_t pos = offset + 4 + size + 4;
    for (;;) {
        uint8_t extSize[2];
        if (!in.readAt(pos, extSize, 2))
            return std::nullopt;
        pos += 2;
        const int n = le16(extSize);
        if (n == 0)
            break;
        pos += n + 4;
        if (pos > in.size())
            return std::nullopt;
    }
    h.end = pos;
    return h;
}

std::string nameOf(const BasicHeader& h)
{
    const size_t start = h.bytes[0];
    const auto* first = reinterpret_cast<const char*>(h.bytes.data()) + start;
    const size_t available = h.bytes.size() - start;
    return std::string(first, strnlen(first, available));
}

// The offset of the first valid main header, looked for the way self-extracting archives need:
// every 0x60 0xEA within the search limit is tried until one carries a header that passes its CRC.
std::optional<BasicHeader> findMainHeader(Reader& in)
{
    const int64_t window = std::min<int64_t>(in.size(), ArjMainHeaderSearchLimit);
    std::vector<uint8_t> bytes(static_cast<size_t>(window));
    if (window > 0 && !in.readAt(0, bytes.data(), window))
        return std::nullopt;
    for (int64_t i = 0; i + 1 < window; ++i) {
        if (bytes[size_t(i)] != HeaderIdLow || bytes[size_t(i) + 1] != HeaderIdHigh)
            continue;
        auto h = readHeader(in, i);
        if (h && h->bytes[6] == MainHeaderType)
            return h;
    }
    return std::nullopt;
}

} // namespace

uint32_t arjCrc32(const void* data, size_t size)
{
    const auto& table = crcTable();
    const auto* p = static_cast<const uint8_t*>(data);
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::optional<std::vector<ArjMember>> readArjMembers(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    Reader in(file);

    const auto main = findMainHeader(in);
    if (!main)
        return std::nullopt;

    std::vector<ArjMember> members;
    int64_t pos = main->end;
    for (;;) {
        const auto h = readHeader(in, pos);
        if (!h)
            break;
        const uint8_t* b = h->bytes.data();
        ArjMember m;
        m.fileType = b[6];
        m.originalSize = le32(b + 16);
        m.path = nameOf(*h);
        members.push_back(std::move(m));

        const int64_t compressed = le32(b + 12);
        pos = h->end + compressed;
        if (pos > in.size())
            break;
    }
    return members;
}

} // namespace lumidex
