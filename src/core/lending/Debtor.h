#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumidex {

// A media item lent out: its title as listed and the caption of the tab that held it.
struct LentItem {
    std::string title;
    std::string category;
};

struct Debtor {
    std::string name;
    std::string telephone;
    std::string info;        // free notes; lent discs are added here as lines
    std::string added;       // "mm/dd/yy" of the last confirmation
    std::string lastChanged; // same form; empty until the record was modified
    std::string email;
    std::vector<LentItem> items;
    int32_t returnDateSet = 0;
    int32_t day = 0;
    int32_t month = 0;
    int32_t year = 0;
};

} // namespace lumidex
