#include "scan/Mp3Data.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumidex;

namespace {

// MPEG-1 layer III, 128 kbit/s, 44100 Hz, joint stereo, no CRC: a 417-byte frame.
constexpr uint32_t Mpeg1Layer3 = 0xFFFB9040;
// MPEG-1 layer III, 64 kbit/s, 48000 Hz, mono.
constexpr uint32_t Mpeg1Layer3Mono = 0xFFFB54C0;

QByteArray word(uint32_t w)
{
    QByteArray out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((w >> shift) & 0xFF));
    return out;
}

// A whole frame: the header and a body of zeros as long as the header says.
QByteArray frame(uint32_t w)
{
    const auto h = MpegFrameHeader::decode(w);
    EXPECT_TRUE(h);
    return word(w) + QByteArray(h ? h->frameBodyLength : 0, '\0');
}

std::optional<FoundFrame> find(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    EXPECT_TRUE(buffer.open(QIODevice::ReadOnly));
    return FindFirstFrame(buffer);
}

QByteArray field(const QByteArray& value, int width)
{
    return value.left(width) + QByteArray(width - std::min<int>(width, int(value.size())), '\0');
}

QByteArray id3v1(const QByteArray& title, const QByteArray& artist, const QByteArray& album, const QByteArray& year,
    const QByteArray& comment, uint8_t genre)
{
    QByteArray tag = "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4)
        + field(comment, 30);
    tag.append(char(genre));
    return tag;
}

class Mp3FileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    QTemporaryDir dir;
};

} // namespace

TEST(MpegFrameHeader, DecodesVersionsLayersAndFrameLengths)
{
    struct Case {
        uint32_t word;
        int layer, lsf, kbps, hz, mode, body;
    };
    const Case cases[] = {
        {0xFFFB9040, 3, 0, 128, 44100, 1, 413},        // 144000*128/44100 - 4
        {0xFFFB9240, 3, 0, 128, 44100, 1, 414},        // padded
        {0xFFF3A4C0, 3, 1, 96, 24000, 3, 284},         // MPEG-2: 144000*96/48000 - 4
        {0xFFE38800, 3, 1, 64, 8000, 0, 572},          // MPEG 2.5: 144000*64/16000 - 4
        {0xFFE78400, 1, 1, 128, 12000, 0, 508},        // MPEG 2.5 layer I: (12000*128/12000)*4 - 4
        {0xFFFDA080, 2, 0, 192, 44100, 2, 622},        // layer II: 144000*192/44100 - 4
        {0xFFFFE0C0, 1, 0, 448, 44100, 3, 480},        // layer I: (12000*448/44100)*4 - 4
        {0xFFF5E000, 2, 1, 160, 22050, 0, 1040},       // MPEG-2 layer II shares the layer III row
    };
    for (const Case& c : cases) {
        const auto h = MpegFrameHeader::decode(c.word);
        ASSERT_TRUE(h) << std::hex << c.word;
        EXPECT_EQ(h->layer, c.layer) << std::hex << c.word;
        EXPECT_EQ(h->lsf, c.lsf) << std::hex << c.word;
        EXPECT_EQ(h->bitrateKbps, c.kbps) << std::hex << c.word;
        EXPECT_EQ(h->frequencyHz, c.hz) << std::hex << c.word;
        EXPECT_EQ(h->mode, c.mode) << std::hex << c.word;
        EXPECT_EQ(h->frameBodyLength, c.body) << std::hex << c.word;
    }
}

TEST(MpegFrameHeader, RejectsInvalidWords)
{
    const uint32_t invalid[] = {
        0xFFDB9040, // a sync bit missing
        0xFFF99040, // layer bits 0
        0xFFFBF040, // bitrate index 15
        0xFFFB0040, // bitrate index 0 (free format)
        0xFFFB9C40, // sampling index 3
        0xFFFE9040, // top half 0xFFFE: MPEG-1 layer I with CRC, also the start of a UTF-16 BOM
        0x00000000,
    };
    for (uint32_t w : invalid)
        EXPECT_FALSE(MpegFrameHeader::decode(w)) << std::hex << w;
}

TEST(FindFirstFrame, TakesAValidWordAtTheStartAtOnce)
{
    const auto found = find(word(Mpeg1Layer3));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->offset, 0);
    EXPECT_EQ(found->header.bitrateKbps, 128);
}

TEST(FindFirstFrame, SkipsAnId3v2TagByItsSyncSafeSize)
{
    // Size bytes 00 00 02 01 make 257: the search goes on at 10 + 257. The tag body holds a
    // different valid header that a wrong skip would land on or slide into.
    QByteArray bytes = QByteArray("ID3\x03\x00\x00", 6) + QByteArray("\x00\x00\x02\x01", 4);
    QByteArray body(257, '\x01');
    body.replace(100, 4, word(Mpeg1Layer3Mono));
    body.replace(253, 4, word(Mpeg1Layer3Mono));
    bytes += body;
    ASSERT_EQ(bytes.size(), 267);
    bytes += frame(Mpeg1Layer3) + frame(Mpeg1Layer3);

    const auto found = find(bytes);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->offset, 267);
    EXPECT_EQ(found->header.word, Mpeg1Layer3);
}

TEST(FindFirstFrame, SkipsARiffHeader)
{
    // "RIFF" and 66 more bytes; a header placed anywhere inside them must not be taken.
    QByteArray bytes("RIFF");
    QByteArray rest(66, '\x02');
    rest.replace(20, 4, word(Mpeg1Layer3Mono));
    bytes += rest + frame(Mpeg1Layer3);
    const auto found = find(bytes);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->offset, 70);
    EXPECT_EQ(found->header.word, Mpeg1Layer3);
}

TEST(FindFirstFrame, ASlidHeaderCountsOnlyWhenTheNextFrameFollows)
{
    // Junk, then a false sync (a valid word followed by junk where its next frame should be),
    // then two real frames.
    QByteArray bytes = QByteArray(37, '\x05') + word(Mpeg1Layer3Mono) + QByteArray(400, '\x05');
    const qsizetype real = bytes.size();
    bytes += frame(Mpeg1Layer3) + frame(Mpeg1Layer3);

    const auto found = find(bytes);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->header.word, Mpeg1Layer3);
    EXPECT_EQ(found->offset, real + 417); // the confirming word
}

TEST(FindFirstFrame, EndsWithoutAHeaderWhenTheDataRunsOut)
{
    EXPECT_FALSE(find({}));
    EXPECT_FALSE(find("\xff\xfb\x90"));
    // A sliding search that finds nothing within its 65536 bytes, or before the end.
    EXPECT_FALSE(find(QByteArray(200000, '\0')));
    EXPECT_FALSE(find(QByteArray(1000, '\x05')));
    // An ID3v2 tag larger than the file, a size read cut off, a RIFF header with nothing after it.
    EXPECT_FALSE(find(QByteArray("ID3\x03\x00\x00\x7f\x7f\x7f\x7f", 10) + frame(Mpeg1Layer3)));
    EXPECT_FALSE(find(QByteArray("ID3\x03\x00\x00\x00", 7)));
    EXPECT_FALSE(find("RIFF"));
    // A slid header whose frame runs past the end.
    EXPECT_FALSE(find(QByteArray(10, '\x05') + word(Mpeg1Layer3) + QByteArray(100, '\0')));
}

TEST(Mp3Genre, TableHasTheNamedSpellings)
{
    EXPECT_EQ(id3v1GenreName(0), "Blues");
    EXPECT_EQ(id3v1GenreName(40), "Alt. Rock");
    EXPECT_EQ(id3v1GenreName(79), "Hard Rock");
    EXPECT_EQ(id3v1GenreName(133), "Negerpunk");
    EXPECT_EQ(id3v1GenreName(147), "Synthpop");
    EXPECT_EQ(id3v1GenreName(148), "");
    EXPECT_EQ(id3v1GenreName(-1), "");
}

TEST(Mp3DefaultTitle, CutsTheExtensionAndLengthAndBlanksUnderscores)
{
    EXPECT_EQ(defaultMp3Title("My_Song.Mp3"), "My Song");
    EXPECT_EQ(defaultMp3Title("a.b.MP3"), "a.b");
    EXPECT_EQ(defaultMp3Title("track.mp3.bak"), "track.mp3.bak"); // the last dot is followed by "bak"
    EXPECT_EQ(defaultMp3Title("track.mp3x"), "track");             // three characters after the dot
    EXPECT_EQ(defaultMp3Title("tune.mp"), "tune.mp");
    EXPECT_EQ(defaultMp3Title("0123456789_123456789_123456789_extra.mp3"), "0123456789 123456789 123456789");
    // A UTF-8 name is cut after 30 characters, not inside one.
    std::string umlauts;
    for (int i = 0; i < 40; ++i)
        umlauts += "\xc3\xbc";
    EXPECT_EQ(defaultMp3Title(umlauts + ".mp3"), umlauts.substr(0, 60));
    // Other bytes are cut after 30 bytes.
    EXPECT_EQ(defaultMp3Title(std::string(40, '\xfc')), std::string(30, '\xfc'));
}

TEST(Mp3InfoLineFields, BuildAndSplitFollowTheLineRules)
{
    Mp3Fields fields {"a~b.mp3", "128", "44100", "Joint-stereo", "A~B", "", "Album", "2004", "~", ""};
    const std::string line = buildMp3InfoLine(fields);
    EXPECT_EQ(line, "a_b.mp3~128~44100~Joint-stereo~A_B~ ~Album~2004~_~ ~");

    const Mp3Fields back = splitMp3InfoLine(line);
    EXPECT_EQ(back[Mp3Field::FileName], "a_b.mp3");
    EXPECT_EQ(back[Mp3Field::Artist], " ");
    EXPECT_EQ(back[Mp3Field::Genre], " ");
    EXPECT_EQ(buildMp3InfoLine(back), line);

    // Empty pieces are skipped, so later values move forward; missing ones stay empty, extra
    // ones are dropped.
    const Mp3Fields shifted = splitMp3InfoLine("~~f.mp3~~128~");
    EXPECT_EQ(shifted[Mp3Field::FileName], "f.mp3");
    EXPECT_EQ(shifted[Mp3Field::Bitrate], "128");
    EXPECT_EQ(shifted[Mp3Field::Frequency], "");
    const Mp3Fields extra = splitMp3InfoLine("1~2~3~4~5~6~7~8~9~10~11~");
    EXPECT_EQ(extra[Mp3Field::Genre], "10");
}

TEST_F(Mp3FileTest, TaggedFileGivesTheFullLine)
{
    const QByteArray tag = id3v1("Title~One   ", "    ", "Album\t\r\n", "2004", QByteArray("Comment\0\x07", 9), 147);
    const QString file = write("track.mp3", frame(Mpeg1Layer3) + frame(Mpeg1Layer3) + tag);
    EXPECT_EQ(Mp3InfoLine(file), "track.mp3~128~44100~Joint-stereo~Title_One~ ~Album~2004~Comment~Synthpop~");
}

TEST_F(Mp3FileTest, TagFieldRules)
{
    struct Case {
        QByteArray tag;
        Mp3Fields expected; // the tag fields only: title to genre
    };
    const QByteArray yearNuls(4, '\0');
    const Case cases[] = {
        {id3v1("T", "A", "B", "1999", "C", 148), {"", "", "", "", "T", "A", "B", "1999", "C", ""}},
        {id3v1("T", "A", "B", "1999", "C", 255), {"", "", "", "", "T", "A", "B", "1999", "C", ""}},
        {id3v1("T", "A", "B", yearNuls, "C", 0), {"", "", "", "", "T", "A", "B", "", "C", "Blues"}},
        // Every field at its full width, no NUL: nothing of the neighbour leaks in.
        {id3v1(QByteArray(30, 't'), QByteArray(30, 'a'), QByteArray(30, 'b'), "2020", QByteArray(30, 'c'), 17),
            {"", "", "", "", std::string(30, 't'), std::string(30, 'a'), std::string(30, 'b'), "2020",
                std::string(30, 'c'), "Rock"}},
    };
    for (const Case& c : cases) {
        const Mp3Fields got = readMp3Fields(write("t.mp3", word(Mpeg1Layer3) + c.tag));
        for (int f = Mp3Field::Title; f <= Mp3Field::Genre; ++f)
            EXPECT_EQ(got[size_t(f)], c.expected[size_t(f)]) << "field " << f << " of " << c.tag.toHex().toStdString();
    }
}

TEST_F(Mp3FileTest, TagNeedsAFileLongerThanTheTag)
{
    // 128 bytes: all tag, no audio: read as untagged.
    const QByteArray tag = id3v1("Tagged", "Artist", "", "", "", 1);
    const Mp3Fields exact = readMp3Fields(write("Exact_Size.mp3", tag));
    EXPECT_EQ(exact[Mp3Field::Title], "Exact Size");
    EXPECT_EQ(exact[Mp3Field::Artist], "");

    const Mp3Fields longer = readMp3Fields(write("One_More.mp3", "x" + tag));
    EXPECT_EQ(longer[Mp3Field::Title], "Tagged");
    EXPECT_EQ(longer[Mp3Field::Artist], "Artist");
    EXPECT_EQ(longer[Mp3Field::Genre], "Classic Rock");
}

TEST_F(Mp3FileTest, FileWithoutFrameOrTagStoresZerosAndABlankMode)
{
    EXPECT_EQ(Mp3InfoLine(write("My_Song.Mp3", QByteArray(5000, '\x05'))), "My_Song.Mp3~0~0~ ~My Song~ ~ ~ ~ ~ ~");
    // A file that cannot be read at all gives the same line.
    EXPECT_EQ(Mp3InfoLine(dir.filePath("gone.mp3")), "gone.mp3~0~0~ ~gone~ ~ ~ ~ ~ ~");
}

TEST_F(Mp3FileTest, FindsTheFrameBehindAnId3v2Tag)
{
    const QByteArray id3v2 = QByteArray("ID3\x04\x00\x00\x00\x00\x00\x14", 10) + QByteArray(20, '\xff');
    const QString file = write("v2.mp3", id3v2 + frame(Mpeg1Layer3Mono) + frame(Mpeg1Layer3Mono));
    const Mp3Fields got = readMp3Fields(file);
    EXPECT_EQ(got[Mp3Field::Bitrate], "64");
    EXPECT_EQ(got[Mp3Field::Frequency], "48000");
    EXPECT_EQ(got[Mp3Field::Mode], "Mono");
}
