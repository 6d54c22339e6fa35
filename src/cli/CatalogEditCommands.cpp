// new, category and disc: commands that change a catalog through the same edits the window uses.
#include "cli/Command.h"
#include "cli/CommandSupport.h"

#include "catalog/CatalogDocument.h"
#include "catalog/CategoryEdits.h"
#include "catalog/CategoryIcons.h"
#include "catalog/DiscEdits.h"
#include "format/TextCodec.h"

#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace lumidex::cli {

Command newCommand();
Command categoryCommand();
Command discCommand();

namespace {

// Opens the catalog, applies the edit and saves it with the edit's container change.
int editCatalog(const QString& path, const std::function<CatalogEdit(Catalog&)>& edit)
{
    CommandCatalog command;
    if (const int status = command.open(path); status != ExitOk)
        return status;
    const CatalogEdit result = edit(command.catalog());
    if (!result.ok()) {
        printError(result.error);
        return ExitFailure;
    }
    return command.save(result.containerChange);
}

int runNew(const QStringList& args)
{
    const QString path = args.at(0);
    if (QFileInfo::exists(path)) {
        printError(QStringLiteral("%1 exists already").arg(path));
        return ExitFailure;
    }
    QTemporaryDir scratch;
    CatalogDocument document(scratch.filePath(QStringLiteral("dummy.zip")));
    QString error = document.resetToNew();
    if (error.isEmpty())
        error = document.save(path);
    if (!error.isEmpty()) {
        printError(error);
        return ExitFailure;
    }
    return ExitOk;
}

int runCategory(const QStringList& args)
{
    const Command& self = categoryCommand();
    const QString verb = args.at(0);
    if (verb == QLatin1String("add")) {
        if (args.size() < 3)
            return usageError(self, QStringLiteral("add needs FILE.sav and NAME"));
        CategoryKind kind = CategoryKind::Files;
        QString iconFile;
        for (int i = 3; i < args.size(); ++i) {
            if (args[i] == QLatin1String("--media"))
                kind = CategoryKind::Media;
            else if (args[i] == QLatin1String("--icon") && i + 1 < args.size())
                iconFile = args[++i];
            else
                return usageError(self, QStringLiteral("unexpected argument '%1'").arg(args[i]));
        }
        QImage icon = builtInCategoryIcon(kind == CategoryKind::Media ? BuiltInIcon::Media : BuiltInIcon::Software);
        if (!iconFile.isEmpty()) {
            icon = categoryIconFromFile(iconFile);
            if (icon.isNull()) {
                printError(QStringLiteral("cannot read an icon from %1").arg(iconFile));
                return ExitFailure;
            }
        }
        const std::string name = encodeCatalogText(args[2]);
        return editCatalog(args[1], [&](Catalog& c) { return insertCategory(c, name, kind, icon); });
    }
    if (verb == QLatin1String("rm")) {
        const auto index = args.size() == 3 ? parseIndex(args[2]) : std::nullopt;
        if (!index)
            return usageError(self, QStringLiteral("rm needs FILE.sav and a category INDEX"));
        return editCatalog(args[1], [&](Catalog& c) { return deleteCategory(c, *index); });
    }
    if (verb == QLatin1String("rename")) {
        const auto index = args.size() == 4 ? parseIndex(args[2]) : std::nullopt;
        if (!index)
            return usageError(self, QStringLiteral("rename needs FILE.sav, a category INDEX and NAME"));
        const std::string name = encodeCatalogText(args[3]);
        return editCatalog(args[1], [&](Catalog& c) { return renameCategory(c, *index, name); });
    }
    return usageError(self, QStringLiteral("unknown category command '%1'").arg(verb));
}

int runDisc(const QStringList& args)
{
    const Command& self = discCommand();
    const QString verb = args.at(0);
    const auto category = args.size() >= 4 ? parseIndex(args[2]) : std::nullopt;
    const auto disc = args.size() >= 4 ? parseIndex(args[3]) : std::nullopt;
    if (!category || !disc)
        return usageError(self, QStringLiteral("expected FILE.sav CAT DISC after '%1'").arg(verb));
    const QString file = args[1];
    const auto needs = [&](int count) { return args.size() == count; };

    if (verb == QLatin1String("rm") && needs(4))
        return editCatalog(file, [&](Catalog& c) { return deleteDisc(c, *category, *disc); });
    if (verb == QLatin1String("mv") && needs(5)) {
        const auto target = parseIndex(args[4]);
        if (!target)
            return usageError(self, QStringLiteral("TARGET must be a category index"));
        return editCatalog(file, [&](Catalog& c) { return moveDisc(c, *category, *disc, *target); });
    }
    if (verb == QLatin1String("rename") && needs(5)) {
        const std::string name = encodeCatalogText(args[4]);
        return editCatalog(file, [&](Catalog& c) { return renameDisc(c, *category, *disc, name); });
    }
    if (verb == QLatin1String("comment") && needs(5)) {
        const std::string text = encodeCatalogText(args[4]);
        return editCatalog(file, [&](Catalog& c) { return setDiscComment(c, *category, *disc, text); });
    }
    if (verb == QLatin1String("cover") && needs(5)) {
        if (args[4] == QLatin1String("--remove"))
            return editCatalog(file, [&](Catalog& c) { return removeDiscCover(c, *category, *disc); });
        const QString picture = args[4];
        return editCatalog(file, [&](Catalog& c) { return storeDiscCover(c, *category, *disc, picture); });
    }
    return usageError(self, QStringLiteral("wrong arguments for '%1'").arg(verb));
}

} // namespace

Command newCommand()
{
    return {"new", "FILE.sav", "create a new catalog",
            "Creates FILE.sav with the default categories \"Software\", \"Music\" and\n"
            "\"Films,Books ...\", and its container FILE_ext.zip beside it.",
            1, 1, runNew};
}

Command categoryCommand()
{
    return {"category", "(add FILE.sav NAME [--media] [--icon IMAGEFILE] | rm FILE.sav INDEX |\n"
                        "                   rename FILE.sav INDEX NAME)",
            "add, delete or rename a category",
            "add     appends a files category in front of the media category, or with --media\n"
            "        the media category (at most one, always last); --icon takes the icon from\n"
            "        an image file (.png, .ico, .svg, ...).\n"
            "rm      deletes the category at bar position INDEX (0-based) with its discs and\n"
            "        their container entries; only while more than 3 categories exist.\n"
            "rename  gives the category at INDEX a new name.\n"
            "Names are unique regardless of letter case.",
            2, 20, runCategory};
}

Command discCommand()
{
    return {"disc", "(rm | mv | rename | comment | cover) FILE.sav CAT DISC [ARG]",
            "delete, move, rename, comment a disc or set its cover",
            "rm      FILE.sav CAT DISC            deletes the disc; later discs move down\n"
            "mv      FILE.sav CAT DISC TARGET     moves the disc to the end of category TARGET\n"
            "rename  FILE.sav CAT DISC NAME       gives the disc a new name\n"
            "comment FILE.sav CAT DISC TEXT       sets the disc's comment\n"
            "cover   FILE.sav CAT DISC JPEGFILE   stores the disc's cover (at most 250000 bytes)\n"
            "cover   FILE.sav CAT DISC --remove   removes the disc's cover\n"
            "CAT and DISC are 0-based: the category's bar position and the disc's tab position.\n"
            "The catalog's container (FILE_ext.zip) is kept in step.",
            4, 5, runDisc};
}

} // namespace lumidex::cli
