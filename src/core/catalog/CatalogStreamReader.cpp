#include "catalog/CatalogStream.h"

#include "catalog/TreeItem.h"
#include "format/ArchiveReader.h"
#include "media/MediaCategoryBlock.h"

namespace lumidex {

namespace {

bool isCategoryBoundary(int32_t v)
{
    return v == CatalogMarker::FilesCategory || v == CatalogMarker::Debtors;
}

// A count that sizes what follows: never negative, never more than the file could hold.
uint32_t readSizedCount(ArchiveReader& ar, uint64_t minBytesEach, const char* what)
{
    const int32_t n = ar.readInt32();
    if (n < 0)
        ar.fail(std::string(what) + ": negative count " + std::to_string(n));
    ar.requireAvailable(uint64_t(n), minBytesEach, what);
    return uint32_t(n);
}

void readDisc(ArchiveReader& ar, Disc& disc, int32_t topLevelCount)
{
    disc.name = ar.readString();
    // Each top-level node takes at least 13 bytes (empty name and three int32).
    if (topLevelCount < 0)
        ar.fail("negative number of top-level nodes");
    ar.requireAvailable(uint64_t(topLevelCount), 13, "top-level nodes");
    for (int32_t i = 0; i < topLevelCount; ++i)
        readTreeBlock(ar, disc.tree, DiscTree::kNone);
}

// Section 5: the files categories with their discs and trees. Returns the value that ended it.
int32_t readFilesCategories(ArchiveReader& ar, Catalog& catalog, const std::vector<std::string>& names,
                            int32_t declaredCount, const CatalogReadProgress& progress)
{
    int32_t v = ar.readInt32();
    for (int32_t i = 0; i < declaredCount; ++i) {
        if (v != CatalogMarker::FilesCategory)
            break; // the debtors marker, or something foreign: no more categories
        FilesCategory& category = catalog.filesCategories.emplace_back();
        if (size_t(i) < names.size())
            category.name = names[size_t(i)];
        v = ar.readInt32();
        if (v == 0) {
            v = ar.readInt32();
            if (isCategoryBoundary(v))
                continue; // a category without discs
            // A first disc whose tree is empty was stored with 0 top-level nodes, which reads like
            // an empty category; what follows is then that disc's name, not a marker.
            ar.skip(-4);
            v = 0;
        }
        while (true) {
            Disc& disc = category.discs.emplace_back();
            readDisc(ar, disc, v);
            if (progress.discRead)
                progress.discRead(category, disc);
            v = ar.readInt32();
            if (isCategoryBoundary(v))
                break;
        }
    }
    return v;
}

void readFileEntries(ArchiveReader& ar, Disc* disc, bool current)
{
    // level, index, empty comment; plus size, time and flag in the current format
    const uint64_t minEntryBytes = current ? 4 + 4 + 1 + 8 + 4 + 4 : 4 + 4 + 1;
    const uint32_t count = readSizedCount(ar, minEntryBytes, "file entries");
    if (disc)
        disc->records.reserve(disc->records.size() + count);
    for (uint32_t k = 0; k < count; ++k) {
        FileInfoRecord record;
        record.level = ar.readInt32();
        record.index = ar.readInt32();
        record.comment = ar.readString();
        if (current) {
            record.size = ar.readInt64();
            record.created = ar.readTime();
            record.folder = ar.readInt32() != 0;
        } else if (disc) {
            // The old format has no flag: a node drawn with the file image both ways is a file.
            const int32_t node = disc->tree.find(record.key());
            record.folder = !(node != DiscTree::kNone && disc->tree.image(node) == DiscTree::kFileImage
                              && disc->tree.selectedImage(node) == DiscTree::kFileImage);
        }
        if (disc)
            disc->records.append(std::move(record));
    }
    if (current) {
        const int64_t size = ar.readInt64();
        const int32_t created = ar.readTime();
        if (disc) {
            disc->size = size;
            disc->created = created;
        }
    }
}

void readDebtorDetails(ArchiveReader& ar, Catalog& catalog)
{
    // marker, empty e-mail, item count, four int32
    const uint32_t count = readSizedCount(ar, 4 + 1 + 4 + 16, "debtor details");
    for (uint32_t k = 0; k < count; ++k) {
        if (ar.readInt32() != CatalogMarker::Record)
            continue; // this debtor keeps its defaults
        Debtor scratch;
        // Details beyond the debtors of section 6 are read and dropped.
        Debtor& debtor = k < catalog.debtors.size() ? catalog.debtors[k] : scratch;
        debtor.email = ar.readString();
        const uint32_t items = readSizedCount(ar, 2, "lent items");
        debtor.items.clear();
        for (uint32_t m = 0; m < items; ++m) {
            LentItem item;
            item.title = ar.readString();
            item.category = ar.readString();
            debtor.items.push_back(std::move(item));
        }
        debtor.returnDateSet = ar.readInt32();
        debtor.day = ar.readInt32();
        debtor.month = ar.readInt32();
        debtor.year = ar.readInt32();
    }
}

} // namespace

Catalog readCatalogStream(ArchiveReader& ar, const CatalogReadProgress& progress, CatalogSectionOffsets* offsets)
{
    Catalog catalog;
    const int64_t start = ar.pos();
    catalog.version = ar.readInt32();
    if (catalog.version != Catalog::kCurrentVersion) {
        catalog.version = 0; // old format: no version, the icons come first
        ar.seek(start);
    }
    const bool current = catalog.version == Catalog::kCurrentVersion;

    catalog.icons = ImageList::read(ar);

    const uint32_t nameCount = readSizedCount(ar, 1, "category names");
    std::vector<std::string> names;
    names.reserve(nameCount);
    for (uint32_t i = 0; i < nameCount; ++i)
        names.push_back(ar.readString());

    const int32_t declaredCategories = ar.readInt32();
    readFilesCategories(ar, catalog, names, declaredCategories, progress);

    // Section 6. Its marker ended section 5.
    const uint32_t debtorCount = readSizedCount(ar, 5, "debtors");
    catalog.debtors.reserve(debtorCount);
    for (uint32_t k = 0; k < debtorCount; ++k) {
        Debtor& debtor = catalog.debtors.emplace_back();
        debtor.name = ar.readString();
        debtor.telephone = ar.readString();
        debtor.info = ar.readString();
        debtor.added = ar.readString();
        debtor.lastChanged = ar.readString();
    }

    if (ar.readInt32() == CatalogMarker::MediaCategory)
        catalog.media = readMediaCategoryBlock(ar, catalog.version, progress.mediaTabRead);

    if (ar.readInt32() == CatalogMarker::DiscComments) {
        for (auto& category : catalog.filesCategories) {
            if (ar.readInt32() != CatalogMarker::Record)
                continue;
            const uint32_t n = readSizedCount(ar, 1, "disc comments");
            for (uint32_t j = 0; j < n; ++j) {
                std::string comment = ar.readString();
                if (j < category.discs.size()) {
                    category.discs[j].comment = std::move(comment);
                    if (progress.commentsRead)
                        progress.commentsRead();
                }
            }
        }
    }

    if (ar.readInt32() == CatalogMarker::FileEntries) {
        for (auto& category : catalog.filesCategories) {
            if (ar.readInt32() != CatalogMarker::Record)
                continue;
            const uint32_t n = readSizedCount(ar, 4, "discs with file entries");
            for (uint32_t j = 0; j < n; ++j)
                readFileEntries(ar, j < category.discs.size() ? &category.discs[j] : nullptr, current);
        }
    }

    CatalogSectionOffsets stored;
    const int32_t next = ar.readInt32();
    if (next == CatalogMarker::DebtorDetails) {
        readDebtorDetails(ar, catalog);
        stored.mediaCategory = ar.readInt32();
    } else {
        stored.mediaCategory = next; // old format: no debtor details
    }
    stored.discComments = ar.readInt32();
    if (offsets)
        *offsets = stored;
    return catalog;
}

} // namespace lumidex
