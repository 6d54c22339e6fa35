#include "catalog/CatalogContainer.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zip.h>

#include <csignal>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace lumidex;

namespace {

using Entries = std::map<std::string, std::string>;

// Builds a ZIP straight with libzip, so that fixtures may hold what the class would never write.
void makeZip(const QString& path, const std::vector<std::pair<std::string, std::string>>& entries)
{
    int code = 0;
    zip_t* za = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(za, nullptr) << code;
    for (const auto& [name, data] : entries) {
        zip_source_t* src = zip_source_buffer(za, data.data(), data.size(), 0);
        ASSERT_GE(zip_file_add(za, name.c_str(), src, ZIP_FL_ENC_RAW), 0) << name;
    }
    ASSERT_EQ(zip_close(za), 0) << zip_strerror(za);
}

// Every entry and its data, read straight with libzip; empty when the file is no ZIP.
Entries zipEntries(const QString& path)
{
    Entries out;
    int code = 0;
    zip_t* za = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!za)
        return out;
    for (zip_int64_t i = 0; i < zip_get_num_entries(za, 0); ++i) {
        std::string data;
        zip_file_t* f = zip_fopen_index(za, zip_uint64_t(i), 0);
        char buf[4096];
        for (zip_int64_t got; (got = zip_fread(f, buf, sizeof buf)) > 0;)
            data.append(buf, size_t(got));
        zip_fclose(f);
        out.emplace(zip_get_name(za, zip_uint64_t(i), ZIP_FL_ENC_RAW), data);
    }
    zip_discard(za);
    return out;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The index that every edit keeps: per category its count and the keys Disk_0 .. Disk_(n-1).
std::string indexText(const std::vector<int>& counts)
{
    std::string text;
    for (size_t c = 0; c < counts.size(); ++c) {
        text += "[Category" + std::to_string(c) + "]\r\nDisk_Count=" + std::to_string(counts[c]) + "\r\n";
        for (int d = 0; d < counts[c]; ++d)
            text += "Disk_" + std::to_string(d) + "=" + std::to_string(c) + "_" + std::to_string(d) + ".obj\r\n";
    }
    return text;
}

// Directory names in the folder (and its parent) that an escaping entry name could have produced.
std::set<QString> filesAround(const QDir& dir)
{
    std::set<QString> out;
    for (const QDir& d : {dir, QDir(dir.absolutePath() + "/..")})
        for (const QFileInfo& fi : d.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
            out.insert(fi.absoluteFilePath());
    return out;
}

class CatalogContainerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        // One level down, so that a name climbing out with ".." would land in a folder we watch.
        ASSERT_TRUE(QDir(tmp.path()).mkpath("catalogs"));
        dir = QDir(tmp.path() + "/catalogs");
        path = dir.filePath("Films_ext.zip");
    }

    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString p = dir.filePath(name);
        writeFile(p, bytes);
        return p;
    }

    QTemporaryDir tmp;
    QDir dir;
    QString path;
};

TEST_F(CatalogContainerTest, CreateWritesOnlyTheIndexAndReplacesWhatWasThere)
{
    // Whatever lies at the path, valid or not, is replaced.
    for (const QByteArray& before : {QByteArray(), QByteArray("not a zip at all")}) {
        if (!before.isNull())
            writeFile(path, before);
        CatalogContainer container(path);
        ASSERT_TRUE(container.create({0, 0})) << container.errorString().toStdString();
        EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", "[Category0]\r\nDisk_Count=0\r\n[Category1]\r\nDisk_Count=0\r\n"}}));
    }
    CatalogContainer container(path);
    ASSERT_TRUE(container.addDisc(0, 0, file("0_0.obj", "x")));
    ASSERT_TRUE(container.create({3}));
    EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", "[Category0]\r\nDisk_Count=3\r\n"}}));

    // No categories still gives a file (an empty index), not a missing archive.
    ASSERT_TRUE(container.create({}));
    EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", ""}}));
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"Films_ext.zip"}) << "no temporary file left";
}

TEST_F(CatalogContainerTest, CreateInAMissingFolderFailsWithoutLeavingAnything)
{
    CatalogContainer container(dir.filePath("missing/x_ext.zip"));
    EXPECT_FALSE(container.create({0}));
    EXPECT_FALSE(container.errorString().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing")));
}

TEST_F(CatalogContainerTest, AddDiscStoresTheEntryCompressedAndCountsIt)
{
    CatalogContainer container(path);
    ASSERT_TRUE(container.create({0, 0}));
    const QByteArray big(100000, 'a');
    const QString f0 = file("0_0.obj", big);
    const QString f1 = file("0_1.obj", QByteArray()); // a disc without info records
    ASSERT_TRUE(container.addDisc(0, 0, f0)) << container.errorString().toStdString();
    ASSERT_TRUE(container.addDisc(0, 1, f1)) << container.errorString().toStdString();

    EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", "[Category0]\r\nDisk_Count=2\r\nDisk_0=0_0.obj\r\nDisk_1=0_1.obj\r\n"
                                                      "[Category1]\r\nDisk_Count=0\r\n"},
                                         {"0_0.obj", big.toStdString()},
                                         {"0_1.obj", ""}}));
    EXPECT_FALSE(QFile::exists(f0));
    EXPECT_FALSE(QFile::exists(f1));

    int code = 0;
    zip_t* za = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    ASSERT_NE(za, nullptr);
    zip_stat_t st;
    ASSERT_EQ(zip_stat(za, "0_0.obj", 0, &st), 0);
    EXPECT_EQ(st.comp_method, ZIP_CM_DEFLATE);
    EXPECT_LT(st.comp_size, st.size);
    zip_discard(za);
}

TEST_F(CatalogContainerTest, AddDiscFailureKeepsTheEntryFileAndTheContainer)
{
    CatalogContainer container(path);
    ASSERT_TRUE(container.create({0}));
    const QByteArray before = fileBytes(path);

    EXPECT_FALSE(container.addDisc(0, 0, dir.filePath("no-such-file.obj")));
    EXPECT_FALSE(container.errorString().isEmpty());
    EXPECT_EQ(fileBytes(path), before);

    const QString entry = file("0_0.obj", "records");
    CatalogContainer missing(dir.filePath("Other_ext.zip"));
    EXPECT_FALSE(missing.addDisc(0, 0, entry));
    EXPECT_TRUE(QFile::exists(entry)) << "the scan's result must survive a failed hand-over";
    EXPECT_FALSE(QFile::exists(dir.filePath("Other_ext.zip")));
}

// Deleting disc j renumbers the later discs, their covers and keys. Each case names the covers
// present before; every disc's data is checked to follow its disc.
TEST_F(CatalogContainerTest, DeleteDiscRenumbersTheLaterDiscs)
{
    struct Case {
        int discs;
        int removed;
        std::set<int> covers;
    };
    for (const Case& c : {Case{3, 0, {0, 2}}, Case{3, 2, {1, 2}}, Case{4, 1, {1, 2, 3}}, Case{1, 0, {0}}}) {
        SCOPED_TRACE(testing::Message() << c.discs << " discs, deleting " << c.removed);
        std::vector<std::pair<std::string, std::string>> entries{{"data.ini", indexText({c.discs, 1})},
                                                                 {"1_0.obj", "other category"},
                                                                 {"_0_0.cov", "media item"}};
        for (int d = 0; d < c.discs; ++d)
            entries.push_back({"0_" + std::to_string(d) + ".obj", "records " + std::to_string(d)});
        for (int d : c.covers)
            entries.push_back({"0_" + std::to_string(d) + ".cov", "cover " + std::to_string(d)});
        makeZip(path, entries);

        CatalogContainer container(path);
        ASSERT_TRUE(container.deleteDisc(0, c.removed)) << container.errorString().toStdString();

        Entries expected{{"data.ini", indexText({c.discs - 1, 1})}, {"1_0.obj", "other category"}, {"_0_0.cov", "media item"}};
        for (int d = 0; d < c.discs - 1; ++d) {
            const int old = d < c.removed ? d : d + 1;
            expected["0_" + std::to_string(d) + ".obj"] = "records " + std::to_string(old);
            if (c.covers.count(old))
                expected["0_" + std::to_string(d) + ".cov"] = "cover " + std::to_string(old);
        }
        EXPECT_EQ(zipEntries(path), expected);
    }
}

TEST_F(CatalogContainerTest, DeleteDiscWithoutDescriptionEntryStillKeepsTheIndexInStep)
{
    // A container made afresh for an existing catalog: counts, but no keys or entries for the
    // old discs. Disc 3 was scanned later.
    makeZip(path, {{"data.ini", "[Category0]\r\nDisk_Count=4\r\nDisk_3=0_3.obj\r\n"}, {"0_3.obj", "new disc"}, {"0_1.cov", "cover"}});
    CatalogContainer container(path);
    ASSERT_TRUE(container.deleteDisc(0, 1));
    EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", "[Category0]\r\nDisk_Count=3\r\nDisk_2=0_2.obj\r\n"}, {"0_2.obj", "new disc"}}));

    // A count that is missing or negative never goes below zero.
    makeZip(path, {{"data.ini", "[Category0]\r\nDisk_Count=-4\r\n"}});
    ASSERT_TRUE(container.deleteDisc(0, 0));
    ASSERT_TRUE(container.deleteDisc(1, 0));
    EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", "[Category0]\r\nDisk_Count=0\r\n[Category1]\r\nDisk_Count=0\r\n"}}));
}

TEST_F(CatalogContainerTest, DeleteCategoryMovesTheLaterCategoriesDown)
{
    // Three categories: renaming 1 to 0 and 2 to 1 must never overwrite a name still in use.
    makeZip(path, {{"data.ini", indexText({2, 1, 3})},
                   {"0_0.obj", "a0"}, {"0_1.obj", "a1"}, {"0_1.cov", "a1 cover"},
                   {"1_0.obj", "b0"}, {"1_0.cov", "b0 cover"},
                   {"2_0.obj", "c0"}, {"2_1.obj", "c1"}, {"2_2.obj", "c2"}, {"2_1.cov", "c1 cover"},
                   {"_0_0.cov", "media"}});
    CatalogContainer container(path);
    ASSERT_TRUE(container.deleteCategory(0)) << container.errorString().toStdString();
    EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", indexText({1, 3})},
                                         {"0_0.obj", "b0"}, {"0_0.cov", "b0 cover"},
                                         {"1_0.obj", "c0"}, {"1_1.obj", "c1"}, {"1_2.obj", "c2"}, {"1_1.cov", "c1 cover"},
                                         {"_0_0.cov", "media"}}));

    ASSERT_TRUE(container.deleteCategory(1));
    ASSERT_TRUE(container.deleteCategory(0));
    EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", ""}, {"_0_0.cov", "media"}}));
}

TEST_F(CatalogContainerTest, MoveDiscRenamesIntoTheTargetAndRenumbersTheSource)
{
    makeZip(path, {{"data.ini", indexText({3, 1})},
                   {"0_0.obj", "a0"}, {"0_1.obj", "a1"}, {"0_2.obj", "a2"}, {"0_1.cov", "a1 cover"}, {"0_2.cov", "a2 cover"},
                   {"1_0.obj", "b0"}});
    CatalogContainer container(path);
    ASSERT_TRUE(container.moveDisc(0, 1, 1)) << container.errorString().toStdString();
    const Entries expected{{"data.ini", indexText({2, 2})},
                           {"0_0.obj", "a0"}, {"0_1.obj", "a2"}, {"0_1.cov", "a2 cover"},
                           {"1_0.obj", "b0"}, {"1_1.obj", "a1"}, {"1_1.cov", "a1 cover"}};
    EXPECT_EQ(zipEntries(path), expected);

    EXPECT_FALSE(container.moveDisc(1, 0, 1)) << "a disc moves to another category";
    EXPECT_EQ(zipEntries(path), expected);
}

TEST_F(CatalogContainerTest, InsertCategoryAddsAnEmptySection)
{
    makeZip(path, {{"data.ini", "; kept\r\n" + indexText({1})}, {"0_0.obj", "a0"}});
    CatalogContainer container(path);
    ASSERT_TRUE(container.insertCategory(1));
    EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", "; kept\r\n" + indexText({1, 0})}, {"0_0.obj", "a0"}}));
}

TEST_F(CatalogContainerTest, DiscCoversAreNamedThroughTheIndex)
{
    // The index names disc 0 with an upper-case entry, as an old container may.
    makeZip(path, {{"data.ini", "[Category0]\r\nDisk_Count=2\r\nDisk_0=0_0.OBJ\r\n"}, {"0_0.OBJ", "a0"}, {"0_0.COV", "old"}});
    CatalogContainer container(path);
    ASSERT_TRUE(container.storeDiscCover(0, 0, file("pic.jpg", "new picture"))) << container.errorString().toStdString();
    ASSERT_TRUE(container.storeDiscCover(0, 0, file("pic.jpg", "newer picture")));
    Entries entries = zipEntries(path);
    EXPECT_EQ(entries.count("0_0.COV"), 0u);
    EXPECT_EQ(entries["0_0.cov"], "newer picture") << "exactly one cover entry for the disc";
    EXPECT_EQ(entries.size(), 3u);
    EXPECT_EQ(container.loadDiscCover(0, 0), QByteArray("newer picture"));

    // Disc 1 has no key, disc 2 no section entry at all: no cover is stored or found.
    const QByteArray before = fileBytes(path);
    EXPECT_FALSE(container.storeDiscCover(0, 1, file("pic.jpg", "x")));
    EXPECT_FALSE(container.storeDiscCover(5, 0, file("pic.jpg", "x")));
    EXPECT_FALSE(container.loadDiscCover(0, 1));
    EXPECT_TRUE(container.removeDiscCover(0, 1));
    EXPECT_EQ(fileBytes(path), before);

    ASSERT_TRUE(container.removeDiscCover(0, 0));
    EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", "[Category0]\r\nDisk_Count=2\r\nDisk_0=0_0.OBJ\r\n"}, {"0_0.OBJ", "a0"}}));
    EXPECT_FALSE(container.loadDiscCover(0, 0));

    // Without an index there is nothing to name a cover by.
    makeZip(path, {{"0_0.obj", "a0"}});
    EXPECT_FALSE(container.storeDiscCover(0, 0, file("pic.jpg", "x")));
    EXPECT_EQ(zipEntries(path), (Entries{{"0_0.obj", "a0"}}));
}

TEST_F(CatalogContainerTest, MediaCoversStoreCopyMoveAndRemove)
{
    makeZip(path, {{"data.ini", ""}, {"_0_0.cov", "first"}, {"_0_1.cov", "second"}});
    CatalogContainer container(path);

    ASSERT_TRUE(container.storeCover(file("pic.jpg", "replaced"), "_0_0.cov"));
    ASSERT_TRUE(container.copyCover("_0_0.cov", "_1_0.cov"));
    ASSERT_TRUE(container.copyCover("_0_0.cov", "_0_1.cov")) << "a copy replaces the target";
    ASSERT_TRUE(container.moveCover("_1_0.cov", "_2_0.cov"));
    EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", ""}, {"_0_0.cov", "replaced"}, {"_0_1.cov", "replaced"}, {"_2_0.cov", "replaced"}}));

    ASSERT_TRUE(container.storeCover(file("pic.jpg", "other"), "_0_1.cov"));
    ASSERT_TRUE(container.moveCover("_0_1.cov", "_0_0.cov")) << "a move replaces the target";
    ASSERT_TRUE(container.removeCover("_2_0.cov"));
    EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", ""}, {"_0_0.cov", "other"}}));

    // A missing source is nothing to do, not a failure.
    const QByteArray before = fileBytes(path);
    EXPECT_TRUE(container.copyCover("_9_9.cov", "_0_0.cov"));
    EXPECT_TRUE(container.moveCover("_9_9.cov", "_0_0.cov"));
    EXPECT_TRUE(container.removeCover("_9_9.cov"));
    EXPECT_FALSE(container.storeCover(dir.filePath("missing.jpg"), "_0_0.cov"));
    EXPECT_EQ(fileBytes(path), before);
}

TEST_F(CatalogContainerTest, CoverNamesThatAreNotPlainCoverNamesAreRefused)
{
    makeZip(path, {{"data.ini", indexText({1})}, {"0_0.obj", "a0"}, {"_0_0.cov", "c"}});
    const QByteArray before = fileBytes(path);
    const QString picture = file("pic.jpg", "p");
    CatalogContainer container(path);
    for (const std::string& bad : std::vector<std::string>{"../x.cov", "sub/x.cov", "..\\x.cov", "..", ".", "", "data.ini",
                                                           "DATA.INI", "0_0.obj", std::string("x\0.cov", 6)}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(container.storeCover(picture, bad));
        EXPECT_FALSE(container.errorString().isEmpty());
        EXPECT_FALSE(container.removeCover(bad));
        EXPECT_FALSE(container.copyCover("_0_0.cov", bad));
        EXPECT_FALSE(container.copyCover(bad, "_0_1.cov"));
        EXPECT_FALSE(container.moveCover("_0_0.cov", bad));
        EXPECT_FALSE(container.moveCover(bad, "_0_1.cov"));
    }
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(filesAround(dir).count(QFileInfo(tmp.path() + "/x.cov").absoluteFilePath()), 0u);
}

TEST_F(CatalogContainerTest, AContainerThatCannotBeOpenedIsLeftAlone)
{
    const QString entry = file("entry.obj", "records");
    const QString picture = file("pic.jpg", "p");
    const std::vector<std::pair<const char*, std::function<bool(CatalogContainer&)>>> edits{
        {"addDisc", [&](CatalogContainer& c) { return c.addDisc(0, 0, entry); }},
        {"deleteDisc", [](CatalogContainer& c) { return c.deleteDisc(0, 0); }},
        {"moveDisc", [](CatalogContainer& c) { return c.moveDisc(0, 0, 1); }},
        {"insertCategory", [](CatalogContainer& c) { return c.insertCategory(0); }},
        {"deleteCategory", [](CatalogContainer& c) { return c.deleteCategory(0); }},
        {"storeDiscCover", [&](CatalogContainer& c) { return c.storeDiscCover(0, 0, picture); }},
        {"removeDiscCover", [](CatalogContainer& c) { return c.removeDiscCover(0, 0); }},
        {"storeCover", [&](CatalogContainer& c) { return c.storeCover(picture, "_0_0.cov"); }},
        {"removeCover", [](CatalogContainer& c) { return c.removeCover("_0_0.cov"); }},
        {"copyCover", [](CatalogContainer& c) { return c.copyCover("_0_0.cov", "_0_1.cov"); }},
        {"moveCover", [](CatalogContainer& c) { return c.moveCover("_0_0.cov", "_0_1.cov"); }},
    };
    // What lies at the path; nullopt: nothing. "folder/x" puts the container under a plain file.
    writeFile(dir.filePath("folder"), "a file, not a folder");
    const std::vector<std::pair<QString, std::optional<QByteArray>>> containers{
        {dir.filePath("missing_ext.zip"), std::nullopt},
        {dir.filePath("garbage_ext.zip"), QByteArray("PK\x03\x04 this is not really a zip")},
        {dir.filePath("empty_ext.zip"), QByteArray("")},
        {dir.filePath("folder/x_ext.zip"), std::nullopt},
    };
    for (const auto& [where, content] : containers) {
        if (content)
            writeFile(where, *content);
        for (const auto& [name, edit] : edits) {
            SCOPED_TRACE(where.toStdString() + " " + name);
            CatalogContainer container(where);
            EXPECT_FALSE(edit(container));
            EXPECT_FALSE(container.errorString().isEmpty());
            EXPECT_EQ(QFileInfo::exists(where), content.has_value());
            if (content) {
                EXPECT_EQ(fileBytes(where), *content);
            }
        }
        CatalogContainer container(where);
        EXPECT_FALSE(container.readIndex());
        EXPECT_FALSE(container.readDescriptionEntry(0, 0));
        EXPECT_FALSE(container.loadDiscCover(0, 0));
        EXPECT_TRUE(container.entryNames().isEmpty());
    }
    EXPECT_TRUE(QFile::exists(entry));
}

TEST_F(CatalogContainerTest, HostileEntryNamesStayInsideTheArchive)
{
    makeZip(path, {{"data.ini", "[Category0]\r\nDisk_Count=2\r\nDisk_0=0_0.obj\r\nDisk_1=../../evil.obj\r\n"},
                   {"0_0.obj", "a0"}, {"0_1.obj", "a1"},
                   {"../x.cov", "escape"}, {"../../evil.cov", "escape"}, {"sub/../../y.obj", "escape"}, {"..\\z.cov", "escape"}});
    const std::set<QString> before = filesAround(dir);
    CatalogContainer container(path);

    EXPECT_FALSE(container.readEntry("../x.cov"));
    EXPECT_FALSE(container.loadDiscCover(0, 1)) << "a cover name derived from a hostile index value";
    EXPECT_FALSE(container.storeDiscCover(0, 1, file("pic.jpg", "p")));
    EXPECT_TRUE(container.removeDiscCover(0, 1));
    EXPECT_EQ(zipEntries(path).count("../../evil.cov"), 1u);
    QFile::remove(dir.filePath("pic.jpg"));

    ASSERT_TRUE(container.deleteDisc(0, 0)) << container.errorString().toStdString();
    ASSERT_TRUE(container.storeDiscCover(0, 0, file("pic.jpg", "p")));
    QFile::remove(dir.filePath("pic.jpg"));
    ASSERT_TRUE(container.deleteCategory(0));
    EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", ""}, {"../x.cov", "escape"}, {"../../evil.cov", "escape"},
                                         {"sub/../../y.obj", "escape"}, {"..\\z.cov", "escape"}}));
    EXPECT_EQ(filesAround(dir), before);
}

TEST_F(CatalogContainerTest, LookupsIgnoreCaseAndRewritesKeepOneIndex)
{
    makeZip(path, {{"DATA.INI", indexText({2})}, {"0_0.OBJ", "a0"}, {"0_1.Obj", "a1"}});
    CatalogContainer container(path);
    const auto index = container.readIndex();
    ASSERT_TRUE(index);
    EXPECT_EQ(index->value("category0", "disk_count"), "2");
    EXPECT_EQ(container.readEntry("0_1.obj"), QByteArray("a1"));

    ASSERT_TRUE(container.deleteDisc(0, 0));
    EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", indexText({1})}, {"0_0.obj", "a1"}}));
}

TEST_F(CatalogContainerTest, TheLastEntryIsNeverLost)
{
    // Removing the only entry would make libzip delete the archive file.
    makeZip(path, {{"_0_0.cov", "cover"}});
    CatalogContainer container(path);
    ASSERT_TRUE(container.removeCover("_0_0.cov"));
    EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", ""}}));

    makeZip(path, {{"0_0.obj", "a0"}, {"0_0.cov", "c"}});
    ASSERT_TRUE(container.deleteDisc(0, 0));
    EXPECT_EQ(zipEntries(path), (Entries{{"data.ini", "[Category0]\r\nDisk_Count=0\r\n"}}));
}

TEST_F(CatalogContainerTest, ReadDescriptionEntryParsesRecordsOrRefusesDamage)
{
    CFileObject text;
    text.name = "readme.TXT";
    text.key = "[1,4]\n";
    text.lines = {"line one", "line two"};
    CFileObject archive;
    archive.name = "pack.ZIP";
    archive.key = "[0,7]\n";
    archive.lines = {"a.txt 12"};
    CFileObject mp3;
    mp3.name = "song.mp3";
    mp3.key = "[2,9]\n";
    mp3.lines = {"128 kbit"};
    const QByteArray records = test::writeBytes([&](ArchiveWriter& w) {
        text.Serialize(w);
        archive.Serialize(w);
        mp3.Serialize(w);
    });

    makeZip(path, {{"data.ini", indexText({3})},
                   {"0_0.obj", records.toStdString()},
                   {"0_1.obj", ""},
                   {"0_2.obj", records.left(records.size() - 3).toStdString()},
                   {"1_0.obj", std::string("\xff\xff\xff\xff\xff\xff\xff\xff", 8)}});
    CatalogContainer container(path);
    const auto read = container.readDescriptionEntry(0, 0);
    ASSERT_TRUE(read) << container.errorString().toStdString();
    ASSERT_EQ(read->size(), 3u);
    EXPECT_EQ((*read)[0].name, "readme.TXT");
    EXPECT_EQ((*read)[0].key, "[1,4]\n");
    EXPECT_EQ((*read)[0].lines, text.lines);
    EXPECT_EQ((*read)[0].kind, CFileObject::TextDescription);
    EXPECT_EQ((*read)[1].kind, CFileObject::ArchiveListing);
    EXPECT_EQ((*read)[2].kind, CFileObject::Mp3Data);
    EXPECT_EQ((*read)[2].lines, mp3.lines);

    const auto empty = container.readDescriptionEntry(0, 1);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());

    for (const auto& [category, disc] : {std::pair{0, 2}, std::pair{1, 0}, std::pair{0, 3}}) {
        SCOPED_TRACE(testing::Message() << category << "_" << disc);
        EXPECT_FALSE(container.readDescriptionEntry(category, disc));
        EXPECT_FALSE(container.errorString().isEmpty());
    }
}

// Restricts the size of files this process may write, so that libzip's closing write fails the
// way it does on a full disk. Works for every user, root included.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_old{};
    void (*m_handler)(int) = nullptr;
};

TEST_F(CatalogContainerTest, AFailedWriteLeavesTheContainerAsItWas)
{
    // Incompressible data that every edit below keeps, so that each rewritten archive exceeds
    // the limit.
    std::string noise(200000, '\0');
    uint32_t x = 12345;
    for (char& c : noise) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 24);
    }
    makeZip(path, {{"data.ini", indexText({1})}, {"0_0.obj", "a0"}, {"_0_0.cov", "c"}, {"_9_9.cov", noise}});
    const QByteArray before = fileBytes(path);
    const QString entry = file("0_1.obj", "records");
    CatalogContainer container(path);

    bool added = true, removed = true, deleted = true;
    {
        FileSizeLimit limit(4096);
        added = container.addDisc(0, 1, entry);
        removed = container.removeCover("_0_0.cov");
        deleted = container.deleteDisc(0, 0);
    }
    EXPECT_FALSE(added);
    EXPECT_FALSE(removed);
    EXPECT_FALSE(deleted);
    EXPECT_FALSE(container.errorString().isEmpty());
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_TRUE(QFile::exists(entry)) << "the entry file is deleted only after a successful write";
    EXPECT_EQ(dir.entryList(QDir::Files), (QStringList{"0_1.obj", "Films_ext.zip"})) << "no temporary file left";
}

TEST_F(CatalogContainerTest, AReadOnlyFolderLeavesTheContainerAsItWas)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: folder permissions do not apply (a failing write is covered by the file size limit test)";
    CatalogContainer container(path);
    ASSERT_TRUE(container.create({1}));
    const QByteArray before = fileBytes(path);
    const QString picture = tmp.filePath("pic.jpg");
    writeFile(picture, "p");
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const bool stored = container.storeCover(picture, "_0_0.cov");
    const bool created = container.create({2});
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(stored);
    EXPECT_FALSE(created);
    EXPECT_EQ(fileBytes(path), before);
}

} // namespace
