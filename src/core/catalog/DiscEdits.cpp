#include "catalog/DiscEdits.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>

namespace lumidex {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("CatalogEdit", text);
}

bool isFilesCategory(const Catalog& catalog, int category)
{
    return category >= 0 && size_t(category) < catalog.filesCategories.size();
}

// An error text when (category, disc) names no disc.
QString checkDisc(const Catalog& catalog, int category, int disc)
{
    if (!isFilesCategory(catalog, category))
        return tr("There is no files category %1").arg(category);
    if (disc < 0 || size_t(disc) >= catalog.filesCategories[size_t(category)].discs.size())
        return tr("Category %1 has no disc %2").arg(category).arg(disc);
    return {};
}

} // namespace

QString checkCoverFile(const QString& path)
{
    const QString rejected = tr("File seems to be empty or big ( > 250KB )");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxCoverBytes)
        return rejected;
    const QByteArray bytes = file.read(kMaxCoverBytes + 1);
    if (bytes.isEmpty() || bytes.size() > kMaxCoverBytes || QImage::fromData(bytes).isNull())
        return rejected;
    return {};
}

CatalogEdit deleteDisc(Catalog& catalog, int category, int disc)
{
    if (QString error = checkDisc(catalog, category, disc); !error.isEmpty())
        return CatalogEdit::failed(error);
    auto& discs = catalog.filesCategories[size_t(category)].discs;
    discs.erase(discs.begin() + disc);
    return {QString(), [=](CatalogContainer& c) { return c.deleteDisc(category, disc); }};
}

CatalogEdit moveDisc(Catalog& catalog, int category, int disc, int target)
{
    if (QString error = checkDisc(catalog, category, disc); !error.isEmpty())
        return CatalogEdit::failed(error);
    if (!isFilesCategory(catalog, target))
        return CatalogEdit::failed(tr("There is no files category %1").arg(target));
    if (target == category)
        return CatalogEdit::failed(tr("The disc is already in that category"));
    auto& from = catalog.filesCategories[size_t(category)].discs;
    auto& to = catalog.filesCategories[size_t(target)].discs;
    to.push_back(std::move(from[size_t(disc)]));
    from.erase(from.begin() + disc);
    return {QString(), [=](CatalogContainer& c) { return c.moveDisc(category, disc, target); }};
}

CatalogEdit renameDisc(Catalog& catalog, int category, int disc, const std::string& name)
{
    if (QString error = checkDisc(catalog, category, disc); !error.isEmpty())
        return CatalogEdit::failed(error);
    catalog.filesCategories[size_t(category)].discs[size_t(disc)].name = name;
    return {};
}

CatalogEdit setDiscComment(Catalog& catalog, int category, int disc, const std::string& comment)
{
    if (QString error = checkDisc(catalog, category, disc); !error.isEmpty())
        return CatalogEdit::failed(error);
    catalog.filesCategories[size_t(category)].discs[size_t(disc)].comment = comment;
    return {};
}

CatalogEdit setItemComment(Catalog& catalog, int category, int disc, ItemKey key, const std::string& comment)
{
    if (QString error = checkDisc(catalog, category, disc); !error.isEmpty())
        return CatalogEdit::failed(error);
    catalog.filesCategories[size_t(category)].discs[size_t(disc)].records.findOrAppend(key).comment = comment;
    return {};
}

CatalogEdit renameItem(Catalog& catalog, int category, int disc, int32_t node, const std::string& name)
{
    if (QString error = checkDisc(catalog, category, disc); !error.isEmpty())
        return CatalogEdit::failed(error);
    DiscTree& tree = catalog.filesCategories[size_t(category)].discs[size_t(disc)].tree;
    if (node < 0 || node >= tree.size())
        return CatalogEdit::failed(tr("Disc %1 has no item %2").arg(disc).arg(node));
    if (name.empty())
        return CatalogEdit::failed(tr("A name cannot be empty"));
    tree.setText(node, name);
    return {};
}

CatalogEdit storeDiscCover(Catalog& catalog, int category, int disc, const QString& pictureFile)
{
    if (QString error = checkDisc(catalog, category, disc); !error.isEmpty())
        return CatalogEdit::failed(error);
    if (QString error = checkCoverFile(pictureFile); !error.isEmpty())
        return CatalogEdit::failed(error);
    return {QString(), [=](CatalogContainer& c) { return c.storeDiscCover(category, disc, pictureFile); }};
}

CatalogEdit removeDiscCover(Catalog& catalog, int category, int disc)
{
    if (QString error = checkDisc(catalog, category, disc); !error.isEmpty())
        return CatalogEdit::failed(error);
    return {QString(), [=](CatalogContainer& c) { return c.removeDiscCover(category, disc); }};
}

} // namespace lumidex
