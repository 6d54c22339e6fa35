#include "catalog/CategoryEdits.h"
#include "catalog/DefaultCatalog.h"
#include "catalog/DiscEdits.h"
#include "support/CatalogFixtures.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumidex;

namespace {

std::vector<std::string> barNames(const Catalog& c)
{
    std::vector<std::string> names;
    for (int i = 0; i < c.barCount(); ++i)
        names.push_back(c.categoryName(i));
    return names;
}

QImage solid(QRgb colour)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

TEST(CategoryEdits, FilesCategoriesGoInFrontOfTheMediaCategory)
{
    Catalog c = makeDefaultCatalog();
    ASSERT_EQ(barNames(c), (std::vector<std::string>{"Software", "Music", "Films,Books ..."}));

    const CatalogEdit added = insertCategory(c, "Games", CategoryKind::Files, solid(0xFFFF0000));
    ASSERT_TRUE(added.ok());
    EXPECT_TRUE(added.containerChange); // the container registers category 2
    EXPECT_EQ(barNames(c), (std::vector<std::string>{"Software", "Music", "Games", "Films,Books ..."}));
    EXPECT_EQ(c.icons.count(), 4);
    EXPECT_EQ(c.categoryIcon(2).pixel(5, 5), 0xFFFF0000);
    EXPECT_EQ(c.categoryIcon(3).pixel(16, 16), makeDefaultCatalog().categoryIcon(2).pixel(16, 16));

    // Names are unique regardless of case, a second media category is refused, empty names too.
    for (const auto& [name, kind] : std::vector<std::pair<std::string, CategoryKind>>{
             {"GAMES", CategoryKind::Files}, {"music", CategoryKind::Files}, {"", CategoryKind::Files},
             {"Books", CategoryKind::Media}}) {
        EXPECT_FALSE(insertCategory(c, name, kind, solid(0xFF00FF00)).ok()) << name;
    }
    EXPECT_EQ(c.barCount(), 4);

    // Without a media category a new one is appended last.
    Catalog plain = makeDefaultCatalog();
    plain.media.reset();
    plain.icons.remove(2);
    ASSERT_TRUE(insertCategory(plain, "Books", CategoryKind::Media, solid(0xFF0000FF)).ok());
    EXPECT_FALSE(insertCategory(plain, "Tapes", CategoryKind::Files, solid(0xFF0000FF)).containerChange == nullptr);
    EXPECT_EQ(barNames(plain), (std::vector<std::string>{"Software", "Music", "Tapes", "Books"}));
}

TEST(CategoryEdits, DeleteOnlyAboveThreeAndRenameRules)
{
    Catalog c = makeDefaultCatalog();
    EXPECT_FALSE(deleteCategory(c, 0).ok());
    ASSERT_TRUE(insertCategory(c, "Games", CategoryKind::Files, solid(0xFFFF0000)).ok());
    test::fillSmallDisc(c.filesCategories[0].discs.emplace_back());

    const CatalogEdit removed = deleteCategory(c, 0);
    ASSERT_TRUE(removed.ok());
    EXPECT_TRUE(removed.containerChange);
    EXPECT_EQ(barNames(c), (std::vector<std::string>{"Music", "Games", "Films,Books ..."}));
    EXPECT_EQ(c.icons.count(), 3);
    EXPECT_EQ(c.categoryIcon(1).pixel(5, 5), 0xFFFF0000);
    EXPECT_FALSE(deleteCategory(c, 1).ok());

    EXPECT_FALSE(renameCategory(c, 0, "Music").ok()); // its own name counts
    EXPECT_FALSE(renameCategory(c, 0, "GAMES").ok());
    EXPECT_FALSE(renameCategory(c, 7, "Tapes").ok());
    ASSERT_TRUE(renameCategory(c, 2, "Media").ok());
    EXPECT_EQ(c.media->name, "Media");
}

TEST(DiscEdits, MoveDeleteRenameComment)
{
    Catalog c = makeDefaultCatalog();
    for (const char* name : {"A", "B", "C"}) {
        Disc& d = c.filesCategories[0].discs.emplace_back();
        d.name = name;
        test::fillSmallDisc(d);
    }
    c.filesCategories[0].discs[1].comment = "keep me";

    ASSERT_TRUE(moveDisc(c, 0, 1, 1).ok());
    ASSERT_EQ(c.filesCategories[1].discs.size(), 1u);
    EXPECT_EQ(c.filesCategories[1].discs[0].name, "B");
    EXPECT_EQ(c.filesCategories[1].discs[0].comment, "keep me");
    EXPECT_EQ(c.filesCategories[1].discs[0].tree.size(), 4);
    EXPECT_EQ(c.filesCategories[0].discs[1].name, "C");

    EXPECT_FALSE(moveDisc(c, 0, 0, 0).ok());
    EXPECT_FALSE(moveDisc(c, 0, 0, 2).ok()); // the media category holds no discs
    EXPECT_FALSE(moveDisc(c, 0, 5, 1).ok());

    ASSERT_TRUE(deleteDisc(c, 0, 0).ok());
    EXPECT_EQ(c.filesCategories[0].discs[0].name, "C");
    ASSERT_TRUE(renameDisc(c, 0, 0, "Renamed").ok());
    ASSERT_TRUE(setDiscComment(c, 0, 0, "text").ok());
    EXPECT_EQ(c.filesCategories[0].discs[0].name, "Renamed");
    EXPECT_EQ(c.filesCategories[0].discs[0].comment, "text");
    EXPECT_FALSE(renameDisc(c, 1, 3, "x").ok());
}

TEST(DiscEdits, ItemCommentsKeepOneRecordPerKey)
{
    Catalog c = makeDefaultCatalog();
    Disc& d = c.filesCategories[0].discs.emplace_back();
    test::fillSmallDisc(d);
    const size_t before = d.records.size();
    const ItemKey scanned = d.records[1].key();
    const ItemKey unrecorded{7, 99};

    ASSERT_TRUE(setItemComment(c, 0, 0, scanned, "first").ok());
    ASSERT_TRUE(setItemComment(c, 0, 0, scanned, "two\r\nlines").ok());
    ASSERT_TRUE(setItemComment(c, 0, 0, unrecorded, "new").ok());
    ASSERT_TRUE(setItemComment(c, 0, 0, unrecorded, "again").ok());

    ASSERT_EQ(d.records.size(), before + 1);
    EXPECT_EQ(d.records.find(scanned)->comment, "two\r\nlines");
    EXPECT_EQ(d.records[before].key(), unrecorded);
    EXPECT_EQ(d.records[before].comment, "again");
    EXPECT_FALSE(setItemComment(c, 0, 1, scanned, "x").ok());
}

TEST(DiscEdits, CoverFilesAreCheckedBeforeAnythingChanges)
{
    QTemporaryDir dir;
    const auto write = [&](const char* name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    };
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        solid(0xFF336699).save(&buffer, "JPG");
    }
    // Padding after the end-of-image marker keeps it a JPEG of an exact size.
    QByteArray atLimit = jpeg + QByteArray(int(kMaxCoverBytes) - jpeg.size(), '\0');
    QByteArray overLimit = atLimit + '\0';

    EXPECT_TRUE(checkCoverFile(write("ok.jpg", jpeg)).isEmpty());
    EXPECT_TRUE(checkCoverFile(write("limit.jpg", atLimit)).isEmpty());
    const QString rejected = "File seems to be empty or big ( > 250KB )";
    EXPECT_EQ(checkCoverFile(write("over.jpg", overLimit)), rejected);
    EXPECT_EQ(checkCoverFile(write("empty.jpg", {})), rejected);
    EXPECT_EQ(checkCoverFile(write("text.jpg", "not a picture")), rejected);
    EXPECT_EQ(checkCoverFile(dir.filePath("missing.jpg")), rejected);

    Catalog c = makeDefaultCatalog();
    c.filesCategories[0].discs.emplace_back().name = "A";
    EXPECT_FALSE(storeDiscCover(c, 0, 0, dir.filePath("over.jpg")).ok());
    EXPECT_TRUE(storeDiscCover(c, 0, 0, dir.filePath("ok.jpg")).containerChange);
}

} // namespace
