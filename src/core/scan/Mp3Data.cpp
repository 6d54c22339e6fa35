#include "scan/Mp3Data.h"

#include "format/TextCodec.h"

#include <QFile>
#include <QIODevice>

namespace lumidex {

namespace {

// kbit/s by [lsf][layer - 1][bitrate index]; MPEG-2 and 2.5 share one row for layers II and III.
constexpr int BitrateTable[2][3][16] = {
    {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    },
    {
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    },
};

constexpr int FrequencyTable[9] = {44100, 48000, 32000, 22050, 24000, 16000, 11025, 12000, 8000};

constexpr std::string_view GenreNames[Id3v1GenreCount] = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz",
    "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno",
    "Industrial", "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno",
    "Ambient", "Trip-Hop", "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental",
    "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise", "Alt. Rock", "Bass", "Soul", "Punk",
    "Space", "Meditative", "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic", "Darkwave",
    "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream", "Southern Rock", "Comedy",
    "Cult", "Gangsta Rap", "Top 40", "Christian Rap", "Pop/Funk", "Jungle", "Native American",
    "Cabaret", "New Wave", "Psychedelic", "Rave", "Showtunes", "Trailer", "Lo-Fi", "Tribal",
    "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock", "Folk",
    "Folk/Rock", "National Folk", "Swing", "Fast-Fusion", "Bebob", "Latin", "Revival", "Celtic",
    "Bluegrass", "Avantgarde", "Gothic Rock", "Progressive Rock", "Psychedelic Rock",
    "Symphonic Rock", "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic", "Humour",
    "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass", "Primus",
    "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad",
    "Power Ballad", "Rhythmic Soul", "Freestyle", "Duet", "Punk Rock", "Drum Solo", "A Cappella",
    "Euro-House", "Dance Hall", "Goa", "Drum & Bass", "Club-House", "Hardcore", "Terror", "Indie",
    "BritPop", "Negerpunk", "Polsk Punk", "Beat", "Christian Gangsta Rap", "Heavy Metal",
    "Black Metal", "Crossover", "Contemporary Christian", "Christian Rock", "Merengue", "Salsa",
    "Thrash Metal", "Anime", "JPop", "Synthpop",
};

constexpr uint32_t RiffWord = 0x52494646; // "RIFF"
constexpr uint32_t Id3Bits = 0x49443300;  // "ID3" in the upper three bytes
constexpr int RiffSkip = 66;
constexpr int MaxSlide = 65536;

// Positioned reads over a random-access device in chunks. Skips may run past the end; the next
// read then fails, which ends the search.
class FrameCursor {
public:
    explicit FrameCursor(QIODevice& device) : m_device(device), m_size(device.size()) {}

    int64_t position() const { return m_position; }
    void skip(int64_t count) { m_position += count; }

    bool readByte(uint8_t& out)
    {
        if (!load())
            return false;
        out = static_cast<uint8_t>(m_buffer[qsizetype(m_position - m_bufferStart)]);
        ++m_position;
        return true;
    }

    bool readWord(uint32_t& out)
    {
        uint32_t w = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b;
            if (!readByte(b))
                return false;
            w = (w << 8) | b;
        }
        out = w;
        return true;
    }

private:
    static constexpr qint64 ChunkSize = 64 * 1024;

    bool load()
    {
        if (m_position >= m_bufferStart && m_position < m_bufferStart + m_buffer.size())
            return true;
        if (m_position < 0 || m_position >= m_size || !m_device.seek(m_position))
            return false;
        m_buffer = m_device.read(std::min<qint64>(ChunkSize, m_size - m_position));
        m_bufferStart = m_position;
        return !m_buffer.isEmpty(); // empty: a read error before the end we were promised
    }

    QIODevice& m_device;
    int64_t m_size;
    int64_t m_position = 0;
    QByteArray m_buffer;
    int64_t m_bufferStart = 0;
};

// The last accepted word: a valid decode sets it, an invalid word with bitrate index 0 clears it.
struct SearchState {
    uint32_t lastAccepted = 0;

    std::optional<MpegFrameHeader> decode(uint32_t word)
    {
        auto header = MpegFrameHeader::decode(word);
        if (header)
            lastAccepted = word;
        else if (((word >> 12) & 0xF) == 0)
            lastAccepted = 0;
        return header;
    }
};

std::string lastPathComponent(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    const qsizetype slash = bytes.lastIndexOf('/');
    return bytes.mid(slash + 1).toStdString();
}

// The bytes up to the first NUL, without trailing blanks, tabs, CRs and LFs.
std::string tagText(const char* field, size_t width)
{
    size_t n = 0;
    while (n < width && field[n] != '\0')
        ++n;
    while (n > 0 && (field[n - 1] == ' ' || field[n - 1] == '\t' || field[n - 1] == '\r' || field[n - 1] == '\n'))
        --n;
    return std::string(field, n);
}

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

} // namespace

std::optional<MpegFrameHeader> MpegFrameHeader::decode(uint32_t word)
{
    if ((word >> 21) != 0x7FF)
        return std::nullopt;
    const int layerBits = int((word >> 17) & 3);
    const int bitrateIndex = int((word >> 12) & 0xF);
    const int samplingIndex = int((word >> 10) & 3);
    if (layerBits == 0 || bitrateIndex == 15 || bitrateIndex == 0 || samplingIndex == 3 || (word >> 16) == 0xFFFE)
        return std::nullopt;

    MpegFrameHeader h;
    h.word = word;
    h.versionBits = int((word >> 19) & 3);
    h.layer = 4 - layerBits;
    h.bitrateIndex = bitrateIndex;
    h.samplingIndex = samplingIndex;
    h.padding = int((word >> 9) & 1);
    h.mode = int((word >> 6) & 3);
    const bool mpeg25 = (word & (1u << 20)) == 0;
    h.lsf = h.versionBits == 3 ? 0 : 1;
    h.frequencyHz = FrequencyTable[mpeg25 ? 6 + samplingIndex : samplingIndex + 3 * h.lsf];
    h.bitrateKbps = BitrateTable[h.lsf][h.layer - 1][bitrateIndex];
    switch (h.layer) {
    case 1:
        h.frameBodyLength = (12000 * h.bitrateKbps / h.frequencyHz + h.padding) * 4 - 4;
        break;
    case 2:
        h.frameBodyLength = 144000 * h.bitrateKbps / h.frequencyHz + h.padding - 4;
        break;
    default:
        h.frameBodyLength = 144000 * h.bitrateKbps / (h.frequencyHz << h.lsf) + h.padding - 4;
        break;
    }
    return h;
}

std::optional<FoundFrame> FindFirstFrame(QIODevice& device)
{
    FrameCursor in(device);
    SearchState state;
    uint32_t word = 0;
    if (!in.readWord(word))
        return std::nullopt;
    // Every pass reads at least one byte or moves forward, so the search ends with the data.
    for (;;) {
        const int64_t wordOffset = in.position() - 4;
        if (word != 0 && word == state.lastAccepted)
            return FoundFrame {*MpegFrameHeader::decode(word), wordOffset};
        if (auto header = state.decode(word))
            return FoundFrame {*header, wordOffset};

        if (word == RiffWord) {
            in.skip(RiffSkip);
        } else if ((word & Id3Bits) == Id3Bits) {
            in.skip(2); // minor version and flags
            uint8_t size[4];
            for (uint8_t& b : size)
                if (!in.readByte(b))
                    return std::nullopt;
            in.skip(int64_t(size[0] & 0x7F) << 21 | int64_t(size[1] & 0x7F) << 14 | int64_t(size[2] & 0x7F) << 7
                | int64_t(size[3] & 0x7F));
        } else {
            std::optional<MpegFrameHeader> slid;
            for (int i = 0; i < MaxSlide && !slid; ++i) {
                uint8_t b;
                if (!in.readByte(b))
                    return std::nullopt;
                word = (word << 8) | b;
                slid = state.decode(word);
            }
            if (!slid)
                return std::nullopt;
            in.skip(slid->frameBodyLength);
        }
        if (!in.readWord(word))
            return std::nullopt;
    }
}

std::string_view id3v1GenreName(int genre)
{
    return genre >= 0 && genre < Id3v1GenreCount ? GenreNames[genre] : std::string_view();
}

std::string_view mpegModeName(int mode)
{
    static constexpr std::string_view Names[4] = {"Stereo", "Joint-stereo", "Dual-channel", "Mono"};
    return mode >= 0 && mode < 4 ? Names[mode] : std::string_view();
}

std::string defaultMp3Title(std::string_view fileName)
{
    std::string title(fileName);
    const size_t dot = title.rfind('.');
    if (dot != std::string::npos && title.size() - dot > 3) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(title[dot + 1]) == 'm' && lower(title[dot + 2]) == 'p' && title[dot + 3] == '3')
            title.resize(dot);
    }
    constexpr size_t MaxLength = 30;
    if (isValidUtf8(title)) {
        size_t characters = 0;
        size_t end = 0;
        while (end < title.size()) {
            if (!isContinuationByte(title[end]) && ++characters > MaxLength)
                break;
            ++end;
        }
        title.resize(end);
    } else if (title.size() > MaxLength) {
        title.resize(MaxLength);
    }
    for (char& c : title)
        if (c == '_')
            c = ' ';
    return title;
}

Mp3Fields readMp3Fields(const QString& path)
{
    Mp3Fields fields;
    fields[Mp3Field::FileName] = lastPathComponent(path);
    fields[Mp3Field::Bitrate] = std::string(1, '0'); // (a literal here trips a false -Wrestrict in GCC 12)
    fields[Mp3Field::Frequency] = std::string(1, '0');

    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (opened) {
        if (const auto found = FindFirstFrame(file)) {
            fields[Mp3Field::Bitrate] = std::to_string(found->header.bitrateKbps);
            fields[Mp3Field::Frequency] = std::to_string(found->header.frequencyHz);
            fields[Mp3Field::Mode] = std::string(mpegModeName(found->header.mode));
        }
    }

    constexpr qint64 TagSize = 128;
    QByteArray tag;
    if (opened && file.size() > TagSize && file.seek(file.size() - TagSize))
        tag = file.read(TagSize);
    if (tag.size() != TagSize || !tag.startsWith("TAG")) {
        fields[Mp3Field::Title] = defaultMp3Title(fields[Mp3Field::FileName]);
        return fields;
    }
    const char* t = tag.constData() + 3;
    fields[Mp3Field::Title] = tagText(t, 30);
    fields[Mp3Field::Artist] = tagText(t + 30, 30);
    fields[Mp3Field::Album] = tagText(t + 60, 30);
    fields[Mp3Field::Year] = tagText(t + 90, 4);
    fields[Mp3Field::Comment] = tagText(t + 94, 30);
    fields[Mp3Field::Genre] = std::string(id3v1GenreName(static_cast<unsigned char>(t[124])));
    return fields;
}

std::string buildMp3InfoLine(const Mp3Fields& fields)
{
    std::string line;
    for (const std::string& value : fields) {
        if (value.empty()) {
            line += ' ';
        } else {
            for (char c : value)
                line += c == '~' ? '_' : c;
        }
        line += '~';
    }
    return line;
}

Mp3Fields splitMp3InfoLine(std::string_view line)
{
    Mp3Fields fields;
    int next = 0;
    size_t start = 0;
    while (start <= line.size() && next < Mp3FieldCount) {
        size_t end = line.find('~', start);
        if (end == std::string_view::npos)
            end = line.size();
        if (end > start)
            fields[size_t(next++)] = std::string(line.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

std::string Mp3InfoLine(const QString& path)
{
    return buildMp3InfoLine(readMp3Fields(path));
}

} // namespace lumidex
