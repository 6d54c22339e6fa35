// scan, rescan and details: discs read from folders and CD mount points, and their stored details.
#include "cli/Command.h"
#include "cli/CommandSupport.h"

#include "catalog/CatalogDocument.h"
#include "catalog/FileDetails.h"
#include "format/TextCodec.h"
#include "scan/DiscScanner.h"
#include "scan/Drives.h"
#include "scan/LinuxDriveAccess.h"
#include "scan/Mp3Data.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

#include <cstdio>
#include <optional>

namespace lumidex::cli {

Command scanCommand();
Command rescanCommand();
Command detailsCommand();

namespace {

// The stored scan options with "--set FIELD=VALUE" overrides for this run; the arguments that are
// not options stay in `rest`. An error text for a malformed or out-of-range override.
QString takeScanOptions(const QStringList& args, ScanOptions& options, QStringList& rest,
                        std::map<QString, QString>& named)
{
    options = loadScanOptions(CSettingsStore());
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--set") || arg == QLatin1String("--category") || arg == QLatin1String("--name")) {
            if (i + 1 >= args.size())
                return QStringLiteral("%1 needs a value").arg(arg);
            const QString value = args[++i];
            if (arg != QLatin1String("--set")) {
                named[arg] = value;
                continue;
            }
            const qsizetype eq = value.indexOf('=');
            bool ok = false;
            const int number = value.mid(eq + 1).toInt(&ok);
            const auto found = eq > 0 ? findScanOptionField(value.left(eq).toStdString()) : std::nullopt;
            if (!found || !ok)
                return QStringLiteral("'%1' is not FIELD=VALUE with a field of 'lumidex-cli options'").arg(value);
            const ScanOptions::Field field = *found;
            if (!isAcceptedValue(field, number))
                return QStringLiteral("%1 is out of range for %2").arg(number).arg(value.left(eq));
            options[field] = number;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option '%1'").arg(arg);
        } else {
            rest << arg;
        }
    }
    return {};
}

// Progress on stderr while it is a terminal: files handled of files counted, and the current path.
void showProgress(DiscScanner& scanner)
{
    if (!isatty(STDERR_FILENO))
        return;
    scanner.setProgressHandler([](const DiscScanner::Progress& p) {
        if (p.done % 97 != 0 && p.done != p.total)
            return;
        std::fprintf(stderr, "\r\033[K%d/%d %.60s", p.done, p.total, p.path.c_str());
        std::fflush(stderr);
    });
}

void endProgress()
{
    if (isatty(STDERR_FILENO))
        std::fprintf(stderr, "\r\033[K");
}

// The folder to scan, as the bytes the file system knows it by, without a trailing slash.
std::string rootPath(const QString& root)
{
    QString clean = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
    return QFile::encodeName(clean).toStdString();
}

// Runs the walk into `disc` with the entry file `entryFile`; false with a message when the root
// is not a readable folder.
bool runScan(const ScanOptions& options, const QString& root, Disc& disc, const QString& entryFile)
{
    const QFileInfo info(root);
    if (!info.isDir() || !info.isReadable()) {
        printError(QStringLiteral("%1 is not a readable folder").arg(root));
        return false;
    }
    LinuxDriveAccess drives;
    DiscScanner scanner(options);
    scanner.setCdCapacityLookup([&](const std::string& path) -> std::optional<int64_t> {
        const auto capacity = discCapacityForPath(drives, QFile::decodeName(path.c_str()));
        return capacity ? std::optional<int64_t>(*capacity) : std::nullopt;
    });
    showProgress(scanner);
    scanner.scan(rootPath(root), disc, entryFile);
    endProgress();
    return true;
}

int runScanCommand(const QStringList& args)
{
    const Command& self = scanCommand();
    ScanOptions options;
    QStringList rest;
    std::map<QString, QString> named;
    if (const QString error = takeScanOptions(args, options, rest, named); !error.isEmpty())
        return usageError(self, error);
    if (rest.size() != 2)
        return usageError(self, QStringLiteral("expected FILE.sav and ROOT"));
    const QString file = rest[0];
    const QString root = rest[1];
    const auto category = named.count("--category") ? parseIndex(named["--category"]) : std::optional<int>(0);
    if (!category)
        return usageError(self, QStringLiteral("--category takes a category index"));

    CommandCatalog command;
    if (const int status = command.open(file); status != ExitOk)
        return status;
    Catalog& catalog = command.catalog();
    if (size_t(*category) >= catalog.filesCategories.size()) {
        printError(QStringLiteral("There is no files category %1").arg(*category));
        return ExitFailure;
    }
    auto& discs = catalog.filesCategories[size_t(*category)].discs;
    const int discIndex = int(discs.size());

    Disc disc;
    if (named.count("--name")) {
        disc.name = encodeCatalogText(named["--name"]);
    } else {
        // A disc's mount point is named after its volume label, any other folder after itself.
        const QString label = GetVolumeLabel(LinuxDriveAccess(), root);
        disc.name = encodeCatalogText(label.isEmpty() ? QFileInfo(QDir::cleanPath(root)).fileName() : label);
    }
    const QString entryFile = command.scratchFile(QStringLiteral("%1_%2.obj").arg(*category).arg(discIndex));
    if (!runScan(options, root, disc, entryFile))
        return ExitFailure;
    discs.push_back(std::move(disc));
    return command.save([&](CatalogContainer& c) { return c.addDisc(*category, discIndex, entryFile); });
}

int runRescanCommand(const QStringList& args)
{
    const Command& self = rescanCommand();
    ScanOptions options;
    QStringList rest;
    std::map<QString, QString> named;
    if (const QString error = takeScanOptions(args, options, rest, named); !error.isEmpty() || !named.empty())
        return usageError(self, error.isEmpty() ? QStringLiteral("only --set is accepted here") : error);
    const auto category = rest.size() == 4 ? parseIndex(rest[1]) : std::nullopt;
    const auto discIndex = rest.size() == 4 ? parseIndex(rest[2]) : std::nullopt;
    if (!category || !discIndex)
        return usageError(self, QStringLiteral("expected FILE.sav CAT DISC ROOT"));
    const QString file = rest[0];
    const QString root = rest[3];

    CommandCatalog command;
    if (const int status = command.open(file); status != ExitOk)
        return status;
    Catalog& catalog = command.catalog();
    if (size_t(*category) >= catalog.filesCategories.size()
        || size_t(*discIndex) >= catalog.filesCategories[size_t(*category)].discs.size()) {
        printError(QStringLiteral("Category %1 has no disc %2").arg(*category).arg(*discIndex));
        return ExitFailure;
    }
    Disc& disc = catalog.filesCategories[size_t(*category)].discs[size_t(*discIndex)];
    // The same tab scanned again: a new tree and comment; records found again keep their comments.
    Disc rescanned;
    rescanned.name = disc.name;
    rescanned.records = disc.records;
    if (options.isOn(ScanOptions::UseLabel))
        rescanned.name = encodeCatalogText(GetVolumeLabel(LinuxDriveAccess(), root));
    const QString entryFile = command.scratchFile(QStringLiteral("%1_%2.obj").arg(*category).arg(*discIndex));
    if (!runScan(options, root, rescanned, entryFile))
        return ExitFailure;
    disc = std::move(rescanned);
    return command.save([&](CatalogContainer& c) { return c.updateDisc(*category, *discIndex, entryFile); });
}

void printLine(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    if (line.empty() || line.back() != '\n')
        std::fputc('\n', stdout);
}

int runDetailsCommand(const QStringList& args)
{
    const Command& self = detailsCommand();
    const auto category = parseIndex(args[1]);
    const auto discIndex = parseIndex(args[2]);
    if (!category || !discIndex)
        return usageError(self, QStringLiteral("CAT and DISC are indexes"));
    CommandCatalog command;
    if (const int status = command.open(args[0]); status != ExitOk)
        return status;
    const Catalog& catalog = command.catalog();
    if (size_t(*category) >= catalog.filesCategories.size()
        || size_t(*discIndex) >= catalog.filesCategories[size_t(*category)].discs.size()) {
        printError(QStringLiteral("Category %1 has no disc %2").arg(*category).arg(*discIndex));
        return ExitFailure;
    }
    const DiscTree& tree = catalog.filesCategories[size_t(*category)].discs[size_t(*discIndex)].tree;
    const int32_t node = findNodeByPath(tree, encodeCatalogText(args[3]));
    if (node == DiscTree::kNone) {
        printError(QStringLiteral("%1 is not on the disc").arg(args[3]));
        return ExitFailure;
    }
    CatalogContainer container = command.document().container();
    const FileDetails details = findFileDetails(container, *category, *discIndex, tree.key(node));
    if (details.status != FileDetails::Status::Found) {
        const QString message = FileDetails::message(details.status);
        if (!message.isEmpty())
            std::printf("%s\n", qPrintable(message));
        return ExitOk;
    }
    const CFileObject& record = details.record;
    if (FileDetails::kindOf(record.name) == FileDetails::Kind::Mp3) {
        static const char* const labels[Mp3FieldCount] = {"File",    "Bitrate", "Frequency", "Mode",    "Title",
                                                           "Artist",  "Album",   "Year",      "Comment", "Genre"};
        const Mp3Fields fields = splitMp3InfoLine(record.lines.empty() ? std::string() : record.lines.front());
        for (int i = 0; i < Mp3FieldCount; ++i)
            std::printf("%s: %s\n", labels[i], qPrintable(decodeCatalogText(fields[size_t(i)])));
        return ExitOk;
    }
    for (const std::string& line : record.lines)
        printLine(line);
    return ExitOk;
}

} // namespace

Command scanCommand()
{
    return {"scan", "FILE.sav ROOT [--category CAT] [--name NAME] [--set FIELD=VALUE]...",
            "scan a folder or a disc into a catalog",
            "Scans ROOT (a folder, or the mount point of a CD) as a new disc at the end of files\n"
            "category CAT (default 0), adds its description entry to the catalog's container and\n"
            "saves. The name defaults to the volume label when ROOT is a disc's mount point, else\n"
            "to the folder's name. The stored scan options apply; --set overrides one field\n"
            "(index or name, as 'lumidex-cli options' prints them) for this run.",
            2, 64, runScanCommand};
}

Command rescanCommand()
{
    return {"rescan", "FILE.sav CAT DISC ROOT [--set FIELD=VALUE]...", "scan a disc again into its tab",
            "Scans ROOT again into disc DISC of category CAT: the tree and the description entry\n"
            "are replaced, the disc comment is cleared, and the comments of files and folders\n"
            "found again are kept. With the option useLabel the disc takes the volume label.",
            4, 64, runRescanCommand};
}

Command detailsCommand()
{
    return {"details", "FILE.sav CAT DISC PATH", "print the stored details of a file",
            "Prints what the catalog stores for the file at PATH on disc DISC of category CAT\n"
            "(names from the disc's top level joined with '/'): the lines of a description\n"
            "file, the member list of an archive (name,folder,size), or the MP3 fields.",
            4, 4, runDetailsCommand};
}

} // namespace lumidex::cli
