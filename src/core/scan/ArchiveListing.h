#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumidex {

// The member list of an archive as the catalog stores it: one line per member, in archive order,
//   name + "," + folder + "," + size
// where the stored path is split at its last folder separator ("/" for LHA, "\" for every other
// format), the folder is " " when there is none, commas in name and folder become "_", and the
// size is the uncompressed size in full (unsigned decimal).
//
// Member paths carry the separators the old Windows readers reported: "\" between folders for
// ZIP, RAR, ARJ and CAB (the "/" that the readers here give is turned back into "\"), "/" for LHA.
// Names are bytes as stored wherever the reader allows it.
//
// When a listing fails entirely it depends on the format what is stored:
// - RAR: an archive that cannot be read gives an empty listing;
// - ZIP: one that cannot be opened gives the single line ArchiveErrorLine; a valid ZIP without
//   entries gives an empty listing;
// - LHA, ARJ, CAB: one that cannot be read, or that has no member, gives ArchiveErrorLine. A CAB
//   shorter than the size its header declares is taken as unreadable.
// A failure after some members ends the listing and keeps the members read so far.
//
// Directory members are listed like files for RAR, and skipped for the other formats (ZIP has
// them marked; LHA and ARJ mark theirs too; CAB has none).
std::vector<std::string> listRarArchive(const QString& path);
std::vector<std::string> listZipArchive(const QString& path);
std::vector<std::string> listLhaArchive(const QString& path);
std::vector<std::string> listArjArchive(const QString& path);
std::vector<std::string> listCabArchive(const QString& path);

inline constexpr std::string_view ArchiveErrorLine = "Error,Error,Error";

// One listing line for a stored path split at its last `separator`.
std::string archiveListingLine(std::string_view storedPath, char separator, uint64_t size);

} // namespace lumidex
