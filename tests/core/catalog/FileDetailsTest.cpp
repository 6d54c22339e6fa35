#include "catalog/FileDetails.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumidex;

namespace {

CFileObject record(const char* name, const char* key, std::vector<std::string> lines)
{
    CFileObject r;
    r.name = name;
    r.key = key;
    r.lines = std::move(lines);
    return r;
}

class FileDetailsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        ASSERT_TRUE(container.create({0}));
        const QString entryFile = tmp.filePath("0_0.obj");
        QFile f(entryFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(test::writeBytes([&](ArchiveWriter& w) {
            for (const CFileObject& r : stored)
                r.Serialize(w);
        }));
        f.close();
        ASSERT_TRUE(container.addDisc(0, 0, entryFile));
    }

    QTemporaryDir tmp;
    CatalogContainer container{tmp.filePath("c_ext.zip")};
    const std::vector<CFileObject> stored = {
        record("readme.txt", "[0,0]\n", {"hello\n"}),
        record("Song.MP3", "[1,2]\n", {"Song.MP3~128~44100~Stereo~Old~ ~ ~ ~ ~ ~"}),
        record("pack.zip", "[0,3]\n", {"a,b,1\n", "c,d,2\n"}),
    };
};

TEST_F(FileDetailsTest, UpdateInfoReplacesOnlyTheChosenRecordsLine)
{
    Mp3Fields fields = splitMp3InfoLine(stored[1].lines[0]);
    fields[Mp3Field::Title] = "New~Title";
    fields[Mp3Field::Artist] = "";
    ASSERT_EQ(updateMp3Details(container, 0, 0, ItemKey{1, 2}, fields), QString());

    const auto records = container.readDescriptionEntry(0, 0);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 3u);
    EXPECT_EQ((*records)[0].lines, stored[0].lines);
    EXPECT_EQ((*records)[2].lines, stored[2].lines);
    EXPECT_EQ((*records)[1].name, "Song.MP3");
    EXPECT_EQ((*records)[1].key, "[1,2]\n");
    EXPECT_EQ((*records)[1].lines, std::vector<std::string>{"Song.MP3~128~44100~Stereo~New_Title~ ~ ~ ~ ~ ~"});

    const FileDetails found = findFileDetails(container, 0, 0, ItemKey{1, 2});
    EXPECT_EQ(found.status, FileDetails::Status::Found);
    EXPECT_EQ(found.entryName, "0_0.obj");
}

TEST_F(FileDetailsTest, UpdateInfoWithoutARecordOrIndexKeyChangesNothing)
{
    const auto before = container.readEntry("0_0.obj");
    const Mp3Fields fields{};
    EXPECT_EQ(updateMp3Details(container, 0, 0, ItemKey{4, 4}, fields),
              "No description for selected file available !");
    EXPECT_EQ(updateMp3Details(container, 0, 1, ItemKey{1, 2}, fields), "Entry not exists !");
    EXPECT_EQ(container.readEntry("0_0.obj"), before);
}

TEST_F(FileDetailsTest, TheCacheAnswersLikeTheLookupAndFollowsChanges)
{
    FileDetailsCache cache;
    for (const ItemKey key : {ItemKey{0, 0}, ItemKey{1, 2}, ItemKey{0, 3}, ItemKey{4, 4}}) {
        SCOPED_TRACE(key.text());
        const FileDetails expected = findFileDetails(container, 0, 0, key);
        const FileDetails cached = cache.find(container, 0, 0, key);
        EXPECT_EQ(cached.status, expected.status);
        EXPECT_EQ(cached.record.lines, expected.record.lines);
    }
    EXPECT_EQ(cache.find(container, 0, 1, ItemKey{0, 0}).status, FileDetails::Status::NoIndexKey);

    Mp3Fields fields = splitMp3InfoLine(stored[1].lines[0]);
    fields[Mp3Field::Title] = "Changed";
    ASSERT_EQ(updateMp3Details(container, 0, 0, ItemKey{1, 2}, fields), QString());
    EXPECT_EQ(cache.find(container, 0, 0, ItemKey{1, 2}).record.lines[0], buildMp3InfoLine(fields));

    ASSERT_TRUE(QFile::remove(container.path()));
    EXPECT_EQ(cache.find(container, 0, 0, ItemKey{1, 2}).status, FileDetails::Status::NoContainer);
}

} // namespace
