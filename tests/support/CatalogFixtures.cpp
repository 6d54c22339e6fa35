#include "support/CatalogFixtures.h"

#include "catalog/CatalogStream.h"
#include "media/MediaObject.h"
#include "support/TestSupport.h"

namespace lumidex::test {

QImage makeIcon(QRgb colour)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(colour | 0xFF000000u);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, 0);
    return image;
}

void fillSmallDisc(Disc& disc)
{
    DiscTree& t = disc.tree;
    const int32_t a = t.append(DiscTree::kNone, "A", DiscTree::kFolderImage, DiscTree::kFolderImage);
    t.append(a, "A1", DiscTree::kFileImage, DiscTree::kFileImage);
    t.append(a, "A2", DiscTree::kFileImage, DiscTree::kFileImage);
    t.append(DiscTree::kNone, "B", DiscTree::kFileImage, DiscTree::kFileImage);
    for (int32_t i = 0; i < t.size(); ++i) {
        FileInfoRecord r;
        r.level = t.level(i);
        r.index = i;
        r.folder = t.image(i) == DiscTree::kFolderImage;
        r.size = r.folder ? 30 : 10 + i;
        r.created = 1100000000 + i;
        disc.records.append(r);
    }
}

Catalog makeRichCatalog()
{
    Catalog c;
    c.icons.append(makeIcon(0xFF0000));
    c.icons.append(makeIcon(0x00FF00));
    c.icons.append(makeIcon(0x0000FF));

    FilesCategory& software = c.filesCategories.emplace_back();
    software.name = "Software";
    Disc& cd1 = software.discs.emplace_back();
    cd1.name = "CD1";
    cd1.comment = "first disc\r\nsecond line";
    cd1.size = 7340032000LL; // over 4 GiB
    cd1.created = 1100000000;
    fillSmallDisc(cd1);
    cd1.records[1].comment = "Gr\xC3\xBC\xC3\x9F" "e";
    cd1.records[2].size = 5000000000LL;
    Disc& cd2 = software.discs.emplace_back();
    cd2.name = "Stra\xDF" "e"; // legacy bytes
    fillSmallDisc(cd2);
    cd2.records[3].comment = std::string(300, 'c'); // three-byte length form

    FilesCategory& music = c.filesCategories.emplace_back();
    music.name = "Music";

    MediaCategory& media = c.media.emplace();
    media.name = "Films,Books ...";
    MediaTab& dvd = media.tabs.emplace_back();
    dvd.caption = "DVD";
    dvd.columns = {{0, 250, "Title"}, {0, 0, "Language"}, {0, 0, "Genre"}, {0, 0, "Comments"}, {0, 50, "Status"}};
    MediaRow& alien = dvd.rows.emplace_back();
    alien.cells = {"Alien", "", "", "", " "};
    alien.record = CCatOtherItemData(1);
    alien.record.setStatus(100);
    alien.record.setCoverEntryName("_0_0.cov");
    alien.record.media()->setValue(MediaField::Title, "Alien");
    alien.record.media()->setValue(MediaField::Director, "Scott");
    MediaRow& old = dvd.rows.emplace_back();
    old.cells = {"Old", "English", "Drama", "N", ""};
    old.record.setStatus(0);
    old.record.setCoverEntryName("_0_1.cov");
    MediaTab& books = media.tabs.emplace_back();
    books.caption = "Books";
    books.columns = {{0, 250, "Title"}, {0, 0, "Language"}, {0, 0, "Genre"}, {0, 0, "Comments"}, {0, 50, "Status"}};
    MediaRow& book = books.rows.emplace_back();
    book.cells = {"Dune", "", "", "", ""};
    book.record = CCatOtherItemData(2);
    book.record.setStatus(0);
    book.record.setCoverEntryName("_1_0.cov");

    Debtor& ann = c.debtors.emplace_back();
    ann.name = "Ann";
    ann.added = "12/01/26";
    ann.email = "ann@example.org";
    ann.items = {{"Alien", "DVD"}};
    ann.returnDateSet = 1;
    ann.day = 3;
    ann.month = 12;
    ann.year = 2026;
    Debtor& bob = c.debtors.emplace_back();
    bob.name = "Bob";
    bob.info = "CD1\r\n";
    return c;
}

QByteArray catalogBytes(const Catalog& catalog)
{
    return writeBytes([&](ArchiveWriter& w) { writeCatalogStream(w, catalog); });
}

Catalog catalogFromBytes(const QByteArray& bytes)
{
    Catalog catalog;
    readBytes(bytes, [&](ArchiveReader& r) { catalog = readCatalogStream(r); });
    return catalog;
}

} // namespace lumidex::test
