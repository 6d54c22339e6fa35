#include "catalog/DefaultCatalog.h"

#include "catalog/CategoryIcons.h"

namespace lumidex {

Catalog makeDefaultCatalog()
{
    Catalog catalog;
    // These names are the same in every language.
    catalog.filesCategories.emplace_back().name = "Software";
    catalog.filesCategories.emplace_back().name = "Music";
    catalog.media.emplace().name = "Films,Books ...";
    catalog.icons.append(builtInCategoryIcon(BuiltInIcon::Software));
    catalog.icons.append(builtInCategoryIcon(BuiltInIcon::Music));
    catalog.icons.append(builtInCategoryIcon(BuiltInIcon::Media));
    return catalog;
}

} // namespace lumidex
