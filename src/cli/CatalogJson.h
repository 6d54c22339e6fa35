#pragma once

#include "catalog/Catalog.h"

#include "catalog/FileObject.h"

#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace lumidex::cli {

// A disc's description entry (category, disc), or nullopt when there is none to show.
using EntryReader = std::function<std::optional<std::vector<CFileObject>>(int category, int disc)>;

// Writes the catalog as the JSON of the dump command; with `entries`, each disc also gets its
// description entry as "entries".
void writeCatalogJson(std::FILE* out, const Catalog& catalog, const EntryReader& entries = {});

} // namespace lumidex::cli
