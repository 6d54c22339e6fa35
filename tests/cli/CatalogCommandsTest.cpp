#include "catalog/CatalogFile.h"
#include "support/CatalogFixtures.h"
#include "support/OldFormatCatalog.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include "CliProcess.h"

using namespace lumidex;

namespace {

using test::CliRun;

CliRun cli(const QStringList& args)
{
    return test::runCli(args);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class CatalogCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        rich = dir.filePath("rich.sav");
        ASSERT_TRUE(saveCatalogFile(rich, test::makeRichCatalog()).isEmpty());
    }
    QTemporaryDir dir;
    QString rich;
};

TEST_F(CatalogCommands, DumpPrintsTheCatalogAsJson)
{
    const CliRun r = cli({"dump", rich});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(r.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.left(200).toStdString();

    EXPECT_EQ(root["version"].toInt(), 1122);
    EXPECT_EQ(root["icons"].toInt(), 3);
    const QJsonArray categories = root["categories"].toArray();
    ASSERT_EQ(categories.size(), 3);
    EXPECT_EQ(categories[0]["name"].toString(), "Software");
    EXPECT_EQ(categories[0]["kind"].toString(), "files");
    EXPECT_EQ(categories[2]["kind"].toString(), "media");

    const QJsonObject cd1 = categories[0]["discs"][0].toObject();
    EXPECT_EQ(cd1["size"].toInteger(), 7340032000LL);
    EXPECT_EQ(cd1["created"].toInt(), 1100000000);
    EXPECT_EQ(cd1["comment"].toString(), "first disc\r\nsecond line");
    const QJsonObject a = cd1["tree"][0].toObject();
    EXPECT_EQ(a, (QJsonObject{{"level", 0}, {"text", "A"}, {"image", 1}, {"selectedImage", 1}, {"children", 2}}));
    EXPECT_EQ(cd1["tree"][3]["text"].toString(), "B");
    const QJsonObject a1 = cd1["records"][1].toObject();
    EXPECT_EQ(a1["comment"].toString(), QString::fromUtf8("Grüße"));
    EXPECT_EQ(a1["folder"].toBool(), false);
    EXPECT_EQ(cd1["records"][2]["size"].toInteger(), 5000000000LL);
    // Bytes that are not UTF-8 are shown in the legacy code page.
    EXPECT_EQ(categories[0]["discs"][1]["name"].toString(), QString::fromUtf8("Straße"));

    const QJsonObject dvd = categories[2]["tabs"][0].toObject();
    EXPECT_EQ(dvd["caption"].toString(), "DVD");
    EXPECT_EQ(dvd["columns"][0].toObject(), (QJsonObject{{"format", 0}, {"width", 250}, {"heading", "Title"}}));
    const QJsonObject alien = dvd["rows"][0].toObject();
    EXPECT_EQ(alien["status"].toInt(), 100);
    EXPECT_EQ(alien["type"].toInt(), 1);
    EXPECT_EQ(alien["cover"].toString(), "_0_0.cov");
    const QJsonObject film = alien["object"].toObject();
    EXPECT_EQ(film.keys().size(), 11);
    EXPECT_EQ(film["Title"].toString(), "Alien");
    EXPECT_EQ(film["Director"].toString(), "Scott");
    EXPECT_EQ(film["Original title"].toString(), " ");
    EXPECT_TRUE(dvd["rows"][1]["object"].isNull());
    EXPECT_TRUE(categories[2]["tabs"][1]["rows"][0]["object"].toObject().contains("ISBN"));

    const QJsonArray debtors = root["debtors"].toArray();
    ASSERT_EQ(debtors.size(), 2);
    EXPECT_EQ(debtors[0]["items"][0].toObject(), (QJsonObject{{"title", "Alien"}, {"category", "DVD"}}));
    EXPECT_EQ(debtors[0]["returnDateSet"].toInt(), 1);
    EXPECT_EQ(debtors[0]["added"].toString(), "12/01/26");
    EXPECT_EQ(debtors[1]["lastChanged"].toString(), "");
}

TEST_F(CatalogCommands, ResaveKeepsCurrentCatalogsByteForByteAndUpgradesOldOnes)
{
    const QString out = dir.filePath("out.sav");
    CliRun r = cli({"resave", rich, out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(readAll(out), readAll(rich));

    const QString old = dir.filePath("old.sav");
    writeAll(old, test::oldFormatCatalog());
    r = cli({"resave", old, out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QByteArray upgraded = readAll(out);
    EXPECT_EQ(upgraded.left(4), QByteArray("\x62\x04\x00\x00", 4));
    EXPECT_NE(upgraded, test::oldFormatCatalog());
    const QJsonObject before = QJsonDocument::fromJson(cli({"dump", old}).out).object();
    const QJsonObject after = QJsonDocument::fromJson(cli({"dump", out}).out).object();
    EXPECT_EQ(before["version"].toInt(), 0);
    EXPECT_EQ(after["version"].toInt(), 1122);
    EXPECT_EQ(before["categories"], after["categories"]);
    EXPECT_EQ(before["debtors"], after["debtors"]);
}

TEST_F(CatalogCommands, UnreadableCatalogsAreReportedAndNothingIsWritten)
{
    const QByteArray good = readAll(rich);
    const QString cut = dir.filePath("cut.sav");
    writeAll(cut, good.left(good.size() - 8));
    const QString garbage = dir.filePath("garbage.sav");
    writeAll(garbage, QByteArray(3000, 'x'));
    const QString out = dir.filePath("never.sav");

    for (const QString& bad : {cut, garbage, dir.filePath("missing.sav")}) {
        SCOPED_TRACE(bad.toStdString());
        for (const QStringList& args : {QStringList{"dump", bad}, QStringList{"resave", bad, out}}) {
            const CliRun r = cli(args);
            EXPECT_EQ(r.status, 2);
            EXPECT_EQ(r.out, "I/O Error !\n");
            EXPECT_FALSE(r.err.trimmed().isEmpty());
            EXPECT_FALSE(QFile::exists(out));
        }
    }
    EXPECT_TRUE(cli({"dump", cut}).err.contains("offset"));
}

TEST_F(CatalogCommands, UsageAndHelp)
{
    for (const QStringList& wrong : {QStringList{}, QStringList{"dump"}, QStringList{"resave", rich},
                                     QStringList{"dump", rich, rich}, QStringList{"frobnicate"}}) {
        const CliRun r = cli(wrong);
        EXPECT_EQ(r.status, 64) << wrong.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("Usage")) << wrong.join(' ').toStdString();
    }
    for (const QStringList& help : {QStringList{"--help"}, QStringList{"dump", "--help"}, QStringList{"resave", "--help"}}) {
        const CliRun r = cli(help);
        EXPECT_EQ(r.status, 0);
        EXPECT_TRUE(r.out.startsWith("Usage: lumidex-cli")) << r.out.toStdString();
    }
}

TEST_F(CatalogCommands, ResaveIntoAMissingFolderFails)
{
    const CliRun r = cli({"resave", rich, dir.filePath("no/such/folder/out.sav")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.isEmpty());
}

} // namespace
