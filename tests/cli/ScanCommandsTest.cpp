#include "catalog/CatalogDocument.h"
#include "support/ScanFixtures.h"

#include <QDir>
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

using Result = test::CliRun;

class ScanCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        sav = dir.filePath("Cat.sav");
        write("disc/readme.txt", "first line\r\nsecond");
        write("disc/Music/song.mp3", test::taggedMp3());
        write("disc/Music/plain.bin", "12345");
        QDir().mkpath(dir.filePath("zipped/inner"));
        QFile::copy(dir.filePath("disc/readme.txt"), dir.filePath("zipped/inner/a,b.txt"));
        QProcess zip;
        zip.setWorkingDirectory(dir.filePath("zipped"));
        zip.start("zip", {"-qr", dir.filePath("disc/pack.zip"), "inner"});
        zip.waitForFinished();
        ASSERT_EQ(run({"new", sav}).status, 0);
    }

    void write(const QString& relative, const QByteArray& bytes)
    {
        const QString path = dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    Result run(const QStringList& args)
    {
        return test::runCli(args, dir.filePath("home"));
    }

    QJsonObject disc(int category, int index)
    {
        const QJsonObject root = QJsonDocument::fromJson(run({"dump", "--entries", sav}).out).object();
        return root["categories"].toArray()[category].toObject()["discs"].toArray()[index].toObject();
    }

    QTemporaryDir dir;
    QString sav;
};

TEST_F(ScanCommands, ScanStoresTreeRecordsAndDescriptionEntries)
{
    const Result r = run({"scan", sav, dir.filePath("disc"), "--category", "1"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject d = disc(1, 0);
    EXPECT_EQ(d["name"].toString(), "disc");
    QStringList texts;
    for (const auto& node : d["tree"].toArray())
        texts << node.toObject()["text"].toString();
    EXPECT_EQ(texts, (QStringList{"Music", "plain.bin", "song.mp3", "pack.zip", "readme.txt"}));
    const QJsonArray entries = d["entries"].toArray();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].toObject()["key"].toString(), "[1,2]\n");
    EXPECT_EQ(entries[0].toObject()["name"].toString(), "song.mp3");
    EXPECT_EQ(entries[1].toObject()["lines"].toArray()[0].toString(), "a_b.txt,inner,18");
    EXPECT_EQ(entries[2].toObject()["lines"].toArray(), (QJsonArray{"first line\n", "second\n"}));

    EXPECT_EQ(run({"details", sav, "1", "0", "readme.txt"}).out, "first line\nsecond\n");
    EXPECT_EQ(run({"details", sav, "1", "0", "pack.zip"}).out, "a_b.txt,inner,18\n");
    const QByteArray song = run({"details", sav, "1", "0", "Music/song.mp3"}).out;
    EXPECT_TRUE(song.contains("Title: Title\n")) << song.toStdString();
    EXPECT_TRUE(song.contains("Artist: Artist\n"));
    EXPECT_TRUE(song.contains("Genre: Rock\n"));
    EXPECT_EQ(run({"details", sav, "1", "0", "Music/plain.bin"}).out, "No description for selected file available !\n");
    EXPECT_EQ(run({"details", sav, "1", "0", "Music/none.bin"}).status, 1);
}

TEST_F(ScanCommands, OverridesNamesAndFailures)
{
    ASSERT_EQ(run({"scan", sav, dir.filePath("disc"), "--name", "Backup 1", "--set", "filesPerFolder=0"}).status, 0);
    const QJsonObject d = disc(0, 0);
    EXPECT_EQ(d["name"].toString(), "Backup 1");
    EXPECT_EQ(d["tree"].toArray().size(), 1); // the folder only
    EXPECT_TRUE(d["entries"].toArray().isEmpty());

    QFile f(sav);
    f.open(QIODevice::ReadOnly);
    const QByteArray before = f.readAll();
    f.close();
    EXPECT_EQ(run({"scan", sav, dir.filePath("nowhere")}).status, 1);
    EXPECT_EQ(run({"scan", sav, dir.filePath("disc"), "--set", "levels=99"}).status, 64);
    EXPECT_EQ(run({"scan", sav, dir.filePath("disc"), "--set", "bogus=1"}).status, 64);
    EXPECT_EQ(run({"scan", sav, dir.filePath("disc"), "--category", "2"}).status, 1); // the media category
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(ScanCommands, RescanReplacesTheTreeAndKeepsItemComments)
{
    ASSERT_EQ(run({"scan", sav, dir.filePath("disc")}).status, 0);
    ASSERT_EQ(run({"disc", "comment", sav, "0", "0", "old comment"}).status, 0);
    {
        CatalogDocument doc(dir.filePath("w.zip"));
        ASSERT_EQ(doc.open(sav), QString());
        doc.catalog().filesCategories[0].discs[0].records.find({0, 4})->comment = "about the readme";
        ASSERT_EQ(doc.save(sav), QString());
    }
    QFile::remove(dir.filePath("disc/pack.zip"));
    write("disc/Music/new.bin", "n");
    ASSERT_EQ(run({"rescan", sav, "0", "0", dir.filePath("disc")}).status, 0);

    const QJsonObject d = disc(0, 0);
    EXPECT_EQ(d["comment"].toString(), "");
    QStringList texts;
    for (const auto& node : d["tree"].toArray())
        texts << node.toObject()["text"].toString();
    EXPECT_EQ(texts, (QStringList{"Music", "new.bin", "plain.bin", "song.mp3", "readme.txt"}));
    bool kept = false;
    for (const auto& record : d["records"].toArray())
        kept |= record.toObject()["index"].toInt() == 4 && record.toObject()["comment"].toString() == "about the readme";
    EXPECT_TRUE(kept);
    const QJsonArray entries = d["entries"].toArray();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].toObject()["key"].toString(), "[1,3]\n");
}

} // namespace
