#include "scan/ArchiveListing.h"
#include "support/TestSupport.h"
#include "scan/ArjReader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zip.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace lumidex;

namespace {

using Lines = std::vector<std::string>;
const Lines ErrorListing {std::string(ArchiveErrorLine)};

using test::putLe16;
using test::putLe32;

// RAR 4 blocks: CRC16 (low half of the CRC-32 of what follows it), type, flags, size, body.
QByteArray rarBlock(uint8_t type, uint16_t flags, const QByteArray& body)
{
    QByteArray rest;
    rest.append(char(type));
    putLe16(rest, flags);
    putLe16(rest, uint32_t(7 + body.size()));
    rest += body;
    QByteArray block;
    putLe16(block, arjCrc32(rest.constData(), size_t(rest.size())) & 0xFFFF);
    return block + rest;
}

struct RarMember {
    QByteArray name;
    QByteArray data;
    uint64_t declaredSize; // the unpacked size the header claims
    bool directory = false;
};

QByteArray rarArchive(const std::vector<RarMember>& members)
{
    QByteArray out("Rar!\x1a\x07\x00", 7);
    out += rarBlock(0x73, 0, QByteArray(6, '\0'));
    for (const RarMember& m : members) {
        uint16_t flags = 0x8000;
        const bool large = m.declaredSize > 0xFFFFFFFFu;
        if (large)
            flags |= 0x100; // high halves of the sizes follow the attributes
        if (m.directory)
            flags |= 0xE0;
        QByteArray body;
        putLe32(body, uint32_t(m.data.size()));
        putLe32(body, uint32_t(m.declaredSize));
        body.append(char(2)); // Win32
        putLe32(body, arjCrc32(m.data.constData(), size_t(m.data.size())));
        putLe32(body, 0x21);  // DOS time
        body.append(char(29));
        body.append(char(0x30)); // stored
        putLe16(body, uint32_t(m.name.size()));
        putLe32(body, m.directory ? 0x10 : 0x20);
        if (large) {
            putLe32(body, 0);
            putLe32(body, uint32_t(m.declaredSize >> 32));
        }
        body += m.name;
        out += rarBlock(0x74, flags, body) + m.data;
    }
    out += rarBlock(0x7B, 0x4000, {});
    return out;
}

uint16_t lhaCrc16(const QByteArray& bytes)
{
    uint16_t crc = 0;
    for (char ch : bytes) {
        crc ^= uint8_t(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
    }
    return crc;
}

// A level-2 LHA header (stored, or a directory with "-lhd-"), with the header CRC extension that
// libarchive requires. `folder` ends in 0xFF, the format's folder separator.
QByteArray lhaLevel2(const QByteArray& folder, const QByteArray& name, const QByteArray& data, bool directory = false)
{
    auto ext = [](uint8_t type, const QByteArray& payload) {
        QByteArray e;
        putLe16(e, uint32_t(3 + payload.size()));
        e.append(char(type));
        return e + payload;
    };
    QByteArray exts = ext(0x00, QByteArray(2, '\0'));
    if (!name.isEmpty())
        exts += ext(0x01, name);
    if (!folder.isEmpty())
        exts += ext(0x02, folder);
    putLe16(exts, 0);

    QByteArray h;
    putLe16(h, uint32_t(24 + exts.size()));
    h += directory ? "-lhd-" : "-lh0-";
    putLe32(h, uint32_t(data.size()));
    putLe32(h, uint32_t(data.size()));
    putLe32(h, 0);
    h.append(char(0x20));
    h.append(char(2));
    putLe16(h, 0);   // data CRC16, not checked while listing
    h.append('U');
    h += exts;
    // The header CRC sits in the first extension, right after its size and type bytes.
    const uint16_t crc = lhaCrc16(h);
    h[27] = char(crc & 0xFF);
    h[28] = char(crc >> 8);
    return h + data;
}

// A cabinet with one stored folder, as made on Windows: names in the ANSI code page with "\"
// between folders, not flagged as UTF-8.
QByteArray cabArchive(const std::vector<std::pair<QByteArray, QByteArray>>& members)
{
    QByteArray files;
    QByteArray data;
    for (const auto& [name, bytes] : members) {
        putLe32(files, uint32_t(bytes.size()));
        putLe32(files, uint32_t(data.size()));
        putLe16(files, 0);      // folder
        putLe16(files, 0x3021); // date
        putLe16(files, 0);      // time
        putLe16(files, 0x20);   // archive attribute only
        files += name + QByteArray(1, '\0');
        data += bytes;
    }
    const uint32_t filesOffset = 36 + 8;
    const uint32_t dataOffset = filesOffset + uint32_t(files.size());
    const uint32_t total = dataOffset + 8 + uint32_t(data.size());

    QByteArray cab("MSCF", 4);
    putLe32(cab, 0);
    putLe32(cab, total);
    putLe32(cab, 0);
    putLe32(cab, filesOffset);
    putLe32(cab, 0);
    cab.append(char(3));
    cab.append(char(1));
    putLe16(cab, 1); // folders
    putLe16(cab, uint32_t(members.size()));
    putLe16(cab, 0);
    putLe16(cab, 0);
    putLe16(cab, 0);
    putLe32(cab, dataOffset); // the folder: its data block, one of them, stored
    putLe16(cab, 1);
    putLe16(cab, 0);
    cab += files;
    putLe32(cab, 0); // no checksum
    putLe16(cab, uint32_t(data.size()));
    putLe16(cab, uint32_t(data.size()));
    return cab + data;
}

class ArchiveListingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString& name) const { return dir.filePath(name); }

    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        EXPECT_EQ(f.write(bytes), bytes.size());
        return path(name);
    }

    QByteArray read(const QString& file) const
    {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    // The three sample files that the archiver tools pack: src/main.c (6 bytes),
    // src/sub/x,y.txt (10 bytes) and top.txt (4 bytes).
    void writeSampleTree() const
    {
        ASSERT_TRUE(QDir(dir.path()).mkpath("src/sub"));
        write("src/main.c", "hello\n");
        write("src/sub/x,y.txt", "abcdefghij");
        write("top.txt", "top\n");
    }

    // Runs an archiver in the temporary folder; false with a message when it is not installed.
    bool runTool(const QString& program, const QStringList& arguments)
    {
        if (QStandardPaths::findExecutable(program).isEmpty())
            return false;
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, arguments);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAll().toStdString();
        return true;
    }

    // Every prefix of a valid archive, and some garbage: nothing may crash or hang, and each
    // result must be either `onFailure` or a prefix of the full listing.
    void expectCutsAreSafe(const QByteArray& whole, const Lines& full, const Lines& onFailure,
        const std::function<Lines(const QString&)>& list)
    {
        for (qsizetype cut = 0; cut < whole.size(); ++cut) {
            const Lines got = list(write("cut", whole.left(cut)));
            if (got == onFailure)
                continue;
            ASSERT_LE(got.size(), full.size()) << "cut at " << cut;
            EXPECT_TRUE(std::equal(got.begin(), got.end(), full.begin())) << "cut at " << cut;
        }
    }

    QTemporaryDir dir;
};

} // namespace

TEST(ArchiveListingLine, SplitsAtTheLastSeparatorAndReplacesCommas)
{
    struct Case {
        const char* path;
        char separator;
        uint64_t size;
        const char* line;
    };
    const Case cases[] = {
        {"docs\\a,b.txt", '\\', 12, "a_b.txt,docs,12"},
        {"readme.txt", '\\', 5, "readme.txt, ,5"},
        {"src/main.c", '/', 6, "main.c,src,6"},
        {"a,1\\b,2\\c,3", '\\', 0, "c_3,a_1\\b_2,0"},
        {"src/main.c", '\\', 6, "src/main.c, ,6"}, // only the format's own separator splits
        {"dir\\", '\\', 0, ",dir,0"},
        {"big.iso", '\\', 18446744073709551615ull, "big.iso, ,18446744073709551615"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(archiveListingLine(c.path, c.separator, c.size), c.line) << c.path;
}

TEST_F(ArchiveListingTest, RarListsMembersWithBackslashFoldersAndFullSizes)
{
    const QByteArray rar = rarArchive({
        {"docs\\a,b.txt", "hello world!", 12},
        {"top.bin", {}, 5 * (uint64_t(1) << 30) + 7},
        {"docs\\sub", {}, 0, true},
        {"caf\xe9.txt", "x", 1},
    });
    const Lines expected {
        "a_b.txt,docs,12",
        "top.bin, ,5368709127",
        "sub,docs,0", // directories are listed like files
        "caf\xe9.txt, ,1", // a name that is not UTF-8 keeps its bytes
    };
    EXPECT_EQ(listRarArchive(write("a.rar", rar)), expected);
    expectCutsAreSafe(rar, expected, {}, listRarArchive);
}

TEST_F(ArchiveListingTest, UnreadableRarGivesAnEmptyListing)
{
    EXPECT_EQ(listRarArchive(path("missing.rar")), Lines {});
    EXPECT_EQ(listRarArchive(write("empty.rar", {})), Lines {});
    EXPECT_EQ(listRarArchive(write("junk.rar", QByteArray(3000, '\x5a'))), Lines {});
    // A ZIP named .rar is not read as a ZIP.
    EXPECT_EQ(listRarArchive(write("zip.rar", QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'))), Lines {});
}

TEST_F(ArchiveListingTest, ZipSkipsDirectoriesAndKeepsCentralDirectoryOrder)
{
    const QString file = path("a.zip");
    int error = 0;
    zip_t* za = zip_open(QFile::encodeName(file).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(za, nullptr);
    const auto add = [&](const char* name, const char* text) {
        zip_source_t* src = zip_source_buffer(za, text, strlen(text), 0);
        ASSERT_GE(zip_file_add(za, name, src, ZIP_FL_ENC_UTF_8), 0) << name;
    };
    ASSERT_GE(zip_dir_add(za, "x/", 0), 0);
    ASSERT_GE(zip_dir_add(za, "x/y/", 0), 0);
    add("x/y/z.bin", "0123456789");
    add("top,level.txt", "abc");
    add("x/a,b/c,d.txt", "");
    add("d\xc3\xadr/\xc3\xbc.txt", "12345");
    ASSERT_EQ(zip_close(za), 0);

    const Lines expected {
        "z.bin,x\\y,10",
        "top_level.txt, ,3",
        "c_d.txt,x\\a_b,0",
        "\xc3\xbc.txt,d\xc3\xadr,5",
    };
    EXPECT_EQ(listZipArchive(file), expected);
    expectCutsAreSafe(read(file), expected, ErrorListing, listZipArchive);
}

TEST_F(ArchiveListingTest, ZipThatCannotBeOpenedGivesTheErrorLineButAnEmptyZipDoesNot)
{
    EXPECT_EQ(listZipArchive(path("missing.zip")), ErrorListing);
    EXPECT_EQ(listZipArchive(write("empty.zip", {})), ErrorListing);
    EXPECT_EQ(listZipArchive(write("junk.zip", QByteArray(5000, '\x11'))), ErrorListing);
    const QByteArray endRecordOnly = QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0');
    EXPECT_EQ(listZipArchive(write("none.zip", endRecordOnly)), Lines {});
}

TEST_F(ArchiveListingTest, LhaFromJlhaKeepsSlashFoldersAndSkipsDirectories)
{
    writeSampleTree();
    // jlha stores the folder src/sub/ as an entry of its own before its file.
    if (!runTool("jlha", {"a", "t.lzh", "src/sub", "src/main.c", "top.txt"}))
        GTEST_SKIP() << "jlha (jlha-utils) is not installed";
    const Lines expected {"x_y.txt,src/sub,10", "main.c,src,6", "top.txt, ,4"};
    EXPECT_EQ(listLhaArchive(path("t.lzh")), expected);
    expectCutsAreSafe(read(path("t.lzh")), expected, ErrorListing, listLhaArchive);
}

TEST_F(ArchiveListingTest, LhaNamesKeepTheirStoredBytes)
{
    // Western and Japanese names as an old archiver wrote them: neither is UTF-8.
    const QByteArray lzh = lhaLevel2("d\xe9j\xff", "caf\xe9.txt", "abc") + lhaLevel2({}, "\x93\xfa\x96\x7b.txt", "")
        + lhaLevel2("only\xff", {}, {}, true) + QByteArray(1, '\0');
    const Lines expected {"caf\xe9.txt,d\xe9j,3", "\x93\xfa\x96\x7b.txt, ,0"};
    EXPECT_EQ(listLhaArchive(write("names.lzh", lzh)), expected);
}

TEST_F(ArchiveListingTest, UnreadableOrEmptyLhaGivesTheErrorLine)
{
    EXPECT_EQ(listLhaArchive(path("missing.lzh")), ErrorListing);
    EXPECT_EQ(listLhaArchive(write("empty.lzh", {})), ErrorListing);
    EXPECT_EQ(listLhaArchive(write("junk.lzh", QByteArray(4000, '\x2d'))), ErrorListing);
    // An archive with nothing but its end mark, and one with only a folder.
    EXPECT_EQ(listLhaArchive(write("end.lzh", QByteArray(1, '\0'))), ErrorListing);
    EXPECT_EQ(listLhaArchive(write("dir.lzh", lhaLevel2("d\xff", {}, {}, true) + QByteArray(1, '\0'))), ErrorListing);
}

TEST_F(ArchiveListingTest, ArjFromTheArjToolUsesBackslashFolders)
{
    writeSampleTree();
    // The first name must be a file: arj takes a leading folder for the base folder.
    if (!runTool("arj", {"a", "-y", "t.arj", "src/main.c", "src/sub/x,y.txt", "top.txt"}))
        GTEST_SKIP() << "arj is not installed";
    const Lines expected {"main.c,src,6", "x_y.txt,src\\sub,10", "top.txt, ,4"};
    EXPECT_EQ(listArjArchive(path("t.arj")), expected);
    expectCutsAreSafe(read(path("t.arj")), expected, ErrorListing, listArjArchive);
}

TEST_F(ArchiveListingTest, UnreadableOrEmptyArjGivesTheErrorLine)
{
    EXPECT_EQ(listArjArchive(path("missing.arj")), ErrorListing);
    EXPECT_EQ(listArjArchive(write("empty.arj", {})), ErrorListing);
    EXPECT_EQ(listArjArchive(write("junk.arj", QByteArray(4000, '\x60'))), ErrorListing);
}

TEST_F(ArchiveListingTest, CabFromGcabUsesBackslashFolders)
{
    writeSampleTree();
    if (!runTool("gcab", {"-c", "t.cab", "src/main.c", "src/sub/x,y.txt", "top.txt"}))
        GTEST_SKIP() << "gcab is not installed";
    const Lines expected {"main.c,src,6", "x_y.txt,src\\sub,10", "top.txt, ,4"};
    EXPECT_EQ(listCabArchive(path("t.cab")), expected);
}

TEST_F(ArchiveListingTest, CabNamesKeepTheirStoredBytes)
{
    const QByteArray cab = cabArchive({{"d\xe9\\f,g.txt", "yy"}, {"caf\xe9.txt", "x"}, {"a\\b\\c.txt", "zzz"}});
    const Lines expected {"f_g.txt,d\xe9,2", "caf\xe9.txt, ,1", "c.txt,a\\b,3"};
    EXPECT_EQ(listCabArchive(write("names.cab", cab)), expected);
}

TEST_F(ArchiveListingTest, TruncatedUnreadableOrEmptyCabGivesTheErrorLine)
{
    writeSampleTree();
    if (!runTool("gcab", {"-c", "t.cab", "src/main.c", "src/sub/x,y.txt", "top.txt"}))
        GTEST_SKIP() << "gcab is not installed";
    const QByteArray cab = read(path("t.cab"));
    // libarchive alone would list every member of a cabinet whose data is cut off.
    for (qsizetype cut = 0; cut < cab.size(); ++cut)
        EXPECT_EQ(listCabArchive(write("cut.cab", cab.left(cut))), ErrorListing) << "cut at " << cut;

    EXPECT_EQ(listCabArchive(path("missing.cab")), ErrorListing);
    EXPECT_EQ(listCabArchive(write("junk.cab", QByteArray(4000, '\x4d'))), ErrorListing);
    // A header of 36 bytes declaring no folder and no file.
    QByteArray none("MSCF", 4);
    putLe32(none, 0);
    putLe32(none, 36);
    putLe32(none, 0);
    putLe32(none, 36);
    putLe32(none, 0);
    none.append(char(3));
    none.append(char(1));
    none += QByteArray(10, '\0');
    ASSERT_EQ(none.size(), 36);
    EXPECT_EQ(listCabArchive(write("none.cab", none)), ErrorListing);
}
