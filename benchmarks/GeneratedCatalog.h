#pragma once

#include "catalog/Catalog.h"

#include <string>
#include <vector>

namespace lumidex::bench {

// Discs of 100,000 items: folders of 100 files, 8 levels deep at most, names like real ones.
inline Catalog buildCatalog(int items)
{
    Catalog c;
    c.icons.append(QImage());
    c.filesCategories.emplace_back().name = "Software";
    int made = 0;
    for (int d = 0; made < items; ++d) {
        Disc& disc = c.filesCategories[0].discs.emplace_back();
        disc.name = "CD" + std::to_string(d);
        const int discItems = std::min(100000, items - made);
        std::vector<int32_t> path;
        for (int i = 0; i < discItems; ++i) {
            const bool folder = i % 101 == 0;
            if (folder && path.size() >= 8)
                path.resize(2);
            const int32_t parent = path.empty() ? DiscTree::kNone : path.back();
            const std::string name = folder ? "Folder " + std::to_string(i) : "file_" + std::to_string(i) + ".dat";
            const int32_t node = disc.tree.append(parent, name, folder ? 1 : 3, folder ? 1 : 3);
            if (folder)
                path.push_back(node);
            FileInfoRecord r;
            r.level = disc.tree.level(node);
            r.index = node;
            r.size = folder ? 0 : 1000 + i;
            r.created = 1100000000 + i;
            r.folder = folder;
            if (i % 1000 == 0)
                r.comment = "a comment";
            disc.records.append(std::move(r));
        }
        made += discItems;
    }
    return c;
}

} // namespace lumidex::bench
