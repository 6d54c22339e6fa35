#include "catalog/Catalog.h"

namespace lumidex {

const std::string& Catalog::categoryName(int barIndex) const
{
    if (isMediaIndex(barIndex))
        return media->name;
    return filesCategories.at(size_t(barIndex)).name;
}

std::vector<int> Catalog::discCounts() const
{
    std::vector<int> counts;
    for (const FilesCategory& category : filesCategories)
        counts.push_back(int(category.discs.size()));
    return counts;
}

} // namespace lumidex
