#include "format/ImageList.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <vector>

using namespace lumidex;
using lumidex::test::fromHex;
using lumidex::test::hex;

namespace {

QByteArray le16(uint16_t v)
{
    const char b[2] = {char(v & 0xFF), char(v >> 8)};
    return QByteArray(b, 2);
}

QByteArray le32(uint32_t v)
{
    return le16(uint16_t(v)) + le16(uint16_t(v >> 16));
}

void put32(QByteArray& bytes, int at, uint32_t v)
{
    bytes.replace(at, 4, le32(v));
}

QByteArray listHeader(uint16_t version, uint16_t inUse, uint16_t slotCount, uint16_t cx, uint16_t cy,
                      uint16_t flags, uint16_t grow = 32, uint32_t background = 0xFFFFFFFF)
{
    QByteArray h = le16(0x4C49) + le16(version) + le16(inUse) + le16(slotCount) + le16(grow) + le16(cx)
        + le16(cy) + le32(background) + le16(flags);
    for (int i = 0; i < 4; ++i)
        h += le16(0xFFFF);
    return h;
}

// A bitmap block; `rowsTopFirst` are the pixel rows from the top, stored bottom-up unless
// `topDown`. `infoExtra` bytes lengthen the info header past 40.
QByteArray bitmapBlock(int32_t width, uint16_t bits, const std::vector<QByteArray>& rowsTopFirst,
                       const QByteArray& table = {}, uint32_t coloursUsed = 0, bool topDown = false,
                       const QByteArray& infoExtra = {})
{
    QByteArray pixels;
    for (size_t i = 0; i < rowsTopFirst.size(); ++i)
        pixels += rowsTopFirst[topDown ? i : rowsTopFirst.size() - 1 - i];
    const int32_t rows = int32_t(rowsTopFirst.size());
    const uint32_t infoSize = 40 + uint32_t(infoExtra.size());
    const uint32_t headerBytes = 14 + infoSize + uint32_t(table.size());
    QByteArray b = le16(0x4D42) + le32(headerBytes) + le16(0) + le16(0) + le32(headerBytes);
    b += le32(infoSize) + le32(uint32_t(width)) + le32(uint32_t(topDown ? -rows : rows)) + le16(1)
        + le16(bits) + le32(0) + le32(uint32_t(pixels.size())) + le32(0) + le32(0) + le32(coloursUsed)
        + le32(0) + infoExtra;
    return b + table + pixels;
}

const QByteArray kMaskTable = fromHex("00000000 FFFFFF00");

ImageList readList(const QByteArray& bytes, int64_t* consumed = nullptr)
{
    ImageList list;
    const int64_t used = test::readBytes(bytes, [&](ArchiveReader& r) { list = ImageList::read(r); });
    if (consumed)
        *consumed = used;
    return list;
}

QByteArray writeList(const ImageList& list)
{
    return test::writeBytes([&](ArchiveWriter& w) { list.write(w); });
}

QImage solid(int w, int h, QRgb c)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(c);
    return img;
}

// An image with varied opaque colours and a transparent diagonal, in the form the list stores.
QImage pattern(int w, int h, int seed)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, x == y ? 0u : qRgb((x * 7 + seed * 31) & 0xFF, (y * 13 + seed) & 0xFF, (x * y + seed * 5) & 0xFF));
    return img;
}

void expectSameImages(const ImageList& a, const ImageList& b)
{
    ASSERT_EQ(a.count(), b.count());
    for (int i = 0; i < a.count(); ++i)
        EXPECT_EQ(a.image(i), b.image(i)) << "image " << i;
}

// Three catalog icons: a 128 x 32 bitmap of four slots, 12944 bytes in all.
ImageList threeIcons()
{
    ImageList list;
    QImage first = solid(32, 32, qRgb(0x10, 0x20, 0x30));
    QImage second = solid(32, 32, qRgb(0xFF, 0, 0));
    second.setPixel(0, 0, qRgba(0xFF, 0, 0, 0));
    QImage third = solid(32, 32, qRgb(0, 0xFF, 0));
    third.setPixel(5, 7, qRgb(0, 0, 0xFF));
    list.append(first);
    list.append(second);
    list.append(third);
    return list;
}

} // namespace

TEST(ImageList, WritesThreeIconsInTheCatalogLayout)
{
    const QByteArray bytes = writeList(threeIcons());
    ASSERT_EQ(bytes.size(), 12944);

    EXPECT_EQ(hex(bytes.mid(0, 28)),
              "49 4C 01 01 03 00 04 00 20 00 20 00 20 00 FF FF FF FF 19 00 FF FF FF FF FF FF FF FF");
    EXPECT_EQ(hex(bytes.mid(28, 14)), "42 4D 36 00 00 00 00 00 00 00 36 00 00 00");
    EXPECT_EQ(hex(bytes.mid(42, 40)),
              "28 00 00 00 80 00 00 00 20 00 00 00 01 00 18 00 00 00 00 00 00 30 00 00 "
              "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(hex(bytes.mid(12370, 14)), "42 4D 3E 00 00 00 00 00 00 00 3E 00 00 00");
    EXPECT_EQ(hex(bytes.mid(12384, 40)),
              "28 00 00 00 80 00 00 00 20 00 00 00 01 00 01 00 00 00 00 00 00 02 00 00 "
              "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(hex(bytes.mid(12424, 8)), "00 00 00 00 FF FF FF 00");

    // Rows are bottom-up, tiles four to a row: pixel (5,7) of image 2 is in stored row 31 - 7,
    // at x = 64 + 5, stored blue, green, red.
    EXPECT_EQ(hex(bytes.mid(82 + 24 * 384 + 69 * 3, 3)), "FF 00 00");
    // Pixel (0,0) of image 1 is transparent: mask bit set (top of the last stored row, x = 32),
    // colour written 0 although it had red in it.
    EXPECT_EQ(uint8_t(bytes[12432 + 31 * 16 + 4]), 0x80);
    EXPECT_EQ(hex(bytes.mid(82 + 31 * 384 + 32 * 3, 3)), "00 00 00");
    EXPECT_EQ(hex(bytes.mid(82 + 31 * 384 + 33 * 3, 3)), "00 00 FF");
    // The rest of image 1's mask row is opaque.
    EXPECT_EQ(uint8_t(bytes[12432 + 31 * 16 + 5]), 0x00);
}

TEST(ImageList, WriteThenReadKeepsPixelsAndMask)
{
    struct Case { int width, height, images; };
    for (const Case c : {Case{32, 32, 5}, Case{16, 24, 6}, Case{32, 32, 0}}) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " with " << c.images);
        ImageList list(c.width, c.height);
        for (int i = 0; i < c.images; ++i)
            ASSERT_TRUE(list.append(pattern(c.width, c.height, i)));
        for (int i = 0; i < c.images; ++i)
            ASSERT_EQ(list.image(i), pattern(c.width, c.height, i));

        const QByteArray bytes = writeList(list);
        int64_t consumed = 0;
        const ImageList back = readList(bytes + "trailing", &consumed);
        EXPECT_EQ(consumed, bytes.size());
        EXPECT_EQ(back.imageWidth(), c.width);
        EXPECT_EQ(back.imageHeight(), c.height);
        expectSameImages(back, list);
        // Read back unchanged, it writes the same bytes again.
        EXPECT_EQ(writeList(back), bytes);
    }
}

TEST(ImageList, EditsScaleThresholdAndKeepOrder)
{
    ImageList list;
    ASSERT_TRUE(list.append(solid(64, 48, qRgb(0x40, 0x80, 0xC0))));
    QImage halfOpaque = solid(32, 32, qRgba(0x11, 0x22, 0x33, 128));
    halfOpaque.setPixel(3, 3, qRgba(0xFF, 0xFF, 0xFF, 127));
    ASSERT_TRUE(list.append(halfOpaque));
    ASSERT_TRUE(list.append(QImage()));

    const QImage scaled = list.image(0);
    EXPECT_EQ(scaled.size(), QSize(32, 32));
    EXPECT_EQ(scaled.format(), QImage::Format_ARGB32);
    EXPECT_EQ(scaled.pixel(10, 10), qRgba(0x40, 0x80, 0xC0, 255));
    EXPECT_EQ(list.image(1).pixel(0, 0), qRgb(0x11, 0x22, 0x33)); // alpha 128: opaque
    EXPECT_EQ(list.image(1).pixel(3, 3), 0u);                     // alpha 127: transparent
    EXPECT_EQ(list.image(2), solid(32, 32, 0)); // a null image is stored blank
    EXPECT_TRUE(list.image(3).isNull());
    EXPECT_TRUE(list.image(-1).isNull());

    ASSERT_TRUE(list.insert(0, solid(32, 32, qRgb(1, 2, 3))));
    ASSERT_TRUE(list.remove(2));
    ASSERT_TRUE(list.replace(2, solid(32, 32, qRgb(4, 5, 6))));
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.image(0).pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(list.image(1).pixel(0, 0), qRgb(0x40, 0x80, 0xC0));
    EXPECT_EQ(list.image(2).pixel(0, 0), qRgb(4, 5, 6));

    const QImage any = solid(32, 32, qRgb(9, 9, 9));
    EXPECT_FALSE(list.insert(4, any));
    EXPECT_FALSE(list.insert(-1, any));
    EXPECT_FALSE(list.replace(3, any));
    EXPECT_FALSE(list.remove(3));
    EXPECT_EQ(list.count(), 3);
}

TEST(ImageList, ListIsFullAtTheLargestCountTheStreamCanHold)
{
    ImageList list(1, 1);
    const QImage dot = solid(1, 1, qRgb(1, 1, 1));
    for (int i = 0; i < ImageList::kMaxCount; ++i)
        ASSERT_TRUE(list.append(dot));
    EXPECT_FALSE(list.append(dot));
    EXPECT_FALSE(list.insert(0, dot));
    EXPECT_EQ(list.count(), ImageList::kMaxCount);

    const ImageList back = readList(writeList(list));
    EXPECT_EQ(back.count(), ImageList::kMaxCount);
}

TEST(ImageList, ReadKeepsNoMoreThanTheLargestCount)
{
    // 65535 images of 1 x 1 in use, one per row of a 1-bit single-column bitmap.
    const std::vector<QByteArray> rows(0xFFFF, QByteArray(4, '\0'));
    const QByteArray stream = listHeader(0x0600, 0xFFFF, 0xFFFF, 1, 1, 0x00) + bitmapBlock(1, 1, rows, kMaskTable);
    const ImageList list = readList(stream);
    EXPECT_EQ(list.count(), ImageList::kMaxCount);
    // In use 65534 and 65535 slots, not a slot count wrapped to 0.
    const QByteArray written = writeList(list);
    EXPECT_EQ(hex(written.mid(4, 4)), "FE FF FF FF");
    EXPECT_EQ(readList(written).count(), ImageList::kMaxCount);
}

TEST(ImageList, UnchangedListReadIsWrittenBackByteForByteUntilChanged)
{
    // Not what this system writes: 8 slots for 2 images, growth 4, a background colour, colour
    // left under the transparent pixel. 1 x 2 images, so the bitmap is 4 x 4.
    const QByteArray colour = bitmapBlock(4, 24, {fromHex("0000FF 00FF00 000000 000000"),
                                                  fromHex("FF0000 FFFFFF 000000 000000"),
                                                  QByteArray(12, '\0'), QByteArray(12, '\0')});
    const QByteArray mask = bitmapBlock(4, 1, {fromHex("40000000"), fromHex("00000000"),
                                               fromHex("00000000"), fromHex("00000000")}, kMaskTable);
    const QByteArray stream = listHeader(0x0101, 2, 8, 1, 2, 0x19, 4, 0x00FF00FF) + colour + mask;

    ImageList list = readList(stream);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.image(0).pixel(0, 0), qRgb(0xFF, 0, 0));
    EXPECT_EQ(list.image(0).pixel(0, 1), qRgb(0, 0, 0xFF));
    EXPECT_EQ(list.image(1).pixel(0, 0), 0u);
    EXPECT_EQ(list.image(1).pixel(0, 1), qRgb(0xFF, 0xFF, 0xFF));

    EXPECT_EQ(hex(writeList(list)), hex(stream));
    const ImageList copy = list;
    EXPECT_EQ(hex(writeList(copy)), hex(stream));

    ASSERT_TRUE(list.replace(0, solid(1, 2, qRgb(1, 2, 3))));
    const QByteArray rewritten = writeList(list);
    // Re-encoded as this system writes a list of two: three slots, growth 32, no background.
    EXPECT_EQ(hex(rewritten.left(20)), "49 4C 01 01 02 00 03 00 20 00 01 00 02 00 FF FF FF FF 19 00");
    const ImageList back = readList(rewritten);
    expectSameImages(back, list);
    EXPECT_EQ(back.image(0).pixel(0, 1), qRgb(1, 2, 3));
}

TEST(ImageList, ReadsEveryColourDepthAndLayoutVariant)
{
    // Four 1 x 2 images side by side in a 4 x 2 bitmap; the mask, where the flags have one, makes
    // image 2's lower pixel transparent. Colours as QRgb: top row then bottom row.
    constexpr QRgb K = 0xFF000000, R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, W = 0xFFFFFFFF,
                   Y = 0xFFFFFF00, C = 0xFF00FFFF, M = 0xFFFF00FF;
    const std::array<QRgb, 8> eight = {R, G, B, W, K, Y, C, M};
    const QByteArray palette8 = fromHex("00000000 0000FF00 00FF0000 FF000000 FFFFFF00 00FFFF00 FFFF0000 FF00FF00");

    struct Case {
        const char* name;
        uint16_t flags;
        uint16_t bitsField;
        QByteArray table;
        uint32_t coloursUsed;
        QByteArray top, bottom;
        std::array<QRgb, 8> expected;
        bool topDown = false;
        QByteArray infoExtra = {};
        bool lowerOfImage2Transparent = true;
    };
    const Case cases[] = {
        {"1-bit, device-dependent flags", 0xFF, 1, kMaskTable, 0, fromHex("A0000000"), fromHex("50000000"),
         {W, K, W, K, K, W, K, W}},
        {"4-bit, full table", 0x05, 4, palette8 + QByteArray(32, '\0'), 0, fromHex("12340000"),
         fromHex("05670000"), eight},
        {"4-bit from colour flags 0 and bit count 0", 0x01, 0, palette8 + QByteArray(32, '\0'), 0,
         fromHex("12340000"), fromHex("05670000"), eight},
        {"8-bit, 8-entry table", 0x09, 8, palette8, 8, fromHex("01020304"), fromHex("00050607"), eight},
        {"8-bit, indexes beyond the table are black", 0x09, 8, palette8.left(8), 2, fromHex("01C80001"),
         fromHex("00FF0100"), {R, K, K, R, K, K, R, K}},
        {"16-bit 5-5-5", 0x11, 16, {}, 0, fromHex("007C E003 1F00 FF7F"), fromHex("0000 E07F FF03 1F7C"), eight},
        {"24-bit", 0x19, 24, {}, 0, fromHex("0000FF 00FF00 FF0000 FFFFFF"),
         fromHex("000000 00FFFF FFFF00 FF00FF"), eight},
        {"24-bit, top-down", 0x19, 24, {}, 0, fromHex("0000FF 00FF00 FF0000 FFFFFF"),
         fromHex("000000 00FFFF FFFF00 FF00FF"), eight, true},
        {"24-bit, 44-byte info header", 0x19, 24, {}, 0, fromHex("0000FF 00FF00 FF0000 FFFFFF"),
         fromHex("000000 00FFFF FFFF00 FF00FF"), eight, false, fromHex("DEADBEEF")},
        {"32-bit, alpha ignored beside a mask", 0x21, 32, {}, 0,
         fromHex("0000FF00 00FF0000 FF000000 FFFFFF00"), fromHex("00000000 00FFFF00 FFFF0000 FF00FF00"), eight},
        {"32-bit without a mask: alpha decides", 0x20, 32, {}, 0,
         fromHex("0000FFFF 00FF00FF FF0000FF FFFFFFFF"), fromHex("000000FF 00FFFF80 FFFF007F FF00FFFF"), eight},
        // Old 32-bit bitmaps leave alpha 0 throughout; that must not make every icon vanish.
        {"32-bit without a mask, alpha all 0: opaque", 0x20, 32, {}, 0,
         fromHex("0000FF00 00FF0000 FF000000 FFFFFF00"), fromHex("00000000 00FFFF00 FFFF0000 FF00FF00"), eight,
         false, {}, false},
    };
    const QByteArray mask = bitmapBlock(4, 1, {fromHex("00000000"), fromHex("20000000")}, kMaskTable);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray stream = listHeader(0x0101, 4, 4, 1, 2, c.flags)
            + bitmapBlock(4, c.bitsField, {c.top, c.bottom}, c.table, c.coloursUsed, c.topDown, c.infoExtra)
            + (c.flags & 0x01 ? mask : QByteArray());
        int64_t consumed = 0;
        const ImageList list = readList(stream + "next", &consumed);
        EXPECT_EQ(consumed, stream.size());
        ASSERT_EQ(list.count(), 4);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(list.image(i).format(), QImage::Format_ARGB32);
            EXPECT_EQ(list.image(i).pixel(0, 0), c.expected[i]) << "top of image " << i;
            const QRgb bottom = i == 2 && c.lowerOfImage2Transparent ? 0u : c.expected[4 + i];
            EXPECT_EQ(list.image(i).pixel(0, 1), bottom) << "bottom of image " << i;
        }
        EXPECT_EQ(hex(writeList(list)), hex(stream));
    }
}

TEST(ImageList, ReadsSingleColumnStreamsAndReencodesThem)
{
    // 2 x 1 images, two in use, five slots, one column: bitmap 2 x 5, image i in row i.
    const auto stream = [](uint16_t version, uint16_t slotCount) {
        return listHeader(version, 2, slotCount, 2, 1, 0x19)
            + bitmapBlock(2, 24, {fromHex("0000FF 00FF00 0000"), fromHex("FF0000 FFFFFF 0000"),
                                  QByteArray(8, '\0'), QByteArray(8, '\0'), QByteArray(8, '\0')})
            + bitmapBlock(2, 1, {fromHex("00000000"), fromHex("40000000"), fromHex("00000000"),
                                 fromHex("00000000"), fromHex("00000000")}, kMaskTable);
    };

    for (uint16_t version : {0x0600, 0x0620}) {
        SCOPED_TRACE(version);
        int64_t consumed = 0;
        const QByteArray bytes = stream(version, 5);
        const ImageList list = readList(bytes + "x", &consumed);
        EXPECT_EQ(consumed, bytes.size());
        ASSERT_EQ(list.count(), 2);
        EXPECT_EQ(list.image(0).pixel(0, 0), qRgb(0xFF, 0, 0));
        EXPECT_EQ(list.image(0).pixel(1, 0), qRgb(0, 0xFF, 0));
        EXPECT_EQ(list.image(1).pixel(0, 0), qRgb(0, 0, 0xFF));
        EXPECT_EQ(list.image(1).pixel(1, 0), 0u);

        // Written in the four-per-row layout, keeping the five slots that were read.
        const QByteArray written = writeList(list);
        EXPECT_EQ(hex(written.left(14)), "49 4C 01 01 02 00 05 00 20 00 02 00 01 00");
        EXPECT_EQ(written.size(), 28 + 54 + 24 * 2 + 62 + 4 * 2);
        expectSameImages(readList(written), list);
    }

    // A header claiming 65535 slots over a bitmap that stores five keeps only those five: the
    // rewrite stays as small as the input rather than growing to gigabytes.
    const QByteArray written = writeList(readList(stream(0x0600, 0xFFFF)));
    EXPECT_EQ(hex(written.mid(6, 2)), "05 00");
}

TEST(ImageList, ImagesInUseAreClampedToWhatTheBitmapHolds)
{
    const QByteArray good = writeList(threeIcons());
    for (uint16_t claimed : {uint16_t(5), uint16_t(0xFFFF)}) {
        QByteArray bytes = good;
        bytes.replace(4, 2, le16(claimed));
        const ImageList list = readList(bytes);
        EXPECT_EQ(list.count(), 4) << claimed; // one row of four tiles
        EXPECT_EQ(list.image(1), threeIcons().image(1));
    }

    // A colour bitmap narrower than a row of tiles holds only the leading tiles of its first row.
    QByteArray narrow = good;
    put32(narrow, 42 + 4, 64);
    put32(narrow, 12384 + 4, 64);
    narrow.remove(82 + 12288 / 2, 12288 / 2);
    EXPECT_EQ(readList(narrow).count(), 2);
}

TEST(ImageList, MalformedStreamsThrow)
{
    const QByteArray good = writeList(threeIcons());
    constexpr int colourInfo = 42, maskInfo = 12384;
    struct Patch { const char* name; int at; QByteArray bytes; };
    const Patch patches[] = {
        {"wrong magic", 0, le16(0x4C4A)},
        {"unknown version", 2, le16(0x0500)},
        {"image width 0", 10, le16(0)},
        {"image height 0", 12, le16(0)},
        {"image width 65535", 10, le16(0xFFFF)},
        {"colour block not BM", 28, le16(0x4D43)},
        {"mask block not BM", 12370, le16(0x0000)},
        {"colour info header of 39 bytes", colourInfo, le32(39)},
        {"mask info header of 12 bytes", maskInfo, le32(12)},
        {"colour info header of 4 GiB", colourInfo, le32(0xFFFFFFFF)},
        {"colour depth 7", colourInfo + 14, le16(7)},
        {"compressed colour bitmap", colourInfo + 16, le32(1)},
        {"24-bit mask", maskInfo + 14, le16(24)},
        {"negative width", colourInfo + 4, le32(uint32_t(-128))},
        {"huge width", colourInfo + 4, le32(0x7FFFFFFF)},
        {"huge height", colourInfo + 8, le32(0x7FFFFFFF)},
        {"most negative height", colourInfo + 8, le32(0x80000000u)},
        {"rows beyond the file", colourInfo + 8, le32(60000 * 1024)},
        {"mask rows beyond the file", maskInfo + 8, le32(1 << 20)},
        // 8-bit with a colour table of 2^32 - 1 entries.
        {"colour table beyond the file", colourInfo + 14,
         le16(8) + le32(0) + le32(0) + le32(0) + le32(0) + le32(0xFFFFFFFF)},
    };
    for (const Patch& p : patches) {
        SCOPED_TRACE(p.name);
        QByteArray bytes = good;
        bytes.replace(p.at, p.bytes.size(), p.bytes);
        EXPECT_THROW(readList(bytes), ArchiveError);
    }

    for (int length : {0, 1, 27, 28, 41, 42, 81, 82, 5000, 12369, 12370, 12383, 12431, 12432, 12943}) {
        SCOPED_TRACE(length);
        EXPECT_THROW(readList(good.left(length)), ArchiveError);
    }
}

TEST(ImageList, FileHeaderSizeAndOffsetAreNotTrusted)
{
    QByteArray bytes = writeList(threeIcons());
    put32(bytes, 28 + 2, 0xFFFFFFFF);
    put32(bytes, 28 + 10, 0);
    put32(bytes, 12370 + 2, 0);
    put32(bytes, 12370 + 10, 0x7FFFFFFF);
    put32(bytes, 42 + 20, 0); // image size 0 is allowed too
    int64_t consumed = 0;
    const ImageList list = readList(bytes, &consumed);
    EXPECT_EQ(consumed, 12944);
    expectSameImages(list, threeIcons());
}
