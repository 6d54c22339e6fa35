// The description file reader over arbitrary bytes, read from a file.

#include "FuzzSupport.h"

#include "scan/TextDescription.h"

using namespace lumidex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::writeScratchFile(QStringLiteral("description.txt"), data, size);
    const std::vector<std::string> lines = ReadTextDescription(path);
    // Every line but a closing "\n" takes at least one byte of the file.
    fuzz::check(lines.size() <= size + 1, "no more lines than bytes");
    for (const std::string& line : lines) {
        fuzz::check(!line.empty() && line.back() == '\n', "a stored line ends in a line feed");
        fuzz::check(line.find('\n') == line.size() - 1, "a stored line holds one line feed");
        fuzz::check(line.size() <= DescriptionPieceSize + 1, "a stored line is at most one piece long");
    }
    return 0;
}
