#include "media/MediaCategory.h"
#include "media/MediaTypes.h"
#include "media/OldEntryConversion.h"

#include <gtest/gtest.h>

namespace lumidex {
namespace {

using F = MediaField;

MediaRow oldRow(std::vector<std::string> cells)
{
    MediaRow row{std::move(cells), CCatOtherItemData()};
    row.record.setStatus(100);
    row.record.setCoverEntryName("_2_7.cov");
    return row;
}

TEST(MediaOldEntryConversion, BuildsTheItemFromTheCells)
{
    const std::vector<std::string> cells{"X", "English", "Drama", "N", " "};
    MediaRow row = oldRow(cells);
    ASSERT_TRUE(convertOldEntry(row, CFilm::kTypeCode));

    EXPECT_EQ(row.record.typeCode(), CFilm::kTypeCode);
    const CMediaObject* film = row.record.media();
    ASSERT_NE(film, nullptr);
    EXPECT_EQ(film->typeCode(), CFilm::kTypeCode);
    EXPECT_EQ(film->value(F::Title), "X");
    EXPECT_EQ(film->value(F::Language), "");
    EXPECT_EQ(film->value(F::Genre), "");
    EXPECT_EQ(film->value(F::Comments), "Drama\r\nEnglish\r\nN");
    EXPECT_EQ(film->value(F::Director), " "); // the rest keep the class's initial values
    EXPECT_EQ(row.cells, cells);
    EXPECT_EQ(row.record.status(), 100);
    EXPECT_EQ(row.record.coverEntryName(), "_2_7.cov");
}

TEST(MediaOldEntryConversion, EveryTypeAndShortRows)
{
    for (int code = 1; code <= 6; ++code) {
        MediaRow row = oldRow({"X", "L", "G"}); // a tab without the Comments column
        ASSERT_TRUE(convertOldEntry(row, code));
        EXPECT_EQ(row.record.media()->typeCode(), code);
        EXPECT_EQ(row.record.media()->value(F::Comments), "G\r\nL\r\n");
    }
    // A base object loaded for an unknown type code is replaced too.
    MediaRow base = oldRow({"X", "L", "G", "C"});
    base.record.setMedia(CMediaObject::create(0));
    ASSERT_TRUE(convertOldEntry(base, CBook::kTypeCode));
    EXPECT_EQ(base.record.media()->typeCode(), CBook::kTypeCode);
}

TEST(MediaOldEntryConversion, LeavesTypedRowsAndUnknownCodesAlone)
{
    MediaRow typed{{"X", "", "", ""}, CCatOtherItemData(CGame::kTypeCode)};
    const CMediaObject* before = typed.record.media();
    EXPECT_FALSE(convertOldEntry(typed, CFilm::kTypeCode));
    EXPECT_EQ(typed.record.media(), before);
    EXPECT_EQ(typed.record.typeCode(), CGame::kTypeCode);

    for (int code : {0, 7, -1}) {
        MediaRow row = oldRow({"X", "L", "G", "C"});
        EXPECT_FALSE(convertOldEntry(row, code)) << code;
        EXPECT_TRUE(row.record.isOldFormat());
    }
}

} // namespace
} // namespace lumidex
