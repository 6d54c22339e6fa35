#include "catalog/FileObject.h"
#include "format/ArchiveReader.h"
#include "scan/DiscScanner.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace lumidex;

namespace {

class DiscScannerTest : public ::testing::Test {
protected:
    void file(const QString& relative, const QByteArray& bytes = "x")
    {
        const QString path = dir.filePath("disc/" + relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void folder(const QString& relative) { QDir().mkpath(dir.filePath("disc/" + relative)); }
    std::string root() const { return QFile::encodeName(dir.filePath("disc")).toStdString(); }
    QString entryFile() const { return dir.filePath("0_0.obj"); }

    // The tree as "level:text" in pre-order.
    static std::vector<std::string> outline(const Disc& disc)
    {
        std::vector<std::string> lines;
        for (int32_t i = 0; i < disc.tree.size(); ++i)
            lines.push_back(std::to_string(disc.tree.level(i)) + ":" + std::string(disc.tree.text(i)));
        return lines;
    }

    Disc scan(ScanOptions options = ScanOptions())
    {
        Disc disc;
        DiscScanner scanner(options);
        EXPECT_TRUE(scanner.scan(root(), disc, entryFile()));
        return disc;
    }

    std::vector<CFileObject> entries() const
    {
        QFile f(entryFile());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        std::vector<CFileObject> records;
        ArchiveReader reader(f);
        while (reader.remaining() > 0)
            records.emplace_back().Serialize(reader);
        return records;
    }

    QTemporaryDir dir;
};

TEST_F(DiscScannerTest, FoldersFirstEachLevelSortedIgnoringCase)
{
    for (const char* name : {"b.txt", "A.bin", "c.bin", "zeta/inner.bin", "Alpha/x.bin", "a b/y.bin", "a/z.bin"})
        file(name);
    const Disc disc = scan();
    // Folders sort as "name\*.*": "a b" comes before "a" and "Alpha"; files after all folders.
    EXPECT_EQ(outline(disc), (std::vector<std::string>{"0:a b", "1:y.bin", "0:a", "1:z.bin", "0:Alpha", "1:x.bin",
                                                       "0:zeta", "1:inner.bin", "0:A.bin", "0:b.txt", "0:c.bin"}));
    // One record per item, a folder's after its subtree, each keyed by its pre-order position.
    ASSERT_EQ(disc.records.size(), 11u);
    EXPECT_EQ(disc.records[0].key(), (ItemKey{1, 1}));
    EXPECT_EQ(disc.records[1].key(), (ItemKey{0, 0}));
    EXPECT_TRUE(disc.records[1].folder);
    for (int32_t i = 0; i < disc.tree.size(); ++i)
        ASSERT_NE(disc.records.find(disc.tree.key(i)), nullptr) << i;
}

TEST_F(DiscScannerTest, LimitsCutTheTreeButNotTheSizes)
{
    file("top/mid/deep/d.bin", QByteArray(100, 'd'));
    file("top/t1.bin", QByteArray(10, 't'));
    file("top/t2.bin", QByteArray(20, 't'));
    file("top/t3.bin", QByteArray(30, 't'));
    file("b.txt", "b");
    file("A.txt", "a");
    file("c.txt", "c");

    ScanOptions options;
    options[ScanOptions::Levels] = 0;
    options[ScanOptions::FilesPerFolder] = 2;
    const Disc disc = scan(options);
    EXPECT_EQ(outline(disc), (std::vector<std::string>{"0:top", "1:t1.bin", "1:t2.bin", "0:A.txt", "0:b.txt"}));
    // The folder counts every byte below it, listed or not.
    EXPECT_EQ(disc.records.find({0, 0})->size, 160);
    EXPECT_EQ(disc.size, 163);

    options[ScanOptions::FilesPerFolder] = 0;
    options[ScanOptions::Levels] = 32;
    EXPECT_EQ(outline(scan(options)), (std::vector<std::string>{"0:top", "1:mid", "2:deep"}));
}

TEST_F(DiscScannerTest, DescriptionFilesAndArchivesGetInfoRecords)
{
    file("readme.txt", "A\r\nB");
    file("big.nfo", QByteArray(50, 'n'));
    file("notes.TXT", "n");
    file("a.rar.bak", "not special");
    ScanOptions options;
    options[ScanOptions::AnySize] = 0;
    options[ScanOptions::MaxSize] = 10;
    const Disc disc = scan(options);
    EXPECT_EQ(outline(disc), (std::vector<std::string>{"0:a.rar.bak", "0:big.nfo", "0:notes.TXT", "0:readme.txt"}));
    const auto records = entries();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].name, "notes.TXT");
    EXPECT_EQ(records[0].key, "[0,2]\n");
    EXPECT_EQ(records[1].lines, (std::vector<std::string>{"A\n", "B\n"}));
    // The oversized description keeps its tree item but gets no record at all.
    EXPECT_EQ(disc.records.find({0, 1}), nullptr);
    EXPECT_NE(disc.records.find({0, 0}), nullptr);
}

TEST_F(DiscScannerTest, EmptyDiscLinksAndUnreadableFolders)
{
    folder("");
    Disc empty = scan();
    EXPECT_TRUE(empty.tree.empty());
    EXPECT_EQ(empty.size, 0);
    EXPECT_EQ(QFileInfo(entryFile()).size(), 0);

    file("outside/secret.txt", "secret");
    QDir().rename(dir.filePath("disc/outside"), dir.filePath("outside"));
    ASSERT_EQ(symlink(QFile::encodeName(dir.filePath("outside")).constData(),
                      QFile::encodeName(dir.filePath("disc/link")).constData()), 0);
    ASSERT_EQ(symlink(QFile::encodeName(dir.filePath("outside/secret.txt")).constData(),
                      QFile::encodeName(dir.filePath("disc/note.txt")).constData()), 0);
    ASSERT_EQ(symlink("loop", QFile::encodeName(dir.filePath("disc/loop")).constData()), 0);
    const Disc linked = scan();
    // Links are files, never followed: nothing of "outside" is read.
    EXPECT_EQ(outline(linked), (std::vector<std::string>{"0:link", "0:loop", "0:note.txt"}));
    EXPECT_TRUE(entries().empty());

    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    file("locked/hidden.bin");
    file("open.bin");
    chmod(QFile::encodeName(dir.filePath("disc/locked")).constData(), 0);
    const Disc partial = scan();
    chmod(QFile::encodeName(dir.filePath("disc/locked")).constData(), 0755);
    EXPECT_EQ(outline(partial), (std::vector<std::string>{"0:locked", "0:link", "0:loop", "0:note.txt", "0:open.bin"}));
}

TEST_F(DiscScannerTest, RescanKeepsCommentsOfItemsFoundAgainAndCancelStops)
{
    file("a.bin");
    file("b.bin");
    Disc disc = scan();
    disc.records.find({0, 1})->comment = "keep";
    file("b.bin", "longer now");
    DiscScanner again{ScanOptions()};
    ASSERT_TRUE(again.scan(root(), disc, entryFile()));
    EXPECT_EQ(disc.tree.size(), 2);
    EXPECT_EQ(disc.records.size(), 2u);
    EXPECT_EQ(disc.records.find({0, 1})->comment, "keep");
    EXPECT_EQ(disc.records.find({0, 1})->size, 10);
    EXPECT_EQ(again.filesRecorded(), 2);

    std::atomic<bool> cancel{true};
    DiscScanner cancelled{ScanOptions()};
    cancelled.setCancelFlag(&cancel);
    Disc dropped;
    EXPECT_FALSE(cancelled.scan(root(), dropped, entryFile()));
}

TEST_F(DiscScannerTest, ProgressCountsFilesAndCdCapacityReplacesTheSum)
{
    file("a.bin", "aaaa");
    file(".hidden/h.bin");
    file("sub/b.bin");
    DiscScanner scanner{ScanOptions()};
    std::vector<int> done;
    int total = 0;
    scanner.setProgressHandler([&](const DiscScanner::Progress& p) {
        done.push_back(p.done);
        total = p.total;
    });
    scanner.setCdCapacityLookup([](const std::string&) { return std::optional<int64_t>(700000000); });
    Disc disc;
    ASSERT_TRUE(scanner.scan(root(), disc, entryFile()));
    EXPECT_EQ(total, 2); // files inside folders named ".*" are not counted
    EXPECT_EQ(done, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(disc.size, 700000000);
}

} // namespace
