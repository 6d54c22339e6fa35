// Writes and reads a catalog of many tree items with their records; reports time and peak memory.
//   catalog_stream_benchmark [ITEMS]
// Peak memory is the growth of the process's maximum resident set size during a phase, divided by
// the number of items. The read runs in a fresh process so that its peak is its own.
#include "GeneratedCatalog.h"
#include "catalog/CatalogFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>

using namespace lumidex;

namespace {

// VmHWM rather than getrusage: ru_maxrss survives exec and would report the parent's peak.
long peakRssKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int readPhase(const QString& path, int items)
{
    const long baseline = peakRssKiB();
    const auto start = std::chrono::steady_clock::now();
    const CatalogLoadResult loaded = loadCatalogFile(path);
    const double readSeconds = secondsSince(start);
    if (!loaded.catalog) {
        std::fprintf(stderr, "read failed: %s\n", qPrintable(loaded.error));
        return 1;
    }
    std::printf("read  %.3f s, peak %.1f bytes/item\n", readSeconds, double(peakRssKiB() - baseline) * 1024 / items);
    return 0;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::string(argv[1]) == "--read")
        return readPhase(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));

    const int items = argc > 1 ? std::atoi(argv[1]) : 1000000;
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.sav");

    const long baseline = peakRssKiB();
    auto start = std::chrono::steady_clock::now();
    const Catalog catalog = bench::buildCatalog(items);
    const double buildSeconds = secondsSince(start);
    const long built = peakRssKiB();

    start = std::chrono::steady_clock::now();
    const QString error = saveCatalogFile(path, catalog);
    const double writeSeconds = secondsSince(start);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "write failed: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("items %d, file %lld bytes\n", items, static_cast<long long>(QFile(path).size()));
    std::printf("build %.3f s, model %.1f bytes/item\n", buildSeconds, double(built - baseline) * 1024 / items);
    std::printf("write %.3f s, extra peak while writing %.1f bytes/item\n", writeSeconds,
                double(peakRssKiB() - built) * 1024 / items);
    std::fflush(stdout);

    QProcess reader;
    reader.setProcessChannelMode(QProcess::ForwardedChannels);
    reader.start(QCoreApplication::applicationFilePath(), {"--read", path, QString::number(items)});
    reader.waitForFinished(-1);
    return reader.exitCode();
}
