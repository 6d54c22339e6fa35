// dump and resave: the catalog file as read, and written back in the current format.
#include "cli/CatalogJson.h"
#include "cli/Command.h"

#include "catalog/CatalogDocument.h"
#include "catalog/CatalogFile.h"

#include <QFileInfo>

#include <cstdio>

namespace lumidex::cli {

Command dumpCommand();

namespace {

int runDump(const QStringList& args)
{
    const bool withEntries = args.size() == 2 && args[0] == QLatin1String("--entries");
    if (args.size() == 2 && !withEntries)
        return usageError(dumpCommand(), QStringLiteral("unexpected argument '%1'").arg(args[0]));
    const QString path = args.back();
    const CatalogLoadResult loaded = loadCatalogFile(path);
    if (!loaded.catalog)
        return readError(loaded.error);
    EntryReader entries;
    if (withEntries) {
        // Through the container's index, as the details of a file are found; read only.
        const QString containerPath = CatalogDocument::containerPathFor(path);
        entries = [containerPath](int category, int disc) -> std::optional<std::vector<CFileObject>> {
            if (!QFileInfo::exists(containerPath))
                return std::nullopt;
            CatalogContainer container(containerPath);
            const auto index = container.readIndex();
            const auto name = index ? index->value("Category" + std::to_string(category), "Disk_" + std::to_string(disc))
                                    : std::nullopt;
            if (!name || name->empty())
                return std::nullopt;
            return container.readDescriptionEntry(*name);
        };
    }
    writeCatalogJson(stdout, *loaded.catalog, entries);
    return std::fflush(stdout) == 0 ? ExitOk : ExitFailure;
}

int runResave(const QStringList& args)
{
    const CatalogLoadResult loaded = loadCatalogFile(args.at(0));
    if (!loaded.catalog)
        return readError(loaded.error);
    const QString error = saveCatalogFile(args.at(1), *loaded.catalog);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace

Command dumpCommand()
{
    return {"dump", "[--entries] FILE.sav", "print a catalog as JSON",
            "Reads the catalog stream FILE.sav and prints what it holds as JSON on stdout:\n"
            "categories in bar order with their discs, trees and file records, the media\n"
            "category with its tabs and rows, and the debtors. With --entries each disc also\n"
            "shows its description entry from FILE_ext.zip (key, name and lines of every\n"
            "record; null when the container or the entry is missing).",
            1, 2, runDump};
}

Command resaveCommand()
{
    return {"resave", "IN.sav OUT.sav", "write a catalog again in the current format",
            "Reads IN.sav and writes it to OUT.sav in the current format; a catalog of the old\n"
            "format is upgraded. OUT.sav is replaced only when the whole catalog was written.",
            2, 2, runResave};
}

} // namespace lumidex::cli
