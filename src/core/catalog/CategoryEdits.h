#pragma once

#include "catalog/Catalog.h"
#include "catalog/CatalogEdit.h"

#include <QImage>

#include <string>
#include <string_view>

namespace lumidex {

enum class CategoryKind { Files, Media };

// The smallest number of categories a catalog keeps: categories are deleted only above it.
constexpr int kMinimumCategories = 3;

// Whether a bar entry already has that name, letter case ignored.
bool categoryNameExists(const Catalog& catalog, std::string_view name);

// A files category goes in front of the media category, which stays last; a media category is
// appended and there is at most one. The icon is scaled to the bar's icon size.
CatalogEdit insertCategory(Catalog& catalog, const std::string& name, CategoryKind kind, const QImage& icon);
// Only while the catalog has more than kMinimumCategories categories. A files category takes its
// discs' entries out of the container and renumbers the later categories there; the media
// category takes its items' covers with it.
CatalogEdit deleteCategory(Catalog& catalog, int barIndex);
// The new name must differ from every bar entry's name, the category's own included.
CatalogEdit renameCategory(Catalog& catalog, int barIndex, const std::string& name);
CatalogEdit setCategoryIcon(Catalog& catalog, int barIndex, const QImage& icon);

} // namespace lumidex
