// The archive listings over arbitrary bytes. The first input byte picks the format, the rest is the
// archive, written to a file whose extension matches.

#include "FuzzSupport.h"

#include "scan/ArchiveListing.h"

#include <algorithm>

using namespace lumidex;

namespace {

struct Format {
    const char* fileName;
    std::vector<std::string> (*list)(const QString&);
};

const Format Formats[] = {
    {"archive.rar", listRarArchive},
    {"archive.zip", listZipArchive},
    {"archive.lzh", listLhaArchive},
    {"archive.arj", listArjArchive},
    {"archive.cab", listCabArchive},
};

// name "," folder "," size: the commas of name and folder are replaced, so there are exactly two.
void checkLine(const std::string& line)
{
    fuzz::check(std::count(line.begin(), line.end(), ',') == 2, "a listing line has three fields");
    const std::string size = line.substr(line.rfind(',') + 1);
    fuzz::check(line == ArchiveErrorLine
            || (!size.empty() && std::all_of(size.begin(), size.end(), [](char c) { return c >= '0' && c <= '9'; })),
        "a listing line ends in a decimal size");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const Format& format = Formats[data[0] % std::size(Formats)];
    const QString path = fuzz::writeScratchFile(QString::fromLatin1(format.fileName), data + 1, size - 1);
    for (const std::string& line : format.list(path))
        checkLine(line);
    return 0;
}
