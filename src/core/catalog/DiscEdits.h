#pragma once

#include "catalog/Catalog.h"
#include "catalog/CatalogEdit.h"

#include <QString>

#include <string>

namespace lumidex {

// Largest cover file accepted, in bytes.
constexpr qint64 kMaxCoverBytes = 250000;

// Why a picture cannot be a cover ("File seems to be empty or big ( > 250KB )"), or empty.
QString checkCoverFile(const QString& path);

// Disc edits of a files category; `category` is the bar index, `disc` the tab index.
CatalogEdit deleteDisc(Catalog& catalog, int category, int disc);
// Appends the disc to `target` (another files category) with everything it holds.
CatalogEdit moveDisc(Catalog& catalog, int category, int disc, int target);
CatalogEdit renameDisc(Catalog& catalog, int category, int disc, const std::string& name);
CatalogEdit setDiscComment(Catalog& catalog, int category, int disc, const std::string& comment);
// The comment of a file or folder: its record's comment is replaced, or a record with only the
// key and the comment is appended when the item has none, so each key keeps one record.
CatalogEdit setItemComment(Catalog& catalog, int category, int disc, ItemKey key, const std::string& comment);
// A file or folder renamed in the tree; an empty name is refused.
CatalogEdit renameItem(Catalog& catalog, int category, int disc, int32_t node, const std::string& name);
CatalogEdit storeDiscCover(Catalog& catalog, int category, int disc, const QString& pictureFile);
CatalogEdit removeDiscCover(Catalog& catalog, int category, int disc);

} // namespace lumidex
