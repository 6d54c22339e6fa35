#include "catalog/CategoryEdits.h"

#include "format/TextCodec.h"

#include <QCoreApplication>

namespace lumidex {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("CatalogEdit", text);
}

CatalogEdit checkName(const Catalog& catalog, const std::string& name)
{
    if (name.empty())
        return CatalogEdit::failed(tr("Enter the valid name "));
    if (categoryNameExists(catalog, name))
        return CatalogEdit::failed(tr("Name exists"));
    return {};
}

// A catalog read with fewer icons than categories gets blank ones up to `count`.
void padIcons(Catalog& catalog, int count)
{
    while (catalog.icons.count() < count)
        catalog.icons.append(QImage());
}

} // namespace

bool categoryNameExists(const Catalog& catalog, std::string_view name)
{
    const QString wanted = decodeCatalogText(name);
    for (int i = 0; i < catalog.barCount(); ++i)
        if (decodeCatalogText(catalog.categoryName(i)).compare(wanted, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

CatalogEdit insertCategory(Catalog& catalog, const std::string& name, CategoryKind kind, const QImage& icon)
{
    if (CatalogEdit invalid = checkName(catalog, name); !invalid.ok())
        return invalid;
    if (kind == CategoryKind::Media) {
        if (catalog.media)
            return CatalogEdit::failed(tr("The catalog already has a media category"));
        catalog.media.emplace().name = name;
        padIcons(catalog, catalog.barCount() - 1);
        catalog.icons.insert(catalog.barCount() - 1, icon);
        return {};
    }
    const int index = int(catalog.filesCategories.size());
    catalog.filesCategories.emplace_back().name = name;
    padIcons(catalog, index);
    catalog.icons.insert(index, icon);
    return {QString(), [index](CatalogContainer& container) { return container.insertCategory(index); }};
}

CatalogEdit deleteCategory(Catalog& catalog, int barIndex)
{
    if (barIndex < 0 || barIndex >= catalog.barCount())
        return CatalogEdit::failed(tr("There is no category %1").arg(barIndex));
    if (catalog.barCount() <= kMinimumCategories)
        return CatalogEdit::failed(tr("A category can only be deleted while there are more than %1").arg(kMinimumCategories));
    catalog.icons.remove(barIndex);

    if (catalog.isMediaIndex(barIndex)) {
        std::vector<std::string> covers;
        for (const MediaTab& tab : catalog.media->tabs)
            for (const MediaRow& row : tab.rows)
                if (!row.record.coverEntryName().empty())
                    covers.push_back(row.record.coverEntryName());
        catalog.media.reset();
        return {QString(), [covers](CatalogContainer& container) { return container.removeCovers(covers); }};
    }
    catalog.filesCategories.erase(catalog.filesCategories.begin() + barIndex);
    return {QString(), [barIndex](CatalogContainer& container) { return container.deleteCategory(barIndex); }};
}

CatalogEdit renameCategory(Catalog& catalog, int barIndex, const std::string& name)
{
    if (barIndex < 0 || barIndex >= catalog.barCount())
        return CatalogEdit::failed(tr("There is no category %1").arg(barIndex));
    if (CatalogEdit invalid = checkName(catalog, name); !invalid.ok())
        return invalid;
    if (catalog.isMediaIndex(barIndex))
        catalog.media->name = name;
    else
        catalog.filesCategories[size_t(barIndex)].name = name;
    return {};
}

CatalogEdit setCategoryIcon(Catalog& catalog, int barIndex, const QImage& icon)
{
    if (barIndex < 0 || barIndex >= catalog.barCount())
        return CatalogEdit::failed(tr("There is no category %1").arg(barIndex));
    if (icon.isNull())
        return CatalogEdit::failed(tr("The icon cannot be read"));
    padIcons(catalog, barIndex + 1);
    catalog.icons.replace(barIndex, icon);
    return {};
}

} // namespace lumidex
