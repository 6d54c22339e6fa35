#include "catalog/CatalogDocument.h"
#include "support/CatalogFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumidex;

namespace {

class CatalogDocumentTest : public ::testing::Test {
protected:
    QString at(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(CatalogDocumentTest, SavingANewCatalogMovesTheWorkingContainerBesideIt)
{
    QDir().mkpath(at("data"));
    CatalogDocument doc(at("data/dummy.zip"));
    ASSERT_EQ(doc.resetToNew(), QString());
    EXPECT_FALSE(doc.hasFile());
    EXPECT_TRUE(QFile::exists(at("data/dummy.zip")));
    EXPECT_EQ(doc.containerPath(), at("data/dummy.zip"));

    ASSERT_EQ(doc.save(at("Films.sav")), QString());
    EXPECT_TRUE(doc.hasFile());
    EXPECT_EQ(doc.title(), "Films");
    EXPECT_EQ(doc.containerPath(), at("Films_ext.zip"));
    EXPECT_TRUE(QFile::exists(at("Films_ext.zip")));
    EXPECT_FALSE(QFile::exists(at("data/dummy.zip")));

    const auto index = doc.container().readIndex();
    ASSERT_TRUE(index);
    EXPECT_EQ(index->value("Category1", "Disk_Count"), "0");

    // Save As elsewhere copies the container; the old pair stays.
    QDir().mkpath(at("other"));
    ASSERT_EQ(doc.save(at("other/Copy.sav")), QString());
    EXPECT_EQ(doc.containerPath(), at("other/Copy_ext.zip"));
    EXPECT_TRUE(QFile::exists(at("other/Copy_ext.zip")));
    EXPECT_TRUE(QFile::exists(at("Films_ext.zip")));
    EXPECT_TRUE(QFile::exists(at("Films.sav")));
}

TEST_F(CatalogDocumentTest, OpeningUsesOrCreatesTheContainerBesideTheStream)
{
    CatalogDocument writer(at("w/dummy.zip"));
    ASSERT_EQ(writer.resetToNew(), QString());
    writer.catalog() = test::makeRichCatalog();
    ASSERT_EQ(writer.save(at("Rich.sav")), QString());
    ASSERT_TRUE(QFile::remove(at("Rich_ext.zip")));

    QDir().mkpath(at("r"));
    QFile(at("r/dummy.zip")).open(QIODevice::WriteOnly);
    CatalogDocument reader(at("r/dummy.zip"));
    ASSERT_EQ(reader.open(at("Rich.sav")), QString());
    EXPECT_EQ(reader.catalog().filesCategories[0].discs.size(), 2u);
    EXPECT_EQ(reader.containerPath(), at("Rich_ext.zip"));
    EXPECT_FALSE(QFile::exists(at("r/dummy.zip")));
    const auto index = reader.container().readIndex();
    ASSERT_TRUE(index) << reader.container().errorString().toStdString();
    EXPECT_EQ(index->value("Category0", "Disk_Count"), "2");
}

TEST_F(CatalogDocumentTest, AFailedOpenChangesNothing)
{
    QFile bad(at("bad.sav"));
    bad.open(QIODevice::WriteOnly);
    bad.write("garbage");
    bad.close();

    CatalogDocument doc(at("dummy.zip"));
    ASSERT_EQ(doc.resetToNew(), QString());
    const QString error = doc.open(at("bad.sav"));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(doc.hasFile());
    EXPECT_EQ(doc.catalog().barCount(), 3);
    EXPECT_TRUE(QFile::exists(at("dummy.zip")));
    EXPECT_FALSE(QFile::exists(at("bad_ext.zip")));
    QFile again(at("bad.sav"));
    again.open(QIODevice::ReadOnly);
    EXPECT_EQ(again.readAll(), "garbage");
}

} // namespace
