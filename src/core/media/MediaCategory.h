#pragma once

#include "media/CatOtherItemData.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumidex {

// The media category: user-made lists (tabs) of typed media items.
// Column positions: 0 "Title", 1 "Language", 2 "Genre", 3 "Comments", 4 "Status".
struct MediaColumn {
    int32_t format = 0; // list-column alignment as stored; 0 is left-aligned
    int32_t width = 0;  // pixels; a hidden column has width 0
    std::string heading;
};

struct MediaRow {
    std::vector<std::string> cells; // one per column of the tab
    CCatOtherItemData record;
};

struct MediaTab {
    std::string caption;
    std::vector<MediaColumn> columns;
    std::vector<MediaRow> rows;
};

struct MediaCategory {
    std::string name;
    std::vector<MediaTab> tabs;
};

} // namespace lumidex
