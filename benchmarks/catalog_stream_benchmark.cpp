// Writes and reads a catalog of many tree items with their records; reports time and peak memory.
//   catalog_stream_benchmark [ITEMS]
// Peak memory is the growth of the process's maximum resident set size during a phase, divided by
// the number of items. The read runs in a fresh process so that its peak is its own.
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

// Discs of 100,000 items: folders of 100 files, 8 levels deep at most, names like real ones.
Catalog buildCatalog(int items)
{
    Catalog c;
    c.icons.append(QImage());
    c.filesCategories.emplace_back().name = "Software";
    int made = 0;
    for (int d = 0; made < items; ++d) {
        Disc& disc = c.filesCategories[0].discs.emplace_back();
        disc.name = "CD" + std::to_string(d);
        const int discItems = std::min(100000, items - made);
        std::vector<int32_t> path;
        for (int i = 0; i < discItems; ++i) {
            const bool folder = i % 101 == 0;
            if (folder && path.size() >= 8)
                path.resize(2);
            const int32_t parent = path.empty() ? DiscTree::kNone : path.back();
            const std::string name = folder ? "Folder " + std::to_string(i) : "file_" + std::to_string(i) + ".dat";
            const int32_t node = disc.tree.append(parent, name, folder ? 1 : 3, folder ? 1 : 3);
            if (folder)
                path.push_back(node);
            FileInfoRecord r;
            r.level = disc.tree.level(node);
            r.index = node;
            r.size = folder ? 0 : 1000 + i;
            r.created = 1100000000 + i;
            r.folder = folder;
            if (i % 1000 == 0)
                r.comment = "a comment";
            disc.records.append(std::move(r));
        }
        made += discItems;
    }
    return c;
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
    const Catalog catalog = buildCatalog(items);
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
