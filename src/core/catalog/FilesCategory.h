#pragma once

#include "catalog/Disc.h"

#include <string>
#include <vector>

namespace lumidex {

struct FilesCategory {
    std::string name;
    std::vector<Disc> discs; // in tab order
};

} // namespace lumidex
