#pragma once

#include "catalog/FilesCategory.h"
#include "format/ImageList.h"
#include "lending/Debtor.h"
#include "media/MediaCategory.h"

#include <QImage>

#include <optional>
#include <string>
#include <vector>

namespace lumidex {

// The open catalog: the files categories in bar order, then at most one media category (always the
// last bar entry), the category icons (image i belongs to bar entry i) and the debtors.
struct Catalog {
    static constexpr int32_t kCurrentVersion = 1122;

    // 1122, or 0 while a catalog of the old format is being read.
    int32_t version = kCurrentVersion;
    ImageList icons;
    std::vector<FilesCategory> filesCategories;
    std::optional<MediaCategory> media;
    std::vector<Debtor> debtors;

    int barCount() const { return int(filesCategories.size()) + (media ? 1 : 0); }
    // The number of discs of each files category, in bar order (what a new container indexes).
    std::vector<int> discCounts() const;
    bool isMediaIndex(int barIndex) const { return media && barIndex == int(filesCategories.size()); }
    const std::string& categoryName(int barIndex) const;
    QImage categoryIcon(int barIndex) const { return icons.image(barIndex); }
};

} // namespace lumidex
