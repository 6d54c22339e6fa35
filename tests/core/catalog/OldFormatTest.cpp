#include "catalog/CatalogStream.h"
#include "format/ArchiveError.h"
#include "support/CatalogFixtures.h"
#include "support/OldFormatCatalog.h"

#include <gtest/gtest.h>

using namespace lumidex;

TEST(OldFormatCatalog, ReadsWithTheOldRulesAndUpgradesOnWrite)
{
    const Catalog c = test::catalogFromBytes(test::oldFormatCatalog());
    EXPECT_EQ(c.version, 0);
    ASSERT_EQ(c.filesCategories.size(), 2u);
    ASSERT_EQ(c.filesCategories[0].discs.size(), 1u);
    const Disc& disc = c.filesCategories[0].discs[0];
    EXPECT_EQ(disc.comment, "old comment");
    EXPECT_EQ(disc.tree.topLevelCount(), 3);
    EXPECT_EQ(disc.size, 0);
    EXPECT_EQ(disc.created, 0);
    ASSERT_EQ(disc.records.size(), 6u);
    // Folder flags come from the tree: only a node drawn as a file both ways is a file.
    const bool expectedFolder[] = {true, false, false, true, false, true};
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(disc.records[i].folder, expectedFolder[i]);
        EXPECT_EQ(disc.records[i].size, 0);
        EXPECT_EQ(disc.records[i].created, 0);
    }
    EXPECT_EQ(disc.records[1].comment, "first file");

    ASSERT_TRUE(c.media);
    const MediaTab& tab = c.media->tabs.at(0);
    ASSERT_EQ(tab.rows.size(), 2u);
    EXPECT_EQ(tab.rows[0].record.status(), 100);
    EXPECT_EQ(tab.rows[1].record.status(), 0);
    for (size_t row = 0; row < 2; ++row) {
        EXPECT_TRUE(tab.rows[row].record.isOldFormat());
        EXPECT_EQ(tab.rows[row].record.coverEntryName(), "_0_" + std::to_string(row) + ".cov");
    }
    ASSERT_EQ(tab.columns.size(), 5u); // "Status" added to the four old columns
    EXPECT_EQ(tab.columns[4].heading, "Status");
    EXPECT_EQ(tab.columns[1].width, 0);
    EXPECT_EQ(tab.rows[0].cells.at(3), "classic");

    ASSERT_EQ(c.debtors.size(), 1u);
    EXPECT_EQ(c.debtors[0].info, "OldCD\r\n");
    EXPECT_EQ(c.debtors[0].email, "");

    // Written again it is a current-format catalog with the same content.
    const QByteArray upgraded = test::catalogBytes(c);
    const Catalog again = test::catalogFromBytes(upgraded);
    EXPECT_EQ(again.version, 1122);
    EXPECT_EQ(again.filesCategories[0].discs[0].records[3].folder, true);
    EXPECT_EQ(again.media->tabs[0].rows[0].record.status(), 100);
    EXPECT_EQ(again.debtors[0].name, "Ann");
    EXPECT_EQ(test::catalogBytes(again), upgraded);
}

TEST(OldFormatCatalog, CutShortIsAReadError)
{
    const QByteArray bytes = test::oldFormatCatalog();
    for (qsizetype cut = bytes.size() - 200; cut < bytes.size(); ++cut)
        EXPECT_THROW(test::catalogFromBytes(bytes.left(cut)), ArchiveError) << cut;
}
