#include "scan/ArchiveListing.h"
#include "scan/SpecialFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumidex;

namespace {

class SpecialFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        options[ScanOptions::AnySize] = 0;
        options[ScanOptions::MaxSize] = 1000;
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    SpecialFileResult process(const QString& path)
    {
        const std::string name = QFile::encodeName(path).toStdString();
        const auto ext = specialExtension(name);
        EXPECT_TRUE(ext) << name;
        return ProcessSpecialFile(path, 2, 17, ext.value_or(""), options);
    }

    QTemporaryDir dir;
    ScanOptions options; // everything read, but descriptions only up to 1000 bytes
};

} // namespace

TEST(SpecialExtension, LastFourOrDotMe)
{
    struct Case {
        const char* name;
        const char* ext; // nullptr: an ordinary file
    };
    const Case cases[] = {
        {"README.ME", ".me"},
        {"notes.TXT", ".txt"},
        {"a.rar.bak", nullptr},
        {"Song.Mp3", ".mp3"},
        {"file.!!!", ".!!!"},
        {"data.LZH", ".lzh"},
        {"x.lha", ".lha"},
        {"setup.zip", ".zip"},
        {"old.ARJ", ".arj"},
        {"drv.cab", ".cab"},
        {"info.nfo", ".nfo"},
        {"file_id.diz", ".diz"},
        {"files.lst", ".lst"},
        {".me", ".me"},
        {"readme", nullptr},
        {"me", nullptr},
        {"txt", nullptr},
        {"a.text", nullptr},
        {"photo.jpg", nullptr},
    };
    for (const Case& c : cases) {
        const auto ext = specialExtension(c.name);
        if (c.ext)
            EXPECT_EQ(ext, std::optional<std::string>(c.ext)) << c.name;
        else
            EXPECT_FALSE(ext) << c.name;
    }
}

TEST_F(SpecialFileTest, DescriptionIsReadUpToTheMaximumSize)
{
    const SpecialFileResult atMax = process(write("readme.txt", QByteArray(999, 'a') + "\n"));
    EXPECT_TRUE(atMax.recordFileInfo);
    ASSERT_TRUE(atMax.object);
    EXPECT_EQ(atMax.object->key, "[2,17]\n");
    EXPECT_EQ(atMax.object->name, "readme.txt");
    EXPECT_EQ(atMax.object->kind, CFileObject::TextDescription);
    EXPECT_EQ(atMax.object->lines.size(), 4u); // 255 + 255 + 255 + 234 + LF

    const SpecialFileResult over = process(write("big.nfo", QByteArray(1001, 'a')));
    EXPECT_FALSE(over.recordFileInfo);
    EXPECT_FALSE(over.object);

    options[ScanOptions::AnySize] = 1;
    const SpecialFileResult anySize = process(dir.filePath("big.nfo"));
    EXPECT_TRUE(anySize.recordFileInfo);
    ASSERT_TRUE(anySize.object);
    EXPECT_EQ(anySize.object->lines.size(), 4u);
}

TEST_F(SpecialFileTest, SizeLimitDoesNotApplyToArchivesOrSwitchedOffTypes)
{
    const SpecialFileResult zip = process(write("setup.zip", QByteArray(5000, 'z')));
    EXPECT_TRUE(zip.recordFileInfo);
    ASSERT_TRUE(zip.object);
    EXPECT_EQ(zip.object->kind, CFileObject::ArchiveListing);
    EXPECT_EQ(zip.object->lines, std::vector<std::string> {std::string(ArchiveErrorLine)});

    // A description type that is not read is an ordinary file: it keeps its size/date record
    // however large it is.
    options[ScanOptions::Txt] = 0;
    const SpecialFileResult off = process(write("huge.txt", QByteArray(5000, 't')));
    EXPECT_TRUE(off.recordFileInfo);
    EXPECT_FALSE(off.object);
}

TEST_F(SpecialFileTest, EachSwitchedOffTypeGetsNoRecordButKeepsItsFileInfo)
{
    struct Case {
        const char* name;
        ScanOptions::Field option;
    };
    const Case cases[] = {
        {"a.rar", ScanOptions::Rar}, {"a.zip", ScanOptions::Zip}, {"a.arj", ScanOptions::Arj},
        {"a.cab", ScanOptions::Cab}, {"a.mp3", ScanOptions::Mp3}, {"a.txt", ScanOptions::Txt},
        {"a.nfo", ScanOptions::Nfo}, {"a.diz", ScanOptions::Diz}, {"a.!!!", ScanOptions::Bang},
        {"a.lst", ScanOptions::Lst}, {"a.ME", ScanOptions::Me},
    };
    for (const Case& c : cases) {
        ScanOptions saved = options;
        options[c.option] = 0;
        const SpecialFileResult r = process(write(c.name, "content\n"));
        EXPECT_TRUE(r.recordFileInfo) << c.name;
        EXPECT_FALSE(r.object) << c.name;
        options = saved;
        EXPECT_TRUE(process(dir.filePath(c.name)).object) << c.name << " with its option on";
    }
}

TEST_F(SpecialFileTest, EitherLhaOptionReadsBothExtensions)
{
    const QString lzh = write("data.lzh", "not an archive");
    const QString lha = write("data.lha", "not an archive");
    for (const auto& [lhaOn, lzhOn] : {std::pair {1, 0}, std::pair {0, 1}}) {
        options[ScanOptions::Lha] = lhaOn;
        options[ScanOptions::Lzh] = lzhOn;
        for (const QString& file : {lzh, lha}) {
            const SpecialFileResult r = process(file);
            ASSERT_TRUE(r.object);
            EXPECT_EQ(r.object->kind, CFileObject::ArchiveListing);
            EXPECT_EQ(r.object->lines, std::vector<std::string> {std::string(ArchiveErrorLine)});
        }
    }
    options[ScanOptions::Lha] = 0;
    options[ScanOptions::Lzh] = 0;
    EXPECT_FALSE(process(lzh).object);
    EXPECT_FALSE(process(lha).object);
}

TEST_F(SpecialFileTest, Mp3GetsItsOneLine)
{
    const SpecialFileResult r = process(write("My_Song.MP3", QByteArray(300, '\x05')));
    ASSERT_TRUE(r.object);
    EXPECT_EQ(r.object->kind, CFileObject::Mp3Data);
    EXPECT_EQ(r.object->name, "My_Song.MP3");
    EXPECT_EQ(r.object->lines, std::vector<std::string> {"My_Song.MP3~0~0~ ~My Song~ ~ ~ ~ ~ ~"});
}

TEST_F(SpecialFileTest, MissingDescriptionPassesTheSizeTestAndHasNoLines)
{
    const SpecialFileResult r = ProcessSpecialFile(dir.filePath("gone.diz"), 0, 3, ".diz", options);
    EXPECT_TRUE(r.recordFileInfo);
    ASSERT_TRUE(r.object);
    EXPECT_EQ(r.object->key, "[0,3]\n");
    EXPECT_TRUE(r.object->lines.empty());
}
