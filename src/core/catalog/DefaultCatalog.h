#pragma once

#include "catalog/Catalog.h"

namespace lumidex {

// A new catalog: the files categories "Software" and "Music" and the media category
// "Films,Books ...", each with its built-in icon, no discs, no lists, no debtors.
Catalog makeDefaultCatalog();

} // namespace lumidex
