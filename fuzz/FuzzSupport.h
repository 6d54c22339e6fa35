#pragma once

// Shared by the harnesses: one temporary folder per process, created on first use and removed at
// exit, holding one file per harness that every input overwrites.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace lumidex::fuzz {

inline const QString& scratchFolder()
{
    static QTemporaryDir dir(QStringLiteral("/tmp/lumidex-fuzz-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder under /tmp\n");
        std::abort();
    }
    static const QString path = dir.path();
    return path;
}

// Writes the input to `<scratch>/<name>` and returns its path.
inline QString writeScratchFile(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    const QByteArray encoded = path.toLocal8Bit();
    std::FILE* f = std::fopen(encoded.constData(), "wb");
    if (!f || (size && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
        std::fprintf(stderr, "cannot write %s\n", encoded.constData());
        std::abort();
    }
    return path;
}

// Stops the run with a message when a property of the readers does not hold.
inline void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "property violated: %s\n", what);
        std::abort();
    }
}

} // namespace lumidex::fuzz
