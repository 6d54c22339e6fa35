#include "support/OldFormatCatalog.h"

#include "catalog/CatalogStream.h"
#include "support/CatalogFixtures.h"
#include "support/TestSupport.h"

namespace lumidex::test {

QByteArray oldFormatCatalog()
{
    ImageList icons;
    for (QRgb colour : {0xFF0000u, 0x00FF00u, 0x0000FFu})
        icons.append(makeIcon(colour));

    return writeBytes([&](ArchiveWriter& w) {
        icons.write(w);
        w.writeInt32(2);
        w.writeString("Software");
        w.writeString("Music");
        w.writeInt32(2);

        w.writeInt32(CatalogMarker::FilesCategory);
        w.writeInt32(3); // top-level nodes
        w.writeString("OldCD");
        const auto node = [&](const char* text, int32_t image, int32_t selected, int32_t children) {
            w.writeString(text);
            w.writeInt32(image);
            w.writeInt32(selected);
            w.writeInt32(children);
        };
        node("A", 1, 1, 2);
        node("A1", 3, 3, 0);
        node("A2", 3, 3, 0);
        node("B", 3, 1, 0);
        node("C", 3, 3, 0);
        w.writeInt32(CatalogMarker::FilesCategory);
        w.writeInt32(0);

        w.writeInt32(CatalogMarker::Debtors);
        w.writeInt32(1);
        for (const char* field : {"Ann", "555", "OldCD\r\n", "01/02/05", ""})
            w.writeString(field);

        const int32_t mediaAt = int32_t(w.pos());
        w.writeInt32(CatalogMarker::MediaCategory);
        w.writeInt32(1);
        w.writeString("Films,Books ...");
        w.writeInt32(1);
        w.writeString("DVD");
        for (const char* heading : {"Title", "Language", "Genre", "Comments"}) {
            w.writeInt32(0);
            w.writeInt32(heading[0] == 'T' ? 250 : 90);
            w.writeString(heading);
        }
        w.writeInt32(-1);
        w.writeInt32(2);
        for (const char* cell : {"Alien", "English", "SF", "classic"})
            w.writeString(cell);
        w.writeInt32(100);
        for (const char* cell : {"Brazil", "", "Satire", ""})
            w.writeString(cell);
        w.writeInt32(5);

        const int32_t commentsAt = int32_t(w.pos());
        w.writeInt32(CatalogMarker::DiscComments);
        w.writeInt32(CatalogMarker::Record);
        w.writeInt32(1);
        w.writeString("old comment");
        w.writeInt32(CatalogMarker::Record);
        w.writeInt32(0);

        w.writeInt32(CatalogMarker::FileEntries);
        w.writeInt32(CatalogMarker::Record);
        w.writeInt32(1);
        w.writeInt32(6); // one more entry than nodes: its key names no node
        for (int32_t i = 0; i < 6; ++i) {
            w.writeInt32(i == 0 || i >= 3 ? 0 : 1);
            w.writeInt32(i);
            w.writeString(i == 1 ? "first file" : "");
        }
        w.writeInt32(CatalogMarker::Record);
        w.writeInt32(0);

        w.writeInt32(mediaAt);
        w.writeInt32(commentsAt);
    });
}

} // namespace lumidex::test
