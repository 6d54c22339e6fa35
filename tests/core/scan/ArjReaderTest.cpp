#include "scan/ArjReader.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace lumidex;

namespace {

using test::putLe16;
using test::putLe32;

// Id, size, basic header, its CRC, then the given extended headers and the closing size 0.
QByteArray arjBlock(const QByteArray& basic, const QList<QByteArray>& extended = {})
{
    QByteArray out("\x60\xea", 2);
    putLe16(out, uint32_t(basic.size()));
    out += basic;
    putLe32(out, arjCrc32(basic.constData(), size_t(basic.size())));
    for (const QByteArray& ext : extended) {
        putLe16(out, uint32_t(ext.size()));
        out += ext;
        putLe32(out, arjCrc32(ext.constData(), size_t(ext.size())));
    }
    putLe16(out, 0);
    return out;
}

QByteArray mainHeader()
{
    QByteArray b;
    b.append(char(34)); // fixed part plus the four extra bytes of newer archivers
    b.append(char(11));
    b.append(char(1));
    b.append(char(2));
    b.append(char(0x10));
    b.append(char(0));
    b.append(char(2)); // main header
    b.append(char(0));
    b += QByteArray(26, '\0');
    b += QByteArray("t.arj\0\0", 7);
    return arjBlock(b);
}

QByteArray localHeader(const QByteArray& name, const QByteArray& data, uint32_t originalSize, uint8_t type = 0,
    const QList<QByteArray>& extended = {})
{
    QByteArray b;
    b.append(char(30));
    b.append(char(11));
    b.append(char(1));
    b.append(char(2));
    b.append(char(0));
    b.append(char(0));    // stored
    b.append(char(type));
    b.append(char(0));
    putLe32(b, 0x5A8C6C21); // time
    putLe32(b, uint32_t(data.size()));
    putLe32(b, originalSize);
    putLe32(b, arjCrc32(data.constData(), size_t(data.size())));
    putLe16(b, 0);
    putLe16(b, 0x11A4);
    b.append(char(0));
    b.append(char(0));
    b += name;
    b.append('\0');
    b.append('\0'); // empty comment
    return arjBlock(b, extended) + data;
}

const QByteArray EndOfArchive("\x60\xea\x00\x00", 4);

class ArjReaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString write(const QByteArray& bytes, const QString& name = "a.arj")
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    QTemporaryDir dir;
};

void expectMember(const ArjMember& m, const std::string& path, uint32_t size, uint8_t type)
{
    EXPECT_EQ(m.path, path);
    EXPECT_EQ(m.originalSize, size) << path;
    EXPECT_EQ(int(m.fileType), int(type)) << path;
}

} // namespace

TEST(ArjCrc32, MatchesTheStandardCheckValue)
{
    EXPECT_EQ(arjCrc32("123456789", 9), 0xCBF43926u);
}

TEST_F(ArjReaderTest, ReadsMembersBehindAStubWithDecoyHeaderIds)
{
    // A self-extractor stub with header ids whose sizes or CRCs are wrong.
    QByteArray stub("MZ");
    stub += QByteArray("\x60\xea\xff\xff", 4) + QByteArray(500, 'x') + QByteArray("\x60\xea\x20\x00", 4)
        + QByteArray(200, '\x60');
    const QByteArray archive = stub + mainHeader()
        + localHeader("docs/read me.txt", "hello", 5, ArjMember::Text, {QByteArray("extended data")})
        + localHeader("docs", {}, 0, ArjMember::Directory) + localHeader("big.dat", "xyz", 0xFFFFFFFFu)
        + EndOfArchive + QByteArray("trailing junk");

    const auto members = readArjMembers(write(archive));
    ASSERT_TRUE(members);
    ASSERT_EQ(members->size(), 3u);
    expectMember((*members)[0], "docs/read me.txt", 5, ArjMember::Text);
    expectMember((*members)[1], "docs", 0, ArjMember::Directory);
    expectMember((*members)[2], "big.dat", 0xFFFFFFFFu, ArjMember::Binary);
}

TEST_F(ArjReaderTest, ListingEndsAtTheFirstDamagedHeader)
{
    const QByteArray first = mainHeader() + localHeader("a.txt", "1", 1);
    QByteArray second = localHeader("b.txt", "22", 2);
    second[12] = char(second[12] ^ 0x01); // inside the basic header: its CRC no longer matches
    const auto members = readArjMembers(write(first + second + localHeader("c.txt", "333", 3) + EndOfArchive));
    ASSERT_TRUE(members);
    ASSERT_EQ(members->size(), 1u);
    EXPECT_EQ((*members)[0].path, "a.txt");

    // A header claiming more than the format's 2600 bytes is not read either.
    QByteArray oversized("\x60\xea", 2);
    putLe16(oversized, 2601);
    oversized += QByteArray(2605, '\0');
    const auto stopped = readArjMembers(write(first + oversized));
    ASSERT_TRUE(stopped);
    EXPECT_EQ(stopped->size(), 1u);
}

TEST_F(ArjReaderTest, EveryTruncationGivesAPrefixOfTheMembers)
{
    const QByteArray archive = mainHeader() + localHeader("one.bin", QByteArray(40, 'a'), 40)
        + localHeader("dir/two.bin", QByteArray(70, 'b'), 70) + EndOfArchive;
    const auto full = readArjMembers(write(archive));
    ASSERT_TRUE(full);
    ASSERT_EQ(full->size(), 2u);

    for (qsizetype cut = 0; cut < archive.size(); ++cut) {
        const auto got = readArjMembers(write(archive.left(cut)));
        if (!got)
            continue; // the main header itself was cut
        ASSERT_LE(got->size(), full->size()) << "cut at " << cut;
        for (size_t i = 0; i < got->size(); ++i)
            EXPECT_EQ((*got)[i].path, (*full)[i].path) << "cut at " << cut;
    }
    // A member whose data is cut off is still listed: its header was complete.
    const auto dataCut = readArjMembers(write(archive.left(archive.size() - 4 - 10)));
    ASSERT_TRUE(dataCut);
    EXPECT_EQ(dataCut->size(), 2u);
}

TEST_F(ArjReaderTest, NoMainHeaderMeansNoArchive)
{
    EXPECT_FALSE(readArjMembers(dir.filePath("missing.arj")));
    EXPECT_FALSE(readArjMembers(write({})));
    // A local header alone is not an archive.
    EXPECT_FALSE(readArjMembers(write(localHeader("a.txt", "1", 1) + EndOfArchive)));

    std::mt19937 random(20240611);
    QByteArray junk;
    for (int i = 0; i < 200000; ++i)
        junk.append(i % 97 == 0 ? '\x60' : i % 97 == 1 ? '\xea' : char(random()));
    EXPECT_FALSE(readArjMembers(write(junk)));
}

TEST_F(ArjReaderTest, ReadsAnArchiveOfTheArjTool)
{
    if (QStandardPaths::findExecutable("arj").isEmpty())
        GTEST_SKIP() << "arj is not installed";
    write("12345", "five.txt");
    write(QByteArray(3000, 'z'), "zeds.bin");
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start("arj", {"a", "-y", "tool.arj", "five.txt", "zeds.bin"});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0);

    const auto members = readArjMembers(dir.filePath("tool.arj"));
    ASSERT_TRUE(members);
    ASSERT_EQ(members->size(), 2u);
    expectMember((*members)[0], "five.txt", 5, ArjMember::Binary);
    expectMember((*members)[1], "zeds.bin", 3000, ArjMember::Binary);
}
