#include "support/ScanFixtures.h"

namespace lumidex::test {

QByteArray taggedMp3()
{
    QByteArray bytes = QByteArray::fromHex("FFFB9064") + QByteArray(413, '\0');
    QByteArray tag(128, '\0');
    tag.replace(0, 3, "TAG");
    tag.replace(3, 5, "Title");
    tag.replace(33, 6, "Artist");
    tag[127] = char(17); // Rock
    return bytes + tag;
}

} // namespace lumidex::test
