#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class QIODevice;

namespace lumidex {

// An MPEG audio frame header (MPEG-1, MPEG-2 and MPEG 2.5; layers I to III), decoded from the
// big-endian 32-bit word that starts a frame.
struct MpegFrameHeader {
    uint32_t word = 0;
    int versionBits = 0;  // bits 20..19: 0 and 1 MPEG 2.5, 2 MPEG-2, 3 MPEG-1
    int layer = 0;        // 1..3
    int bitrateIndex = 0; // 1..14
    int samplingIndex = 0; // 0..2
    int padding = 0;
    int mode = 0;         // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
    int lsf = 0;          // 0 for MPEG-1, 1 for MPEG-2 and 2.5
    int bitrateKbps = 0;
    int frequencyHz = 0;
    int frameBodyLength = 0; // bytes after the 4-byte header

    // nullopt unless the word has all sync bits, a layer, a bitrate index other than 0 (free
    // format) and 15, a sampling index other than 3, and its top half is not 0xFFFE.
    static std::optional<MpegFrameHeader> decode(uint32_t word);
};

struct FoundFrame {
    MpegFrameHeader header;
    int64_t offset = 0; // where the accepted word was read
};

// The first frame header of an MP3 file, searched from the device's start: a valid word read at
// a frame boundary is taken at once; "RIFF" skips 70 bytes in all, an ID3v2 header skips its
// tag; otherwise the search slides byte by byte (at most 65536 bytes per slide) to a valid word
// and accepts it only when the word after its frame is valid too. Every read is bounded by the
// device; running out of data, or a read error, means no header.
std::optional<FoundFrame> FindFirstFrame(QIODevice& device);

// The ten fields of the stored MP3 line, in line order; Mp3Field::Title indexes Mp3Fields.
namespace Mp3Field {
enum : int { FileName, Bitrate, Frequency, Mode, Title, Artist, Album, Year, Comment, Genre };
}
inline constexpr int Mp3FieldCount = 10;
using Mp3Fields = std::array<std::string, Mp3FieldCount>;

// Genre names by ID3 version 1 genre byte, 0 to 147; empty for any other value.
std::string_view id3v1GenreName(int genre);
inline constexpr int Id3v1GenreCount = 148;

// "Stereo", "Joint-stereo", "Dual-channel", "Mono" for modes 0..3.
std::string_view mpegModeName(int mode);

// The field values read from an MP3 file, before the line's rules are applied:
// - file name: the last component of the path, as bytes;
// - bitrate, frequency, mode from the first frame header. Without one, bitrate and frequency are
//   "0" and mode is empty (stored as a blank): nothing is looked up in the tables;
// - title, artist, album, year, comment, genre from an ID3 version 1 tag (the 128 bytes at the
//   end of a file of at least 129 bytes, starting with "TAG"): each text is cut at its first NUL
//   and loses trailing blanks, tabs, CRs and LFs; the genre byte names a genre below 148. Without
//   a tag the title is the default title (below) and the other five are empty.
Mp3Fields readMp3Fields(const QString& path);

// The title of an untagged file: its name, cut at the last "." when "MP3" follows it in any case,
// at most 30 characters (code points when the name is valid UTF-8, so that a multi-byte character
// is never split; bytes otherwise), with every "_" made a blank.
std::string defaultMp3Title(std::string_view fileName);

// "f1~f2~...~f10~": every "~" inside a value becomes "_" and an empty value becomes " ", because
// readers split the line at "~" and skip empty pieces.
std::string buildMp3InfoLine(const Mp3Fields& fields);

// The fields of a stored line: split at "~", empty pieces skipped, the pieces taken in field
// order; pieces beyond ten are ignored and missing ones stay empty.
Mp3Fields splitMp3InfoLine(std::string_view line);

// The stored line of the MP3 file at `path`.
std::string Mp3InfoLine(const QString& path);

} // namespace lumidex
