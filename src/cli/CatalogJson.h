#pragma once

#include "catalog/Catalog.h"

#include <cstdio>

namespace lumidex::cli {

// Writes the catalog as the JSON of the dump command.
void writeCatalogJson(std::FILE* out, const Catalog& catalog);

} // namespace lumidex::cli
