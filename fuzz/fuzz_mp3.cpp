// The MP3 frame search over a buffer, and the fields and stored line of the same bytes as a file.

#include "FuzzSupport.h"

#include "scan/Mp3Data.h"

#include <QBuffer>

using namespace lumidex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    if (const auto found = FindFirstFrame(buffer)) {
        fuzz::check(found->offset >= 0 && found->offset + 4 <= int64_t(size), "the frame word lies inside the data");
        const uint8_t* w = data + found->offset;
        const uint32_t word = uint32_t(w[0]) << 24 | uint32_t(w[1]) << 16 | uint32_t(w[2]) << 8 | w[3];
        fuzz::check(word == found->header.word, "the frame word is the one read at its offset");
        fuzz::check(found->header.frameBodyLength >= 0, "a frame body has no negative length");
    }

    const QString path = fuzz::writeScratchFile(QStringLiteral("track.mp3"), data, size);
    const Mp3Fields fields = readMp3Fields(path);
    // The stored line splits back into the fields, "~" made "_" and empty values " ".
    const Mp3Fields split = splitMp3InfoLine(buildMp3InfoLine(fields));
    for (int i = 0; i < Mp3FieldCount; ++i) {
        std::string expected = fields[size_t(i)].empty() ? std::string(" ") : fields[size_t(i)];
        for (char& c : expected)
            if (c == '~')
                c = '_';
        fuzz::check(split[size_t(i)] == expected, "a stored MP3 line splits back into its fields");
    }

    // Stored lines come from catalogs too.
    splitMp3InfoLine(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
