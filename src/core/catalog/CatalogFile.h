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
// `beforeCommit` runs once the stream is written and before it replaces the file; an error it
// returns abandons the save, so a change elsewhere (the container) and the stream land together.
QString saveCatalogFile(const QString& path, const Catalog& catalog, const std::function<void()>& stepDone = {},
                        const std::function<QString()>& beforeCommit = {});

} // namespace lumidex
