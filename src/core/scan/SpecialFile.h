#pragma once

#include "catalog/FileObject.h"
#include "scan/ScanOptions.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace lumidex {

// The extension under which the walk hands a file to ProcessSpecialFile: the last four bytes of
// the name, lower-cased (A to Z only), when they are one of ".txt", ".nfo", ".diz", ".!!!",
// ".lst", ".rar", ".lha", ".lzh", ".zip", ".arj", ".cab", ".mp3"; else ".me" when the name ends
// in it in any case; else nullopt (an ordinary file).
std::optional<std::string> specialExtension(std::string_view fileName);

struct SpecialFileResult {
    // false only when the size limit turned a description file away: the file then gets no
    // FileInfoRecord either.
    bool recordFileInfo = true;
    // The info record to append to the disc's description entry; none when the file's type is
    // switched off in the options (or the size limit applied).
    std::optional<CFileObject> object;
};

// What the walk does with a description file, archive or MP3 file at `path` (tree position
// `level`, `index`; `extension` as specialExtension gives it):
// - a description file (".txt", ".nfo", ".diz", ".!!!", ".lst", ".me") whose type is switched on
//   is refused when "Allow any size" is off and the file is larger than "Max. size of file"
//   (equal is fine; a file that cannot be found counts as size 0);
// - otherwise the record's key is "[level,index]\n", its name the last component of the path,
//   and its kind and lines come from the first rule that matches: RAR, LHA/LZH (either option
//   switches on both), ZIP, ARJ, CAB listings; MP3 line; nothing for a type switched off; the
//   lines of a text description for the rest.
SpecialFileResult ProcessSpecialFile(const QString& path, int level, int index, std::string_view extension,
    const ScanOptions& options);

} // namespace lumidex
