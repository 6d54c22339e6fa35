// The ARJ header reader over arbitrary bytes, read from a file.

#include "FuzzSupport.h"

#include "scan/ArjReader.h"

using namespace lumidex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::writeScratchFile(QStringLiteral("archive.arj"), data, size);
    if (const auto members = readArjMembers(path)) {
        for (const ArjMember& m : *members)
            fuzz::check(m.path.find('\0') == std::string::npos, "an ARJ path ends at its NUL");
    }
    return 0;
}
