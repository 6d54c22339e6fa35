#pragma once

namespace lumidex {

struct MediaRow;

// Gives an old-format row (record type code 0) a new media object of `typeCode` (1..6), built
// from its cells: Title from the Title cell, empty Language and Genre, and Comments made of the
// Genre, Language and Comments cells on three CR LF separated lines. The cells stay as they are.
// Returns false, changing nothing, for a typed row or a code outside 1..6.
bool convertOldEntry(MediaRow& row, int typeCode);

} // namespace lumidex
