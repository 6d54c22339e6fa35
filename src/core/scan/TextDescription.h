#pragma once

#include <QString>

#include <string>
#include <vector>

namespace lumidex {

// The lines of a description file as the catalog stores them. The file is read the way a
// Windows text-mode stream reads it: CR LF becomes LF, a lone CR stays, and a byte 0x1A ends the
// text. It is cut into pieces of at most 255 bytes, each ending after a line feed; every stored
// line ends in exactly one LF (a piece without one gets it appended), so a long line becomes
// several stored lines. When the reading stops exactly at the file's end without having run
// into it (the file ends in a full 255-byte piece, or is empty), and the last piece had no line
// feed of its own, one more line of just "\n" is stored: an empty file gives {"\n"}.
//
// Bytes are kept as read. The file is streamed, so only the lines are held, never the whole
// file. A file that cannot be opened gives no lines; a read error ends the lines read so far.
std::vector<std::string> ReadTextDescription(const QString& path);

inline constexpr size_t DescriptionPieceSize = 255;

} // namespace lumidex
