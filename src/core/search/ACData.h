#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumidex {

class ArchiveReader;
class ArchiveWriter;

// An integer and a list of strings: the record of the search history file.
struct CACData {
    int32_t value = 1122;
    std::vector<std::string> strings;

    // The number of strings is a plain int32 here, not an archive count.
    void Serialize(ArchiveWriter& ar) const;
    // Appends the strings read to the end of the list.
    void Serialize(ArchiveReader& ar);
};

} // namespace lumidex
