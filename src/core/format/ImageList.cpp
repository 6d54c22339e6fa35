#include "format/ImageList.h"

#include "format/ArchiveReader.h"
#include "format/ArchiveWriter.h"

#include <algorithm>
#include <string>
#include <vector>

namespace lumidex {

namespace {

constexpr uint16_t kMagic = 0x4C49;           // "IL"
constexpr uint16_t kBitmapType = 0x4D42;      // "BM"
constexpr uint16_t kVersionTiled = 0x0101;    // four tiles per row
constexpr uint16_t kVersionColumn = 0x0600;   // one column
constexpr uint16_t kVersionColumn2 = 0x0620;
constexpr int kHeaderSize = 28;
constexpr int kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int kTilesPerRow = 4;
constexpr uint16_t kFlagMask = 0x01;
constexpr uint16_t kColourBits = 0xFE;
constexpr uint16_t kGrowthStep = 32;          // 30 rounded up to a multiple of 4
constexpr uint16_t kWrittenFlags = 0x19;      // 24-bit colour with mask
// A bitmap side beyond these cannot belong to a list of 65535 slots of kMaxImageSide pixels;
// bounding them keeps the row arithmetic far from overflow.
constexpr int64_t kMaxBitmapWidth = int64_t(kTilesPerRow) * ImageList::kMaxImageSide;
constexpr int64_t kMaxBitmapRows = int64_t(0xFFFF) * ImageList::kMaxImageSide;

uint16_t le16(const QByteArray& b, int at)
{
    const auto* p = reinterpret_cast<const uint8_t*>(b.constData()) + at;
    return uint16_t(p[0] | p[1] << 8);
}

uint32_t le32(const QByteArray& b, int at)
{
    const auto* p = reinterpret_cast<const uint8_t*>(b.constData()) + at;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

int64_t strideOf(int64_t width, int bits)
{
    return (width * bits + 31) / 32 * 4;
}

uint8_t expand5(unsigned v)
{
    return uint8_t(v << 3 | v >> 2);
}

// One decoded bitmap block: the pixel rows as stored, addressed from the top.
struct Bitmap {
    int64_t width = 0;
    int64_t rows = 0;
    bool bottomUp = true;
    int bits = 0;
    int64_t stride = 0;
    std::vector<QRgb> palette;
    QByteArray pixels;

    const uint8_t* row(int64_t y) const
    {
        const int64_t stored = bottomUp ? rows - 1 - y : y;
        return reinterpret_cast<const uint8_t*>(pixels.constData()) + stored * stride;
    }

    unsigned index(int64_t x, int64_t y) const
    {
        const uint8_t* r = row(y);
        switch (bits) {
        case 1: return (r[x >> 3] >> (7 - (x & 7))) & 1;
        case 4: return (r[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
        default: return r[x];
        }
    }

    // Opaque colour of a pixel; alpha only for 32-bit pixels.
    QRgb rgba(int64_t x, int64_t y) const
    {
        if (bits <= 8) {
            const unsigned i = index(x, y);
            return i < palette.size() ? palette[i] : qRgb(0, 0, 0);
        }
        const uint8_t* r = row(y);
        switch (bits) {
        case 16: {
            const unsigned v = r[2 * x] | r[2 * x + 1] << 8;
            return qRgb(expand5(v >> 10 & 0x1F), expand5(v >> 5 & 0x1F), expand5(v & 0x1F));
        }
        case 24: return qRgb(r[3 * x + 2], r[3 * x + 1], r[3 * x]);
        default: return qRgba(r[4 * x + 2], r[4 * x + 1], r[4 * x], r[4 * x + 3]);
        }
    }

    bool anyAlpha() const
    {
        if (bits != 32)
            return false;
        for (int64_t y = 0; y < rows; ++y) {
            const uint8_t* r = row(y);
            for (int64_t x = 0; x < width; ++x)
                if (r[4 * x + 3])
                    return true;
        }
        return false;
    }
};

// Reads one bitmap block, appending its bytes to `raw`. The length of the block comes from the
// info header alone (the file header's size and offset are not trusted), and every part is
// checked against the bytes left before it is read.
Bitmap readBitmap(ArchiveReader& reader, QByteArray& raw, int fallbackBits, const std::string& what)
{
    const QByteArray fileHeader = reader.readRaw(kFileHeaderSize);
    raw += fileHeader;
    if (le16(fileHeader, 0) != kBitmapType)
        reader.fail("image list: " + what + " bitmap block type is not BM");

    const QByteArray infoSizeBytes = reader.readRaw(4);
    raw += infoSizeBytes;
    const uint32_t infoSize = le32(infoSizeBytes, 0);
    if (infoSize < kInfoHeaderSize)
        reader.fail("image list: " + what + " bitmap info header of " + std::to_string(infoSize) + " bytes");
    // The rest of the info header; a larger one is skipped past its first 40 bytes.
    const QByteArray info = reader.readRaw(int64_t(infoSize) - 4);
    raw += info;

    Bitmap bm;
    const int32_t width = int32_t(le32(info, 0));
    const int32_t height = int32_t(le32(info, 4));
    bm.bits = le16(info, 10);
    const uint32_t compression = le32(info, 12);
    const uint32_t coloursUsed = le32(info, 28);

    if (bm.bits == 0)
        bm.bits = fallbackBits;
    if (bm.bits != 1 && bm.bits != 4 && bm.bits != 8 && bm.bits != 16 && bm.bits != 24 && bm.bits != 32)
        reader.fail("image list: " + what + " bitmap of unsupported depth " + std::to_string(bm.bits));
    if (compression != 0)
        reader.fail("image list: " + what + " bitmap is compressed");
    bm.width = width;
    bm.rows = height < 0 ? -int64_t(height) : int64_t(height);
    bm.bottomUp = height > 0;
    if (bm.width < 0 || bm.width > kMaxBitmapWidth || bm.rows > kMaxBitmapRows)
        reader.fail("image list: " + what + " bitmap of " + std::to_string(width) + " x "
                    + std::to_string(height) + " pixels");

    if (bm.bits <= 8) {
        const int64_t entries = coloursUsed ? int64_t(coloursUsed) : int64_t(1) << bm.bits;
        const QByteArray table = reader.readRaw(entries * 4);
        raw += table;
        // Entries beyond what the depth can index are skipped.
        const int64_t usable = std::min<int64_t>(entries, int64_t(1) << bm.bits);
        bm.palette.reserve(size_t(usable));
        for (int64_t i = 0; i < usable; ++i) {
            const auto* e = reinterpret_cast<const uint8_t*>(table.constData()) + 4 * i;
            bm.palette.push_back(qRgb(e[2], e[1], e[0]));
        }
    }

    bm.stride = strideOf(bm.width, bm.bits);
    bm.pixels = reader.readRaw(bm.stride * bm.rows);
    raw += bm.pixels;
    return bm;
}

void writeBitmapHeaders(ArchiveWriter& w, int bits, int tableEntries, int32_t width, int32_t rows,
                        uint32_t imageSize)
{
    const uint32_t headerBytes = kFileHeaderSize + kInfoHeaderSize + 4 * uint32_t(tableEntries);
    w.writeUInt16(kBitmapType);
    w.writeUInt32(headerBytes); // not the file size: what the stream has always carried here
    w.writeUInt16(0);
    w.writeUInt16(0);
    w.writeUInt32(headerBytes);

    w.writeUInt32(kInfoHeaderSize);
    w.writeInt32(width);
    w.writeInt32(rows);
    w.writeUInt16(1);
    w.writeUInt16(uint16_t(bits));
    w.writeUInt32(0);
    w.writeUInt32(imageSize);
    for (int i = 0; i < 4; ++i)
        w.writeUInt32(0);
}

} // namespace

ImageList::ImageList(int imageWidth, int imageHeight)
    : m_width(std::clamp(imageWidth, 1, kMaxImageSide)), m_height(std::clamp(imageHeight, 1, kMaxImageSide))
{
}

QImage ImageList::image(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return m_images[index];
}

QImage ImageList::normalized(const QImage& source) const
{
    QImage img;
    if (source.isNull()) {
        img = QImage(m_width, m_height, QImage::Format_ARGB32);
        img.fill(0);
        return img;
    }
    img = source.convertToFormat(QImage::Format_ARGB32);
    if (img.width() != m_width || img.height() != m_height)
        img = img.scaled(m_width, m_height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_ARGB32);
    // Only what the mask can hold survives a write; keep exactly that, so an image reads back equal.
    for (int y = 0; y < m_height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < m_width; ++x)
            line[x] = qAlpha(line[x]) < 128 ? 0 : (line[x] | 0xFF000000u);
    }
    return img;
}

void ImageList::changed()
{
    m_raw.clear();
    m_readSlots = 0;
}

bool ImageList::append(const QImage& image)
{
    return insert(count(), image);
}

bool ImageList::insert(int index, const QImage& image)
{
    if (index < 0 || index > count() || count() >= kMaxCount)
        return false;
    m_images.insert(index, normalized(image));
    changed();
    return true;
}

bool ImageList::replace(int index, const QImage& image)
{
    if (index < 0 || index >= count())
        return false;
    m_images[index] = normalized(image);
    changed();
    return true;
}

bool ImageList::remove(int index)
{
    if (index < 0 || index >= count())
        return false;
    m_images.removeAt(index);
    changed();
    return true;
}

ImageList ImageList::read(ArchiveReader& reader)
{
    QByteArray raw = reader.readRaw(kHeaderSize);
    if (le16(raw, 0) != kMagic)
        reader.fail("image list: wrong magic");
    const uint16_t version = le16(raw, 2);
    if (version != kVersionTiled && version != kVersionColumn && version != kVersionColumn2)
        reader.fail("image list: unsupported version " + std::to_string(version));
    const int inUse = le16(raw, 4);
    const int slotCount = le16(raw, 6);
    const int cx = le16(raw, 10);
    const int cy = le16(raw, 12);
    const uint16_t flags = le16(raw, 18);
    if (cx == 0 || cy == 0 || cx > kMaxImageSide || cy > kMaxImageSide)
        reader.fail("image list: image size " + std::to_string(cx) + " x " + std::to_string(cy));

    // Only a bitmap that states no depth of its own falls back on the list's depth (none: 4-bit).
    int listBits = flags & kColourBits;
    if (listBits == 0)
        listBits = 4;
    else if (listBits == kColourBits)
        listBits = 0; // device-dependent: the bitmap must say

    const Bitmap colour = readBitmap(reader, raw, listBits, "colour");
    const bool hasMask = flags & kFlagMask;
    Bitmap mask;
    if (hasMask) {
        mask = readBitmap(reader, raw, 1, "mask");
        if (mask.bits != 1)
            reader.fail("image list: mask bitmap is not 1-bit");
    }

    // Tiles wholly inside the colour bitmap, counted from the first. A bitmap narrower than a
    // full row of tiles holds only the leading tiles of its first row.
    const int perRow = version == kVersionTiled ? kTilesPerRow : 1;
    const int64_t fullRows = colour.rows / cy;
    int64_t tiles = 0;
    if (colour.width >= int64_t(perRow) * cx)
        tiles = fullRows * perRow;
    else if (fullRows > 0)
        tiles = colour.width / cx;
    // Never more than a list may hold: a stream claiming 65535 in use would otherwise be
    // written back with its 16-bit slot count wrapped to 0.
    const int held = int(std::min<int64_t>({inUse, tiles, kMaxCount}));

    const bool alphaOnly = !hasMask && colour.anyAlpha();
    ImageList list(cx, cy);
    list.m_images.reserve(held);
    for (int i = 0; i < held; ++i) {
        const int64_t x0 = int64_t(i % perRow) * cx;
        const int64_t y0 = int64_t(i / perRow) * cy;
        QImage img(cx, cy, QImage::Format_ARGB32);
        if (img.isNull())
            reader.fail("image list: out of memory for an image");
        for (int y = 0; y < cy; ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            const int64_t by = y0 + y;
            for (int x = 0; x < cx; ++x) {
                const int64_t bx = x0 + x;
                const QRgb c = colour.rgba(bx, by);
                bool transparent;
                if (hasMask)
                    // A mask smaller than the colour bitmap leaves the rest opaque.
                    transparent = bx < mask.width && by < mask.rows && mask.index(bx, by) == 1;
                else
                    transparent = alphaOnly && qAlpha(c) < 128;
                line[x] = transparent ? 0 : (c | 0xFF000000u);
            }
        }
        list.m_images.append(img);
    }

    // Slots beyond what the bitmap stores are not carried over: a header could otherwise make a
    // later write produce a bitmap of gigabytes.
    list.m_readSlots = int(std::min<int64_t>(slotCount, tiles));
    if (version == kVersionTiled)
        list.m_raw = raw;
    return list;
}

void ImageList::write(ArchiveWriter& writer) const
{
    if (!m_raw.isEmpty()) {
        writer.writeBytes(m_raw.constData(), size_t(m_raw.size()));
        return;
    }

    const int n = count();
    const int slotCount = std::max(n + 1, m_readSlots);
    const int32_t width = kTilesPerRow * m_width;
    const int32_t rows = (slotCount + kTilesPerRow - 1) / kTilesPerRow * m_height;
    const int64_t colourStride = strideOf(width, 24);
    const int64_t maskStride = strideOf(width, 1);

    QByteArray colour(qsizetype(colourStride * rows), '\0');
    QByteArray mask(qsizetype(maskStride * rows), '\0');
    auto* cp = reinterpret_cast<uint8_t*>(colour.data());
    auto* mp = reinterpret_cast<uint8_t*>(mask.data());
    for (int i = 0; i < n; ++i) {
        const QImage& img = m_images[i];
        const int x0 = (i % kTilesPerRow) * m_width;
        const int y0 = (i / kTilesPerRow) * m_height;
        for (int y = 0; y < m_height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            const int64_t stored = rows - 1 - (y0 + y); // bottom-up
            uint8_t* crow = cp + stored * colourStride;
            uint8_t* mrow = mp + stored * maskStride;
            for (int x = 0; x < m_width; ++x) {
                const int bx = x0 + x;
                const QRgb c = line[x];
                if (qAlpha(c) == 0) {
                    mrow[bx >> 3] |= uint8_t(0x80 >> (bx & 7));
                    continue; // colour stays 0
                }
                crow[3 * bx] = uint8_t(qBlue(c));
                crow[3 * bx + 1] = uint8_t(qGreen(c));
                crow[3 * bx + 2] = uint8_t(qRed(c));
            }
        }
    }

    writer.writeUInt16(kMagic);
    writer.writeUInt16(kVersionTiled);
    writer.writeUInt16(uint16_t(n));
    writer.writeUInt16(uint16_t(slotCount));
    writer.writeUInt16(kGrowthStep);
    writer.writeUInt16(uint16_t(m_width));
    writer.writeUInt16(uint16_t(m_height));
    writer.writeUInt32(0xFFFFFFFFu); // no background colour
    writer.writeUInt16(kWrittenFlags);
    for (int i = 0; i < 4; ++i)
        writer.writeUInt16(0xFFFF); // no overlay images (-1)

    writeBitmapHeaders(writer, 24, 0, width, rows, uint32_t(colour.size()));
    writer.writeBytes(colour.constData(), size_t(colour.size()));

    writeBitmapHeaders(writer, 1, 2, width, rows, uint32_t(mask.size()));
    const uint8_t table[8] = {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0};
    writer.writeBytes(table, sizeof table);
    writer.writeBytes(mask.constData(), size_t(mask.size()));
}

} // namespace lumidex
