#pragma once

#include "catalog/Catalog.h"

#include <QByteArray>

namespace lumidex::test {

// A solid 32 x 32 icon with a transparent corner.
QImage makeIcon(QRgb colour);

// Appends a small tree to `disc`: top-level A (children A1, A2) and B, with records and comments.
void fillSmallDisc(Disc& disc);

// A catalog that exercises every section: two files categories (one without discs), discs with
// several top-level nodes, sizes over 4 GiB, UTF-8 and legacy bytes, a media category with typed,
// base and old-format rows, and debtors with lent items.
Catalog makeRichCatalog();

// The bytes of a catalog written by the stream writer.
QByteArray catalogBytes(const Catalog& catalog);
// Reads a catalog from bytes; throws ArchiveError.
Catalog catalogFromBytes(const QByteArray& bytes);

} // namespace lumidex::test
