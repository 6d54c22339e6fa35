#include "catalog/Catalog.h"

namespace lumidex {

const std::string& Catalog::categoryName(int barIndex) const
{
    if (isMediaIndex(barIndex))
        return media->name;
    return filesCategories.at(size_t(barIndex)).name;
}

} // namespace lumidex
