#pragma once

#include "catalog/Catalog.h"

#include <functional>

namespace lumidex {

class ArchiveReader;
class ArchiveWriter;

// Section markers of the catalog stream.
namespace CatalogMarker {
constexpr int32_t FilesCategory = -11111111;
constexpr int32_t Debtors = -2222222;
constexpr int32_t MediaCategory = -3333333;
constexpr int32_t DiscComments = -33;
constexpr int32_t FileEntries = -44;
constexpr int32_t DebtorDetails = 55;
constexpr int32_t Record = -11;
} // namespace CatalogMarker

// Called while a stream is read, for progress and status texts.
struct CatalogReadProgress {
    std::function<void(const FilesCategory&, const Disc&)> discRead;
    std::function<void(const MediaTab&)> mediaTabRead;
    std::function<void()> commentsRead;
};

// Where the media category and the disc comments start; the last eight bytes of a stream.
struct CatalogSectionOffsets {
    int32_t mediaCategory = 0;
    int32_t discComments = 0;
};

// Reads a whole catalog stream, current or old format; Catalog::version tells which (1122 or 0).
// Throws ArchiveError on any read error.
Catalog readCatalogStream(ArchiveReader& ar, const CatalogReadProgress& progress = {},
                          CatalogSectionOffsets* offsets = nullptr);

// Writes the catalog in the current format. `stepDone` runs after each disc tree and media tab.
CatalogSectionOffsets writeCatalogStream(ArchiveWriter& ar, const Catalog& catalog,
                                         const std::function<void()>& stepDone = {});
// The number of progress steps writeCatalogStream reports.
int catalogWriteSteps(const Catalog& catalog);

} // namespace lumidex
