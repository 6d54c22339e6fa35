#pragma once

#include "media/MediaCategory.h"

#include <functional>
#include <optional>

namespace lumidex {

class ArchiveReader;
class ArchiveWriter;

// The media category block of the catalog stream, after its marker (the caller reads and
// writes the marker). Rows of a catalog whose format version is not 1122 carry only a status
// instead of a record. Loading resets every status but the lent one to 0, upgrades the columns
// of old tabs as rows are appended and hides columns 1 to 3. `tabRead` is called after each tab.
// Returns nothing for a block without a category. Throws ArchiveError on a short or hostile block.
std::optional<MediaCategory> readMediaCategoryBlock(ArchiveReader& in, int formatVersion,
    const std::function<void(const MediaTab&)>& tabRead = {});

// Writes the block in the current format, each row with exactly one cell per column.
// A null category writes the empty block. `tabWritten` is called after each tab.
void writeMediaCategoryBlock(ArchiveWriter& out, const MediaCategory* category,
    const std::function<void()>& tabWritten = {});

// Appends a row to a tab, first giving an old tab its missing columns: a tab of 4 columns gains
// "Status"; a tab of 3 gains "Comments" and "Status" once a row with a Comments text arrives.
// Every row then has at least one cell per column (missing cells are empty).
void appendRowWithColumnUpgrade(MediaTab& tab, MediaRow row);

// Hides the Language, Genre and Comments columns (width 0), those the tab has.
void hideDetailColumns(MediaTab& tab);

} // namespace lumidex
