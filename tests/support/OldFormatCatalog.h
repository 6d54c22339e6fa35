#pragma once

#include <QByteArray>

namespace lumidex::test {

// A catalog stream of the old format, laid out by hand: no version, file entries without size,
// time and folder flag, media rows with a status instead of a record, no debtor details.
// Category "Software" holds disc "OldCD" (A folder with A1, A2; B drawn as a file in one image
// only; C a file), "Music" is empty, tab "DVD" has 4 columns and the rows "Alien" (status 100)
// and "Brazil" (status 5); one debtor "Ann".
QByteArray oldFormatCatalog();

} // namespace lumidex::test
