// A folder of 100,000 files scanned from the window, as a user does it with "Select path":
//   window_scan_benchmark [FOLDER]   (default: a temporary folder, removed afterwards)
// 1. The whole scan: time until the disc is in the catalog and its container, and how long the
//    GUI thread was ever kept from its event loop meanwhile (a 2 ms timer measures the gaps).
// 2. The same scan cancelled after 300 ms: time from Cancel until the window is free again,
//    and whether the catalog was left as it was.
#include "catalog/Disc.h"
#include "gui/app/MainWindow.h"
#include "gui/catalog/DiscCommands.h"
#include "gui/scan/ScanCommands.h"
#include "scan/FakeDriveAccess.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace lumidex;

namespace {

constexpr int kFolders = 10000;
constexpr int kFilesPerFolder = 10;

void generate(const QString& root)
{
    QByteArray tag(128, '\0');
    tag.replace(0, 3, "TAG");
    const QByteArray mp3 = QByteArray::fromHex("FFFB9064") + QByteArray(413, '\0') + tag;
    for (int f = 0; f < kFolders; ++f) {
        const QString folder = QStringLiteral("%1/d%2/e%3/f%4").arg(root).arg(f / 1000).arg(f / 100 % 10).arg(f % 100);
        QDir().mkpath(folder);
        for (int i = 0; i < kFilesPerFolder; ++i) {
            const bool song = i == 0 && f % 2 == 0;
            QFile file(folder + (song ? QStringLiteral("/song.mp3") : QStringLiteral("/file%1.txt").arg(i)));
            file.open(QIODevice::WriteOnly);
            file.write(song ? mp3 : QByteArray(64 + i, 'x'));
        }
    }
}

// Answers the two questions of "Select path"; everything else is never asked here.
class BenchmarkPrompts : public DialogPrompts {
public:
    explicit BenchmarkPrompts(QString folder) : m_folder(std::move(folder)) {}
    QString folder(QWidget*) override { return m_folder; }
    std::optional<QString> discName(QWidget*, const QString&, const QString&) override
    {
        return QStringLiteral("Disc %1").arg(++m_count);
    }

private:
    QString m_folder;
    int m_count = 0;
};

struct Run {
    double seconds = 0;
    double cancelToFree = 0;
    double maxStallMs = 0;
    double p99StallMs = 0;
    bool changed = false;
};

Run scan(MainWindow& window, int cancelAfterMs)
{
    Run run;
    std::vector<double> gaps;
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    QTimer probe;
    probe.setInterval(2);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        gaps.push_back((now - last) / 1e6);
        last = now;
    });
    QEventLoop loop;
    qint64 cancelledAt = 0;
    QObject::connect(window.scanCommands(), &ScanCommands::scanFinished, &loop, [&](bool changed) {
        run.changed = changed;
        loop.quit();
    });
    if (cancelAfterMs >= 0)
        QTimer::singleShot(cancelAfterMs, [&] {
            cancelledAt = clock.nsecsElapsed();
            window.scanCommands()->cancelScan();
        });
    probe.start();
    window.findChild<QAction*>(QStringLiteral("actionSelectPath"))->trigger();
    loop.exec();
    const qint64 end = clock.nsecsElapsed();
    run.seconds = end / 1e9;
    if (cancelledAt)
        run.cancelToFree = (end - cancelledAt) / 1e9;
    std::sort(gaps.begin(), gaps.end());
    if (!gaps.empty()) {
        run.maxStallMs = gaps.back();
        run.p99StallMs = gaps[gaps.size() * 99 / 100];
    }
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("LUMIDEX_HOME", QFile::encodeName(home.path()));
    QApplication app(argc, argv);

    QTemporaryDir scratch;
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : scratch.filePath(QStringLiteral("tree"));
    if (!QFileInfo::exists(root)) {
        std::printf("generating %d files in %d folders ...\n", kFolders * kFilesPerFolder, kFolders);
        generate(root);
    }

    MainWindow window(1, std::make_unique<BenchmarkPrompts>(root), std::make_unique<FakeDriveAccess>());
    window.show();
    const auto discs = [&] { return window.document().catalog().filesCategories[0].discs.size(); };

    scan(window, -1); // warms the file system cache
    const Run full = scan(window, -1);
    std::printf("scan of %d files: %.2f s; GUI thread longest stall %.1f ms, 99th percentile %.1f ms\n",
                kFolders * kFilesPerFolder, full.seconds, full.maxStallMs, full.p99StallMs);
    const Disc& scanned = window.document().catalog().filesCategories[0].discs.back();
    std::printf("  disc items: %d\n", int(scanned.tree.size()));

    // Selecting an MP3 file looks its line up in the disc's description entry.
    int32_t song = 0;
    while (song < scanned.tree.size() && scanned.tree.text(song) != "song.mp3")
        ++song;
    const int disc = int(discs()) - 1;
    QElapsedTimer lookup;
    lookup.start();
    window.discCommands()->showItemMp3(0, disc, song); // reads the disc's entry
    const double first = lookup.nsecsElapsed() / 1e6;
    constexpr int kLookups = 100;
    lookup.restart();
    for (int i = 0; i < kLookups; ++i)
        window.discCommands()->showItemMp3(0, disc, song);
    std::printf("  MP3 line of a selected file: first %.1f ms, then %.2f ms\n", first,
                lookup.nsecsElapsed() / 1e6 / kLookups);

    const size_t before = discs();
    const Run cancelled = scan(window, 300);
    std::printf("cancelled after 300 ms: free again %.3f s after Cancel; catalog %s (discs %zu -> %zu)\n",
                cancelled.cancelToFree, cancelled.changed || discs() != before ? "CHANGED" : "unchanged", before,
                discs());
    return 0;
}
