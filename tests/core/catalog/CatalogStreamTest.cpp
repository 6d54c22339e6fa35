#include "catalog/CatalogStream.h"
#include "media/MediaObject.h"
#include "support/CatalogFixtures.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace lumidex;
using test::catalogBytes;
using test::catalogFromBytes;

namespace {

Catalog defaultCatalog()
{
    Catalog c;
    for (QRgb colour : {0xFF0000u, 0x00FF00u, 0x0000FFu})
        c.icons.append(test::makeIcon(colour));
    c.filesCategories.resize(2);
    c.filesCategories[0].name = "Software";
    c.filesCategories[1].name = "Music";
    c.media.emplace().name = "Films,Books ...";
    return c;
}

QByteArray iconBytes(const ImageList& icons)
{
    return test::writeBytes([&](ArchiveWriter& w) { icons.write(w); });
}

TEST(CatalogStream, NewCatalogLayout)
{
    const Catalog c = defaultCatalog();
    const QByteArray icons = iconBytes(c.icons);
    const QByteArray expected = test::writeBytes([&](ArchiveWriter& w) {
        w.writeInt32(1122);
        w.writeBytes(icons.constData(), size_t(icons.size()));
        w.writeInt32(2);
        w.writeString("Software");
        w.writeString("Music");
        w.writeInt32(2);
        for (int i = 0; i < 2; ++i) {
            w.writeInt32(CatalogMarker::FilesCategory);
            w.writeInt32(0);
        }
        w.writeInt32(CatalogMarker::Debtors);
        w.writeInt32(0);
        const int32_t mediaAt = int32_t(w.pos());
        w.writeInt32(CatalogMarker::MediaCategory);
        w.writeInt32(1);
        w.writeString("Films,Books ...");
        w.writeInt32(0);
        const int32_t commentsAt = int32_t(w.pos());
        w.writeInt32(CatalogMarker::DiscComments);
        for (int i = 0; i < 2; ++i) {
            w.writeInt32(CatalogMarker::Record);
            w.writeInt32(0);
        }
        w.writeInt32(CatalogMarker::FileEntries);
        for (int i = 0; i < 2; ++i) {
            w.writeInt32(CatalogMarker::Record);
            w.writeInt32(0);
        }
        w.writeInt32(55);
        w.writeInt32(0);
        w.writeInt32(mediaAt);
        w.writeInt32(commentsAt);
    });
    const QByteArray written = catalogBytes(c);
    EXPECT_EQ(test::hex(written), test::hex(expected));

    CatalogSectionOffsets offsets;
    Catalog back;
    test::readBytes(written, [&](ArchiveReader& r) { back = readCatalogStream(r, {}, &offsets); });
    EXPECT_EQ(offsets.mediaCategory, 4 + icons.size() + 4 + 9 + 6 + 4 + 16 + 8);
    EXPECT_EQ(back.barCount(), 3);
    EXPECT_EQ(back.categoryName(2), "Films,Books ...");
    EXPECT_EQ(back.icons.count(), 3);
}

TEST(CatalogStream, WithoutMediaCategoryTheBlockIsNineZeroBytes)
{
    Catalog c = defaultCatalog();
    c.media.reset();
    const QByteArray bytes = catalogBytes(c);
    const QByteArray marker = test::writeBytes([](ArchiveWriter& w) { w.writeInt32(CatalogMarker::MediaCategory); });
    const qsizetype at = bytes.indexOf(marker);
    ASSERT_GT(at, 0);
    EXPECT_EQ(test::hex(bytes.mid(at + 4, 9)), "00 00 00 00 00 00 00 00 00");
    const Catalog back = catalogFromBytes(bytes);
    EXPECT_FALSE(back.media);
    EXPECT_EQ(back.barCount(), 2);
    EXPECT_EQ(catalogBytes(back), bytes);
}

TEST(CatalogStream, RichCatalogReadsBackAndWritesTheSameBytes)
{
    const QByteArray bytes = catalogBytes(test::makeRichCatalog());
    const Catalog back = catalogFromBytes(bytes);
    EXPECT_EQ(back.version, 1122);

    ASSERT_EQ(back.filesCategories.size(), 2u);
    const FilesCategory& software = back.filesCategories[0];
    ASSERT_EQ(software.discs.size(), 2u);
    const Disc& cd1 = software.discs[0];
    EXPECT_EQ(cd1.name, "CD1");
    EXPECT_EQ(cd1.comment, "first disc\r\nsecond line");
    EXPECT_EQ(cd1.size, 7340032000LL);
    EXPECT_EQ(cd1.created, 1100000000);
    EXPECT_EQ(cd1.tree.topLevelCount(), 2);
    EXPECT_EQ(cd1.tree.text(3), "B");
    ASSERT_EQ(cd1.records.size(), 4u);
    EXPECT_EQ(cd1.records.find({1, 1})->comment, "Gr\xC3\xBC\xC3\x9F" "e");
    EXPECT_EQ(cd1.records.find({1, 2})->size, 5000000000LL);
    EXPECT_TRUE(cd1.records.find({0, 0})->folder);
    EXPECT_FALSE(cd1.records.find({0, 3})->folder);
    EXPECT_EQ(software.discs[1].name, "Stra\xDF" "e");
    EXPECT_EQ(software.discs[1].records[3].comment, std::string(300, 'c'));
    EXPECT_TRUE(back.filesCategories[1].discs.empty());

    ASSERT_TRUE(back.media);
    ASSERT_EQ(back.media->tabs.size(), 2u);
    const MediaRow& alien = back.media->tabs[0].rows[0];
    EXPECT_EQ(alien.record.status(), 100);
    EXPECT_EQ(alien.record.typeCode(), 1);
    ASSERT_NE(alien.record.media(), nullptr);
    EXPECT_EQ(alien.record.media()->value(MediaField::Director), "Scott");
    EXPECT_TRUE(back.media->tabs[0].rows[1].record.isOldFormat());

    ASSERT_EQ(back.debtors.size(), 2u);
    EXPECT_EQ(back.debtors[0].email, "ann@example.org");
    ASSERT_EQ(back.debtors[0].items.size(), 1u);
    EXPECT_EQ(back.debtors[0].items[0].category, "DVD");
    EXPECT_EQ(back.debtors[0].year, 2026);
    EXPECT_EQ(back.debtors[1].info, "CD1\r\n");

    EXPECT_EQ(catalogBytes(back), bytes);
}

TEST(CatalogStream, ProgressCallbacks)
{
    const Catalog c = test::makeRichCatalog();
    int steps = 0;
    test::writeBytes([&](ArchiveWriter& w) { writeCatalogStream(w, c, [&] { ++steps; }); });
    EXPECT_EQ(steps, catalogWriteSteps(c));
    EXPECT_EQ(steps, 2 + 2);

    std::vector<std::string> seen;
    CatalogReadProgress progress;
    progress.discRead = [&](const FilesCategory& cat, const Disc& disc) { seen.push_back(cat.name + "/" + disc.name); };
    progress.mediaTabRead = [&](const MediaTab& tab) { seen.push_back(tab.caption); };
    test::readBytes(catalogBytes(c), [&](ArchiveReader& r) { readCatalogStream(r, progress); });
    EXPECT_EQ(seen, (std::vector<std::string>{"Software/CD1", "Software/Stra\xDF" "e", "DVD", "Books"}));
}

TEST(CatalogStream, StatusesOtherThanLentBecomeZeroOnLoad)
{
    Catalog c = test::makeRichCatalog();
    c.media->tabs[1].rows[0].record.setStatus(-1);
    c.media->tabs[0].rows[1].record.setStatus(7);
    const Catalog back = catalogFromBytes(catalogBytes(c));
    EXPECT_EQ(back.media->tabs[1].rows[0].record.status(), 0);
    EXPECT_EQ(back.media->tabs[0].rows[1].record.status(), 0);
    EXPECT_EQ(back.media->tabs[0].rows[0].record.status(), 100);
}

TEST(CatalogStream, DiscWithEmptyTreeSurvivesEvenAsFirstDisc)
{
    Catalog c = defaultCatalog();
    Disc& empty = c.filesCategories[0].discs.emplace_back();
    empty.name = "Empty";
    empty.comment = "nothing on it";
    Disc& second = c.filesCategories[0].discs.emplace_back();
    second.name = "Full";
    test::fillSmallDisc(second);
    c.filesCategories[1].discs.emplace_back().name = ""; // empty tree and empty name, last category

    const QByteArray bytes = catalogBytes(c);
    const Catalog back = catalogFromBytes(bytes);
    ASSERT_EQ(back.filesCategories[0].discs.size(), 2u);
    EXPECT_EQ(back.filesCategories[0].discs[0].name, "Empty");
    EXPECT_EQ(back.filesCategories[0].discs[0].comment, "nothing on it");
    EXPECT_EQ(back.filesCategories[0].discs[1].tree.size(), 4);
    ASSERT_EQ(back.filesCategories[1].discs.size(), 1u);
    EXPECT_TRUE(back.media);
    EXPECT_EQ(catalogBytes(back), bytes);
}

TEST(CatalogStream, SeveralTopLevelNodesAndLargeTrees)
{
    Catalog c = defaultCatalog();
    Disc& disc = c.filesCategories[0].discs.emplace_back();
    disc.name = "Big";
    DiscTree& t = disc.tree;
    for (int top = 0; top < 3; ++top) {
        const int32_t folder = t.append(DiscTree::kNone, "dir" + std::to_string(top), 1, 1);
        for (int i = 0; i < 10000; ++i) {
            const int32_t node = t.append(folder, "file" + std::to_string(i), 3, 3);
            FileInfoRecord r;
            r.level = 1;
            r.index = node;
            r.size = int64_t(node) << 20;
            disc.records.append(r);
        }
    }
    const QByteArray bytes = catalogBytes(c);
    const QByteArray topLevelCount = test::writeBytes([](ArchiveWriter& w) {
        w.writeInt32(3);
        w.writeString("Big");
    });
    EXPECT_GE(bytes.indexOf(topLevelCount), 0);
    const Catalog back = catalogFromBytes(bytes);
    const Disc& big = back.filesCategories[0].discs[0];
    EXPECT_EQ(big.tree.topLevelCount(), 3);
    EXPECT_EQ(big.tree.size(), 30003);
    EXPECT_EQ(big.tree.text(20001), "file9999");
    EXPECT_EQ(big.tree.text(20002), "dir2");
    EXPECT_EQ(big.records.find({1, 30002})->size, int64_t(30002) << 20);
    EXPECT_EQ(catalogBytes(back), bytes);
}

TEST(CatalogStream, ManyDiscs)
{
    Catalog c = defaultCatalog();
    for (int i = 0; i < 300; ++i) {
        Disc& d = c.filesCategories[i % 2].discs.emplace_back();
        d.name = "CD" + std::to_string(i);
        d.comment = std::to_string(i);
        test::fillSmallDisc(d);
    }
    const QByteArray bytes = catalogBytes(c);
    const Catalog back = catalogFromBytes(bytes);
    ASSERT_EQ(back.filesCategories[1].discs.size(), 150u);
    EXPECT_EQ(back.filesCategories[1].discs[149].comment, "299");
    EXPECT_EQ(catalogBytes(back), bytes);
}

TEST(CatalogStream, CutShortAnywhereIsAReadError)
{
    const QByteArray bytes = catalogBytes(test::makeRichCatalog());
    const qsizetype iconsEnd = 4 + iconBytes(test::makeRichCatalog().icons).size();
    // Every cut after the icons, a sample inside them.
    for (qsizetype cut = 0; cut < bytes.size(); cut += cut < iconsEnd ? 97 : 1) {
        SCOPED_TRACE(cut);
        EXPECT_THROW(catalogFromBytes(bytes.left(cut)), ArchiveError);
    }
}

TEST(CatalogStream, HostileCountsFailWithoutHugeAllocations)
{
    // Replace one int32 of a valid stream by a huge or negative count.
    const Catalog c = test::makeRichCatalog();
    const QByteArray bytes = catalogBytes(c);
    const qsizetype afterIcons = 4 + iconBytes(c.icons).size();
    const auto patched = [&](qsizetype at, int32_t value) {
        QByteArray copy = bytes;
        for (int i = 0; i < 4; ++i)
            copy[at + i] = char(uint32_t(value) >> (8 * i));
        return copy;
    };
    const auto find = [&](const QByteArray& needle) { return bytes.indexOf(needle); };
    const auto int32Bytes = [](int32_t v) { return test::writeBytes([&](ArchiveWriter& w) { w.writeInt32(v); }); };

    const qsizetype debtorCount = find(int32Bytes(CatalogMarker::Debtors)) + 4;
    const qsizetype recordCount = find(int32Bytes(CatalogMarker::FileEntries)) + 12; // after -11 and n
    const qsizetype topLevel = find(test::writeBytes([](ArchiveWriter& w) {
        w.writeInt32(2);
        w.writeString("CD1");
    }));
    for (const auto& [at, value] : std::vector<std::pair<qsizetype, int32_t>>{
             {afterIcons, 0x7FFFFFFF},   // category names
             {afterIcons, -1},
             {debtorCount, 0x7FFFFFFF},
             {recordCount, 0x7FFFFFFF},
             {recordCount, -3},
             {topLevel, 0x7FFFFFFF},
             {topLevel, -2}}) {
        SCOPED_TRACE(testing::Message() << "offset " << at << " value " << value);
        EXPECT_THROW(catalogFromBytes(patched(at, value)), ArchiveError);
    }
}

TEST(CatalogStream, ForeignValueWhereACategoryStartsEndsTheCategories)
{
    Catalog c = defaultCatalog();
    QByteArray bytes = catalogBytes(c);
    // Turn the first category's marker into something else: no category is created, and the
    // reader goes on with the debtors.
    const QByteArray marker = test::writeBytes([](ArchiveWriter& w) { w.writeInt32(CatalogMarker::FilesCategory); });
    const QByteArray foreign = test::writeBytes([](ArchiveWriter& w) {
        w.writeInt32(12345);
        w.writeInt32(0); // taken as the debtor count
        w.writeInt32(CatalogMarker::MediaCategory);
        w.writeInt32(0);
        w.writeString("");
        w.writeInt32(0);
        w.writeInt32(0); // no comments marker: section absent
        w.writeInt32(0); // no file entries marker: section absent
        w.writeInt32(10);
        w.writeInt32(20);
    });
    bytes = bytes.left(bytes.indexOf(marker)) + foreign;
    CatalogSectionOffsets offsets;
    Catalog back;
    test::readBytes(bytes, [&](ArchiveReader& r) { back = readCatalogStream(r, {}, &offsets); });
    EXPECT_TRUE(back.filesCategories.empty());
    EXPECT_FALSE(back.media);
    EXPECT_EQ(offsets.mediaCategory, 10);
    EXPECT_EQ(offsets.discComments, 20);
}

TEST(CatalogStream, ForeignBytesAreRejected)
{
    for (const QByteArray& junk : {QByteArray(), QByteArray("PK\x03\x04 not a catalog at all"), QByteArray(5000, '\xFF'),
                                   QByteArray(5000, '\0')}) {
        EXPECT_THROW(catalogFromBytes(junk), ArchiveError);
    }
}

} // namespace
