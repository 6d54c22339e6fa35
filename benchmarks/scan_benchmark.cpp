// Scans generated trees and compares the walk with find(1) on the same tree.
//   scan_benchmark [FOLDER]   (default: a temporary folder, removed afterwards)
// 1. 100,000 files in 10,000 folders, special files off: the walk's time against
//    `find ROOT -printf '%s %T@\n'`, both on a warm cache.
// 2. The same tree with 5,000 ZIP archives and MP3 files among the files and every type on:
//    files per second.
#include "scan/DiscScanner.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace lumidex;

namespace {

constexpr int kFolders = 10000;
constexpr int kFilesPerFolder = 10;

QByteArray smallZip(const QString& scratch)
{
    QFile member(scratch + "/member.txt");
    member.open(QIODevice::WriteOnly);
    member.write("benchmark member\n");
    member.close();
    QProcess zip;
    zip.setWorkingDirectory(scratch);
    zip.start("zip", {"-q", "small.zip", "member.txt"});
    zip.waitForFinished();
    QFile f(scratch + "/small.zip");
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QByteArray smallMp3()
{
    QByteArray tag(128, '\0');
    tag.replace(0, 3, "TAG");
    tag.replace(3, 5, "Title");
    return QByteArray::fromHex("FFFB9064") + QByteArray(413, '\0') + tag;
}

// Folders nest three deep (10 x 10 x 100 groups); every folder holds kFilesPerFolder files.
void generate(const QString& root, bool specials, const QByteArray& zip)
{
    const QByteArray mp3 = smallMp3();
    int special = 0;
    for (int f = 0; f < kFolders; ++f) {
        const QString folder = QStringLiteral("%1/d%2/e%3/f%4").arg(root).arg(f / 1000).arg(f / 100 % 10).arg(f % 100);
        QDir().mkpath(folder);
        for (int i = 0; i < kFilesPerFolder; ++i) {
            QString name = QStringLiteral("file%1.dat").arg(i);
            QByteArray bytes(64 + i, 'x');
            if (specials && i == 0 && special < 5000) {
                const bool archive = special++ % 2 == 0;
                name = archive ? QStringLiteral("pack.zip") : QStringLiteral("song.mp3");
                bytes = archive ? zip : mp3;
            }
            QFile file(folder + "/" + name);
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
        }
    }
}

double timeFind(const QString& root)
{
    QElapsedTimer timer;
    timer.start();
    QProcess find;
    find.setStandardOutputFile(QProcess::nullDevice());
    find.start("find", {root, "-printf", "%s %T@\\n"});
    find.waitForFinished(-1);
    return timer.nsecsElapsed() / 1e9;
}

double timeScan(const QString& root, const ScanOptions& options, const QString& entryFile, int* files)
{
    DiscScanner scanner(options);
    Disc disc;
    QElapsedTimer timer;
    timer.start();
    scanner.scan(QFile::encodeName(root).toStdString(), disc, entryFile);
    const double seconds = timer.nsecsElapsed() / 1e9;
    *files = scanner.filesRecorded();
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    const QString plain = base + "/plain";
    const QString mixed = base + "/mixed";
    const QString entryFile = base + "/entry.obj";

    generate(plain, false, {});
    ScanOptions off;
    for (ScanOptions::Field f : {ScanOptions::Cab, ScanOptions::Arj, ScanOptions::Diz, ScanOptions::Bang,
                                 ScanOptions::Me, ScanOptions::Nfo, ScanOptions::Rar, ScanOptions::Txt,
                                 ScanOptions::Zip, ScanOptions::Lha, ScanOptions::Lst, ScanOptions::Lzh,
                                 ScanOptions::Mp3})
        off[f] = 0;
    timeFind(plain); // warm the cache for both
    int files = 0;
    const double findSeconds = timeFind(plain);
    const double scanSeconds = timeScan(plain, off, entryFile, &files);
    std::printf("plain tree: %d files in %d folders\n", files, kFolders);
    std::printf("  find   %.3f s\n  scan   %.3f s  (%.2f x find)\n", findSeconds, scanSeconds, scanSeconds / findSeconds);

    generate(mixed, true, smallZip(base));
    timeFind(mixed);
    const double mixedSeconds = timeScan(mixed, ScanOptions(), entryFile, &files);
    std::printf("mixed tree: %d files, 5000 of them archives and MP3 files, every type on\n", files);
    std::printf("  scan   %.3f s  (%.0f files/s, entry %lld bytes)\n", mixedSeconds, files / mixedSeconds,
                static_cast<long long>(QFile(entryFile).size()));
    return 0;
}
