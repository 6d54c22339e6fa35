#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumidex {

// One entry of an ARJ archive as its local header describes it. Nothing is decompressed.
struct ArjMember {
    enum FileType : uint8_t { Binary = 0, Text = 1, Comment = 2, Directory = 3, VolumeLabel = 4, ChapterLabel = 5 };

    std::string path;      // as stored: the bytes up to the NUL, separators untouched
    uint32_t originalSize = 0;
    uint8_t fileType = Binary;
};

// The entries of the ARJ archive at `path`, in archive order; nullopt when the file cannot be
// opened or holds no valid main header. The main header may follow a self-extractor stub; it is
// looked for in the first ArjMainHeaderSearchLimit bytes only.
//
// Every header is checked against its CRC-32 and the 2600-byte limit of the format. The listing
// ends at the end-of-archive marker or at the first header that is missing, truncated or fails
// its check; the entries before it are kept. An entry whose data is cut off by the end of the
// file is still listed, since its header was read whole.
std::optional<std::vector<ArjMember>> readArjMembers(const QString& path);

inline constexpr int64_t ArjMainHeaderSearchLimit = 512 * 1024;

// The CRC-32 (reflected 0xEDB88320, as ARJ and ZIP use it) of `size` bytes.
uint32_t arjCrc32(const void* data, size_t size);

} // namespace lumidex
