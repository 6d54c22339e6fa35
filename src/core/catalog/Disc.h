#pragma once

#include "catalog/DiscTree.h"
#include "catalog/FileInfoList.h"

#include <cstdint>
#include <string>

namespace lumidex {

// One scanned disc of a files category.
struct Disc {
    std::string name; // the tab caption
    DiscTree tree;
    std::string comment;
    FileInfoList records;
    int64_t size = 0;    // bytes
    int32_t created = 0; // creation time of the scanned root, seconds since 1970
};

} // namespace lumidex
