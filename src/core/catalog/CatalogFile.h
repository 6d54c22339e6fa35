#pragma once

#include "catalog/CatalogStream.h"

#include <QString>

#include <optional>

namespace lumidex {

// Reading and writing a catalog stream file ("*.sav").
struct CatalogLoadResult {
    std::optional<Catalog> catalog;
    QString error; // what went wrong and at which offset, when catalog is empty
};

CatalogLoadResult loadCatalogFile(const QString& path, const CatalogReadProgress& progress = {});

// Writes the whole stream to a temporary file beside `path`, flushes it and renames it over `path`:
// a failed save leaves the previous file as it was. Returns an empty string on success.
QString saveCatalogFile(const QString& path, const Catalog& catalog, const std::function<void()>& stepDone = {});

} // namespace lumidex
