#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumidex {

class ArchiveReader;
class ArchiveWriter;

// The info record of a description file, an archive or an MP3 file, as stored in a disc's
// description entry: the file's name, the ItemKey text of its tree node, and its lines.
struct CFileObject {
    enum Kind : int32_t { TextDescription = 0, ArchiveListing = 1, Mp3Data = 2 };

    int32_t loadedLineCount = 0; // the line count stored in front of the list; informational
    std::vector<std::string> lines;
    std::string name;
    std::string key; // "[level,index]\n"
    int32_t kind = TextDescription; // not stored; told from the name's extension

    // The line count is stored twice: as an int32 and as the list's own count, which decides.
    void Serialize(ArchiveWriter& ar) const;
    void Serialize(ArchiveReader& ar);
};

} // namespace lumidex
