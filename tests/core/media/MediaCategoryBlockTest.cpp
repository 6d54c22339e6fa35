#include "media/MediaCategoryBlock.h"
#include "media/MediaTypes.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace lumidex {
namespace {

using test::fromHex;
using test::hex;
using test::readBytes;
using test::writeBytes;
using F = MediaField;

constexpr int kCurrent = 1122;

std::vector<MediaColumn> fiveColumns()
{
    return {{0, 250, "Title"}, {0, 0, "Language"}, {0, 0, "Genre"}, {0, 0, "Comments"}, {0, 50, "Status"}};
}

MediaRow typedRow(int code, const std::string& title, int32_t status, const std::string& cover)
{
    MediaRow row{{title, "lang", "genre", "comments", status == 100 ? " " : ""}, CCatOtherItemData(code)};
    row.record.setStatus(status);
    row.record.setCoverEntryName(cover);
    row.record.media()->setValue(F::Title, title);
    row.record.media()->setValue(F::Description, "line 1\r\nline 2");
    return row;
}

// Two tabs in the current layout: typed rows (one lent), an old-format row, a row whose
// record kept an unknown type with a base object, and an empty tab.
MediaCategory sampleCategory()
{
    MediaCategory category{"Films,Books ...", {}};
    MediaTab films{"Films", fiveColumns(), {}};
    films.rows.push_back(typedRow(CFilm::kTypeCode, "Alien", 0, "_0_0.cov"));
    films.rows.push_back(typedRow(CBook::kTypeCode, std::string(300, 'b'), 100, "_0_1.cov"));
    MediaRow old{{"Old", "English", "Drama", "notes", ""}, CCatOtherItemData()};
    old.record.setStatus(0);
    old.record.setCoverEntryName("_0_2.cov");
    films.rows.push_back(std::move(old));
    MediaRow base{{"Base", "", "", "", ""}, CCatOtherItemData()};
    base.record.setStatus(0);
    base.record.setMedia(CMediaObject::create(0));
    films.rows.push_back(std::move(base));
    category.tabs.push_back(std::move(films));
    category.tabs.push_back(MediaTab{"Empty", fiveColumns(), {}});
    return category;
}

QByteArray written(const MediaCategory* category)
{
    return writeBytes([&](ArchiveWriter& out) { writeMediaCategoryBlock(out, category); });
}

// Reads a block that must be consumed exactly.
std::optional<MediaCategory> read(const QByteArray& bytes, int version = kCurrent,
    const std::function<void(const MediaTab&)>& tabRead = {})
{
    std::optional<MediaCategory> category;
    const int64_t used = readBytes(bytes, [&](ArchiveReader& in) {
        category = readMediaCategoryBlock(in, version, tabRead);
    });
    EXPECT_EQ(used, bytes.size());
    return category;
}

void writeColumns(ArchiveWriter& out, const std::vector<MediaColumn>& columns)
{
    for (const auto& c : columns) {
        out.writeInt32(c.format);
        out.writeInt32(c.width);
        out.writeString(c.heading);
    }
    out.writeInt32(-1);
}

TEST(MediaCategoryBlock, EmptyBlockIsNineBytesAndReadsAsNone)
{
    const QByteArray bytes = written(nullptr);
    EXPECT_EQ(hex(bytes), "00 00 00 00 00 00 00 00 00");
    EXPECT_FALSE(read(bytes).has_value());
}

TEST(MediaCategoryBlock, RoundTripIsByteIdentical)
{
    const MediaCategory original = sampleCategory();
    int tabsWritten = 0;
    const QByteArray bytes = writeBytes([&](ArchiveWriter& out) {
        writeMediaCategoryBlock(out, &original, [&] { ++tabsWritten; });
    });
    EXPECT_EQ(tabsWritten, 2);

    std::vector<std::string> tabsRead;
    const auto loaded = read(bytes, kCurrent, [&](const MediaTab& tab) { tabsRead.push_back(tab.caption); });
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(tabsRead, (std::vector<std::string>{"Films", "Empty"}));
    EXPECT_EQ(hex(written(&*loaded)), hex(bytes));

    const MediaTab& films = loaded->tabs[0];
    ASSERT_EQ(films.rows.size(), 4u);
    EXPECT_EQ(films.rows[1].cells[0], std::string(300, 'b'));
    EXPECT_EQ(films.rows[1].record.status(), 100);
    EXPECT_EQ(films.rows[1].record.media()->typeCode(), CBook::kTypeCode);
    EXPECT_EQ(films.rows[0].record.media()->value(F::Description), "line 1\r\nline 2");
    EXPECT_TRUE(films.rows[2].record.isOldFormat());
    EXPECT_EQ(films.rows[2].cells[3], "notes");
    EXPECT_EQ(films.rows[3].record.media()->typeCode(), 0);
}

TEST(MediaCategoryBlock, LoadingResetsEveryStatusButLent)
{
    MediaCategory category = sampleCategory();
    const int32_t statuses[] = {-1, 7, 100, 0};
    for (size_t i = 0; i < 4; ++i)
        category.tabs[0].rows[i].record.setStatus(statuses[i]);
    const auto loaded = read(written(&category));
    ASSERT_TRUE(loaded.has_value());
    const int32_t expected[] = {0, 0, 100, 0};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(loaded->tabs[0].rows[i].record.status(), expected[i]) << i;
}

TEST(MediaCategoryBlock, WriterGivesEachRowOneCellPerColumn)
{
    MediaCategory category{"M", {MediaTab{"T", fiveColumns(), {}}}};
    category.tabs[0].columns[4].format = -5; // would end the column list early
    category.tabs[0].rows.push_back(MediaRow{{"short", "x"}, CCatOtherItemData()});
    category.tabs[0].rows.push_back(MediaRow{{"a", "b", "c", "d", "e", "extra", "more"}, CCatOtherItemData()});
    const auto loaded = read(written(&category));
    ASSERT_TRUE(loaded.has_value());
    const MediaTab& tab = loaded->tabs[0];
    ASSERT_EQ(tab.columns.size(), 5u);
    EXPECT_EQ(tab.columns[4].format, 0);
    EXPECT_EQ(tab.rows[0].cells, (std::vector<std::string>{"short", "x", "", "", ""}));
    EXPECT_EQ(tab.rows[1].cells, (std::vector<std::string>{"a", "b", "c", "d", "e"}));
}

TEST(MediaCategoryBlock, OldFormatRowsCarryOnlyAStatus)
{
    const QByteArray bytes = writeBytes([](ArchiveWriter& out) {
        out.writeInt32(1);
        out.writeString("Media");
        out.writeInt32(2);
        for (int tab = 0; tab < 2; ++tab) {
            out.writeString(tab == 0 ? "First" : "Second");
            writeColumns(out, fiveColumns());
            out.writeInt32(2);
            for (int row = 0; row < 2; ++row) {
                for (const char* cell : {"Title", "Lang", "Genre", "Notes", ""})
                    out.writeString(cell);
                out.writeInt32(row == 0 ? 100 : 3);
            }
        }
    });
    const auto loaded = read(bytes, 0);
    ASSERT_TRUE(loaded.has_value());
    ASSERT_EQ(loaded->tabs.size(), 2u);
    const MediaTab& second = loaded->tabs[1];
    ASSERT_EQ(second.rows.size(), 2u);
    EXPECT_EQ(second.rows[0].record.status(), 100);
    EXPECT_EQ(second.rows[1].record.status(), 0);
    EXPECT_EQ(second.rows[0].record.coverEntryName(), "_1_0.cov");
    EXPECT_EQ(second.rows[1].record.coverEntryName(), "_1_1.cov");
    EXPECT_TRUE(second.rows[1].record.isOldFormat());
    EXPECT_EQ(second.rows[1].cells[3], "Notes");
}

TEST(MediaCategoryBlock, OldTabsGainStatusAndHideDetailColumns)
{
    // A tab of four columns, its rows stored with four cells each.
    const std::vector<MediaColumn> four{{0, 250, "Title"}, {0, 90, "Language"}, {0, 80, "Genre"}, {0, 80, "Comments"}};
    const QByteArray bytes = writeBytes([&](ArchiveWriter& out) {
        out.writeInt32(1);
        out.writeString("Media");
        out.writeInt32(2);
        out.writeString("Rows");
        writeColumns(out, four);
        out.writeInt32(2);
        for (const char* title : {"one", "two"}) {
            for (const char* cell : {title, "Lang", "Genre", "Notes"})
                out.writeString(cell);
            CCatOtherItemData().Serialize(out);
        }
        out.writeString("No rows");
        writeColumns(out, four);
        out.writeInt32(0);
    });
    const auto loaded = read(bytes);
    ASSERT_TRUE(loaded.has_value());

    const MediaTab& rows = loaded->tabs[0];
    ASSERT_EQ(rows.columns.size(), 5u);
    EXPECT_EQ(rows.columns[4].heading, "Status");
    EXPECT_EQ(rows.columns[4].width, 50);
    EXPECT_EQ(rows.columns[4].format, 0);
    const int32_t widths[] = {250, 0, 0, 0, 50};
    for (size_t c = 0; c < 5; ++c)
        EXPECT_EQ(rows.columns[c].width, widths[c]) << c;
    EXPECT_EQ(rows.rows[1].cells, (std::vector<std::string>{"two", "Lang", "Genre", "Notes", ""}));

    // The upgrade comes with a row; a tab without rows keeps its columns, hidden all the same.
    const MediaTab& empty = loaded->tabs[1];
    ASSERT_EQ(empty.columns.size(), 4u);
    EXPECT_EQ(empty.columns[1].width, 0);
    EXPECT_EQ(empty.columns[3].width, 0);
}

TEST(MediaCategoryBlock, ThreeColumnTabGainsCommentsWithTheFirstCommentedRow)
{
    MediaTab tab{"T", {{0, 250, "Title"}, {0, 90, "Language"}, {0, 80, "Genre"}}, {}};
    appendRowWithColumnUpgrade(tab, MediaRow{{"a", "", "", ""}, CCatOtherItemData()});
    EXPECT_EQ(tab.columns.size(), 3u);
    appendRowWithColumnUpgrade(tab, MediaRow{{"b", "", "", "note"}, CCatOtherItemData()});
    ASSERT_EQ(tab.columns.size(), 5u);
    EXPECT_EQ(tab.columns[3].heading, "Comments");
    EXPECT_EQ(tab.columns[3].width, 80);
    EXPECT_EQ(tab.columns[4].heading, "Status");
    EXPECT_EQ(tab.rows[0].cells.size(), 5u);
    EXPECT_EQ(tab.rows[1].cells, (std::vector<std::string>{"b", "", "", "note", ""}));
}

TEST(MediaCategoryBlock, TruncatedBlockThrowsAtEveryCut)
{
    const MediaCategory category = sampleCategory();
    const QByteArray bytes = written(&category);
    for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
        EXPECT_THROW(readBytes(bytes.left(cut),
                         [](ArchiveReader& in) { readMediaCategoryBlock(in, kCurrent); }),
            ArchiveError)
            << "cut at " << cut << " of " << bytes.size();
    }
    const QByteArray empty = written(nullptr);
    for (qsizetype cut = 0; cut < empty.size(); ++cut) {
        EXPECT_THROW(readBytes(empty.left(cut),
                         [](ArchiveReader& in) { readMediaCategoryBlock(in, kCurrent); }),
            ArchiveError)
            << "cut at " << cut;
    }
}

TEST(MediaCategoryBlock, HostileCountsThrowBeforeAllocating)
{
    const auto readAll = [](const QByteArray& bytes, int version) {
        readBytes(bytes, [&](ArchiveReader& in) { readMediaCategoryBlock(in, version); });
    };
    // 0x7FFFFFFF tabs.
    EXPECT_THROW(readAll(fromHex("01000000 01 4D FFFFFF7F 00 FFFFFFFF 00000000"), kCurrent), ArchiveError);
    // 0x7FFFFFFF rows of one column, in both row formats.
    const QByteArray rows = fromHex("01000000 01 4D 01000000 01 54 00000000 FA000000 01 54 FFFFFFFF"
                                    "FFFFFF7F 01 41 00000000");
    EXPECT_THROW(readAll(rows, kCurrent), ArchiveError);
    EXPECT_THROW(readAll(rows, 0), ArchiveError);
    // A cell whose seven-byte length claims 4 GiB.
    EXPECT_THROW(readAll(fromHex("01000000 01 4D 01000000 01 54 00000000 FA000000 01 54 FFFFFFFF"
                                 "01000000 FF FFFF FFFFFFFF 41"),
                     kCurrent),
        ArchiveError);
}

TEST(MediaCategoryBlock, NegativeCountsReadAsNone)
{
    const auto noTabs = read(fromHex("01000000 01 4D FFFFFFFF"));
    ASSERT_TRUE(noTabs.has_value());
    EXPECT_EQ(noTabs->name, "M");
    EXPECT_TRUE(noTabs->tabs.empty());

    const auto noRows = read(fromHex("05000000 01 4D 01000000 01 54 FFFFFFFF FEFFFFFF"));
    ASSERT_TRUE(noRows.has_value());
    EXPECT_TRUE(noRows->tabs.at(0).rows.empty());
}

} // namespace
} // namespace lumidex
