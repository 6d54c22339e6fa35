#include "scan/TextDescription.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumidex;

namespace {

using Lines = std::vector<std::string>;

class TextDescriptionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    Lines read(const QByteArray& bytes)
    {
        const QString path = dir.filePath("d.txt");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        EXPECT_EQ(f.write(bytes), bytes.size());
        f.close();
        return ReadTextDescription(path);
    }

    QTemporaryDir dir;
};

std::string xs(size_t n) { return std::string(n, 'x'); }

} // namespace

TEST_F(TextDescriptionTest, LinesPiecesAndTheTextModeRules)
{
    struct Case {
        const char* what;
        QByteArray input;
        Lines expected;
    };
    const Case cases[] = {
        {"empty file", "", {"\n"}},
        {"last line without LF", "A\nB", {"A\n", "B\n"}},
        {"final LF adds nothing", "A\n", {"A\n"}},
        {"blank lines", "\n\nC\n", {"\n", "\n", "C\n"}},
        {"CR LF", "A\r\nB\r\n", {"A\n", "B\n"}},
        {"lone CR stays", "A\rB\r\r\n", {"A\rB\r\n"}},
        {"0x1A ends the text", QByteArray("A\nB\x1A" "C\n"), {"A\n", "B\n"}},
        {"0x1A first", QByteArray("\x1A" "ABC"), {}},
        {"bytes kept", QByteArray("caf\xe9\0z\n", 7), {std::string("caf\xe9\0z\n", 7)}},
        {"600 characters", QByteArray(600, 'x'), {xs(255) + "\n", xs(255) + "\n", xs(90) + "\n"}},
        {"254 and LF fit one piece", QByteArray(254, 'x') + "\n", {xs(254) + "\n"}},
        {"255 and LF", QByteArray(255, 'x') + "\n", {xs(255) + "\n", "\n"}},
        // The read stops at the file's end without running into it: one more LF line.
        {"exactly two pieces", QByteArray(510, 'x'), {xs(255) + "\n", xs(255) + "\n", "\n"}},
        {"CR LF counted as one", QByteArray(254, 'x') + "\r\nY", {xs(254) + "\n", "Y\n"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(read(c.input), c.expected) << c.what;
}

TEST_F(TextDescriptionTest, StreamsAcrossReadChunks)
{
    // Lines of CR LF whose CR falls on the last byte of a 64 KiB read, twice, and a last line
    // whose 255-byte piece ends exactly at the end of the file.
    QByteArray bytes;
    Lines expected;
    const auto addLine = [&](size_t length) {
        const std::string body(length, char('a' + expected.size() % 26));
        bytes += QByteArray::fromStdString(body) + "\r\n";
        expected.push_back(body + "\n");
    };
    for (const qsizetype boundary : {qsizetype(65536), qsizetype(2 * 65536)}) {
        while (boundary - 1 - bytes.size() > 200)
            addLine(100);
        addLine(size_t(boundary - 1 - bytes.size()));
        ASSERT_EQ(bytes.at(boundary - 1), '\r');
    }
    bytes += QByteArray(255, 'z');
    expected.push_back(std::string(255, 'z') + "\n");
    expected.push_back("\n");
    EXPECT_EQ(read(bytes), expected);
}

TEST_F(TextDescriptionTest, MissingFileGivesNoLines)
{
    EXPECT_TRUE(ReadTextDescription(dir.filePath("nope.txt")).empty());
}
