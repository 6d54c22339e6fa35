#include "catalog/CatalogContainer.h"
#include "catalog/CatalogDocument.h"
#include "support/CatalogFixtures.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include "CliProcess.h"

using namespace lumidex;

namespace {

using Result = test::CliRun;

Result cli(const QStringList& args)
{
    return test::runCli(args);
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QJsonArray categories(const QString& sav)
{
    return QJsonDocument::fromJson(cli({"dump", sav}).out).object()["categories"].toArray();
}

QStringList discNames(const QJsonArray& cats, int category)
{
    QStringList names;
    for (const auto& disc : cats[category]["discs"].toArray())
        names << disc.toObject()["name"].toString();
    return names;
}

class CatalogEditCommands : public ::testing::Test {
protected:
    // A catalog of the default categories with discs A, B, C in category 0, each with its
    // description entry, and covers for A and C.
    void SetUp() override
    {
        sav = dir.filePath("Cat.sav");
        zip = dir.filePath("Cat_ext.zip");
        CatalogDocument doc(dir.filePath("dummy.zip"));
        ASSERT_EQ(doc.resetToNew(), QString());
        for (const char* name : {"A", "B", "C"}) {
            Disc& d = doc.catalog().filesCategories[0].discs.emplace_back();
            d.name = name;
            test::fillSmallDisc(d);
            const int j = int(doc.catalog().filesCategories[0].discs.size()) - 1;
            const QString entry = dir.filePath(QStringLiteral("0_%1.obj").arg(j));
            QFile f(entry);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(name);
            f.close();
            CatalogContainer working = doc.container();
            ASSERT_TRUE(working.addDisc(0, j, entry)) << working.errorString().toStdString();
        }
        jpeg = dir.filePath("cover.jpg");
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(jpeg, "JPG"));
        CatalogContainer working = doc.container();
        ASSERT_TRUE(working.storeDiscCover(0, 0, jpeg));
        ASSERT_TRUE(working.storeDiscCover(0, 2, jpeg));
        ASSERT_EQ(doc.save(sav), QString());
    }

    QStringList entries() { return CatalogContainer(zip).entryNames(); }
    std::optional<std::string> index(const char* section, const char* key)
    {
        const auto ini = CatalogContainer(zip).readIndex();
        return ini ? ini->value(section, key) : std::nullopt;
    }

    QTemporaryDir dir;
    QString sav, zip, jpeg;
};

TEST_F(CatalogEditCommands, NewCreatesTheCatalogAndItsContainer)
{
    const QString path = dir.filePath("Fresh.sav");
    ASSERT_EQ(cli({"new", path}).status, 0);
    EXPECT_TRUE(QFile::exists(dir.filePath("Fresh_ext.zip")));
    const QJsonArray cats = categories(path);
    ASSERT_EQ(cats.size(), 3);
    EXPECT_EQ(cats[2]["name"].toString(), "Films,Books ...");
    EXPECT_EQ(CatalogContainer(dir.filePath("Fresh_ext.zip")).entryNames(), QStringList{"data.ini"});
    EXPECT_NE(cli({"new", path}).status, 0); // never overwrites
}

TEST_F(CatalogEditCommands, DeletingADiscRenumbersEntriesAndKeys)
{
    ASSERT_EQ(cli({"disc", "rm", sav, "0", "0"}).status, 0);
    EXPECT_EQ(discNames(categories(sav), 0), (QStringList{"B", "C"}));
    QStringList names = entries();
    names.sort();
    EXPECT_EQ(names, (QStringList{"0_0.obj", "0_1.cov", "0_1.obj", "data.ini"}));
    EXPECT_EQ(CatalogContainer(zip).readEntry("0_0.obj"), QByteArray("B"));
    EXPECT_EQ(index("Category0", "Disk_Count"), "2");
    EXPECT_EQ(index("Category0", "Disk_1"), "0_1.obj");
    EXPECT_FALSE(index("Category0", "Disk_2"));
}

TEST_F(CatalogEditCommands, MovingADiscTakesItsEntriesAlong)
{
    ASSERT_EQ(cli({"disc", "mv", sav, "0", "2", "1"}).status, 0);
    const QJsonArray cats = categories(sav);
    EXPECT_EQ(discNames(cats, 0), (QStringList{"A", "B"}));
    EXPECT_EQ(discNames(cats, 1), (QStringList{"C"}));
    EXPECT_EQ(CatalogContainer(zip).readEntry("1_0.obj"), QByteArray("C"));
    EXPECT_TRUE(entries().contains("1_0.cov"));
    EXPECT_EQ(index("Category1", "Disk_0"), "1_0.obj");
    EXPECT_EQ(index("Category0", "Disk_Count"), "2");
}

TEST_F(CatalogEditCommands, RenameCommentAndCover)
{
    ASSERT_EQ(cli({"disc", "rename", sav, "0", "1", "Beta"}).status, 0);
    ASSERT_EQ(cli({"disc", "comment", sav, "0", "1", "a note"}).status, 0);
    const QJsonObject b = categories(sav)[0].toObject()["discs"].toArray()[1].toObject();
    EXPECT_EQ(b["name"].toString(), "Beta");
    EXPECT_EQ(b["comment"].toString(), "a note");

    ASSERT_EQ(cli({"disc", "cover", sav, "0", "1", jpeg}).status, 0);
    EXPECT_EQ(CatalogContainer(zip).readEntry("0_1.cov"), contents(jpeg));
    ASSERT_EQ(cli({"disc", "cover", sav, "0", "0", "--remove"}).status, 0);
    EXPECT_FALSE(entries().contains("0_0.cov"));

    const QString big = dir.filePath("big.jpg");
    QFile f(big);
    f.open(QIODevice::WriteOnly);
    f.write(contents(jpeg) + QByteArray(250001, '\0'));
    f.close();
    const Result r = cli({"disc", "cover", sav, "0", "1", big});
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(r.err.contains("File seems to be empty or big ( > 250KB )"));
}

TEST_F(CatalogEditCommands, CategoryRules)
{
    const QByteArray before = contents(sav);
    const QByteArray containerBefore = contents(zip);
    for (const QStringList& refused : {QStringList{"category", "add", sav, "MUSIC"},
                                       QStringList{"category", "add", sav, "Books", "--media"},
                                       QStringList{"category", "rm", sav, "0"},
                                       QStringList{"category", "rename", sav, "0", "software"},
                                       QStringList{"disc", "mv", sav, "0", "0", "2"}}) {
        EXPECT_EQ(cli(refused).status, 1) << refused.join(' ').toStdString();
    }
    EXPECT_EQ(contents(sav), before);
    EXPECT_EQ(contents(zip), containerBefore);

    ASSERT_EQ(cli({"category", "add", sav, "Games"}).status, 0);
    QJsonArray cats = categories(sav);
    ASSERT_EQ(cats.size(), 4);
    EXPECT_EQ(cats[2].toObject()["name"].toString(), "Games");
    EXPECT_EQ(cats[3].toObject()["kind"].toString(), "media");
    EXPECT_EQ(index("Category2", "Disk_Count"), "0");

    // Deleting category 0 drops its discs' entries and moves category 1 and 2 down.
    ASSERT_EQ(cli({"disc", "mv", sav, "0", "1", "1"}).status, 0);
    ASSERT_EQ(cli({"category", "rm", sav, "0"}).status, 0);
    cats = categories(sav);
    EXPECT_EQ(cats[0].toObject()["name"].toString(), "Music");
    EXPECT_EQ(discNames(cats, 0), QStringList{"B"});
    QStringList names = entries();
    names.sort();
    EXPECT_EQ(names, (QStringList{"0_0.obj", "data.ini"}));
    EXPECT_EQ(CatalogContainer(zip).readEntry("0_0.obj"), QByteArray("B"));
    EXPECT_EQ(index("Category1", "Disk_Count"), "0");
    EXPECT_FALSE(index("Category2", "Disk_Count"));

    ASSERT_EQ(cli({"category", "rename", sav, "2", "Media"}).status, 0);
    EXPECT_EQ(categories(sav)[2].toObject()["name"].toString(), "Media");
}

TEST_F(CatalogEditCommands, AContainerThatIsNotAZipStopsTheEdit)
{
    QFile f(zip);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write("this is not a zip file");
    f.close();
    const QByteArray before = contents(sav);
    const Result r = cli({"disc", "rm", sav, "0", "0"});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_EQ(contents(sav), before);
    EXPECT_EQ(contents(zip), "this is not a zip file");
}

TEST_F(CatalogEditCommands, UsageErrors)
{
    for (const QStringList& wrong : {QStringList{"disc", "rm", sav, "x", "0"}, QStringList{"disc", "mv", sav, "0", "0"},
                                     QStringList{"disc", "frob", sav, "0", "0"}, QStringList{"category", "rm", sav},
                                     QStringList{"category", "add", sav, "X", "--bogus"}}) {
        EXPECT_EQ(cli(wrong).status, 64) << wrong.join(' ').toStdString();
    }
    EXPECT_EQ(cli({"disc", "rm", dir.filePath("none.sav"), "0", "0"}).status, 2);
}

} // namespace
