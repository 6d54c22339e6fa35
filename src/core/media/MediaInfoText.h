#pragma once

#include "format/TextCodec.h"

#include <QString>

namespace lumidex {

struct MediaRow;

// The summary of a row shown as its tooltip in the items list: the type name and the fields
// that tell the item apart, by type. Rows without a typed media object (old-format entries)
// show the type "undefined" with their Language and Genre cells.
QString InfoText(const MediaRow& row, LegacyCodePage legacy = LegacyCodePage::Windows1252);

} // namespace lumidex
