#pragma once

#include "catalog/ItemKey.h"

#include <cstdint>
#include <string>

namespace lumidex {

// The details of one scanned file or folder. The catalog stream writes it field by field.
struct FileInfoRecord {
    int32_t level = 0;
    int32_t index = 0;
    std::string comment;
    int64_t size = 0;    // bytes; a folder's is the total of its contents
    int32_t created = 0; // seconds since 1970 (UTC)
    bool folder = false;

    ItemKey key() const { return {level, index}; }
};

} // namespace lumidex
