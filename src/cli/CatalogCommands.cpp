// dump and resave: the catalog file as read, and written back in the current format.
#include "cli/CatalogJson.h"
#include "cli/Command.h"

#include "catalog/CatalogFile.h"

#include <QFileInfo>

#include <cstdio>

namespace lumidex::cli {

namespace {

int runDump(const QStringList& args)
{
    const CatalogLoadResult loaded = loadCatalogFile(args.at(0));
    if (!loaded.catalog)
        return readError(loaded.error);
    writeCatalogJson(stdout, *loaded.catalog);
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
    return {"dump", "FILE.sav", "print a catalog as JSON",
            "Reads the catalog stream FILE.sav and prints what it holds as JSON on stdout:\n"
            "categories in bar order with their discs, trees and file records, the media\n"
            "category with its tabs and rows, and the debtors.",
            1, 1, runDump};
}

Command resaveCommand()
{
    return {"resave", "IN.sav OUT.sav", "write a catalog again in the current format",
            "Reads IN.sav and writes it to OUT.sav in the current format; a catalog of the old\n"
            "format is upgraded. OUT.sav is replaced only when the whole catalog was written.",
            2, 2, runResave};
}

} // namespace lumidex::cli
