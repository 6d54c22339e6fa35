#include "catalog/CatalogStream.h"

#include "catalog/TreeItem.h"
#include "format/ArchiveWriter.h"
#include "media/MediaCategoryBlock.h"

namespace lumidex {

namespace {

int32_t storedCount(size_t n, ArchiveWriter& ar)
{
    if (n > size_t(INT32_MAX))
        throw ArchiveError("too many entries to store", ar.pos());
    return int32_t(n);
}

int32_t storedOffset(int64_t pos)
{
    if (pos > INT32_MAX)
        throw ArchiveError("catalog stream exceeds the 2 GiB its section offsets can address", pos);
    return int32_t(pos);
}

} // namespace

int catalogWriteSteps(const Catalog& catalog)
{
    int steps = 0;
    for (const auto& category : catalog.filesCategories)
        steps += int(category.discs.size());
    if (catalog.media)
        steps += int(catalog.media->tabs.size());
    return steps;
}

CatalogSectionOffsets writeCatalogStream(ArchiveWriter& ar, const Catalog& catalog,
                                         const std::function<void()>& stepDone)
{
    const auto step = [&] {
        if (stepDone)
            stepDone();
    };
    const auto& categories = catalog.filesCategories;
    const int32_t categoryCount = storedCount(categories.size(), ar);

    ar.writeInt32(Catalog::kCurrentVersion);
    catalog.icons.write(ar);

    ar.writeInt32(categoryCount);
    for (const auto& category : categories)
        ar.writeString(category.name);
    ar.writeInt32(categoryCount);

    for (const auto& category : categories) {
        ar.writeInt32(CatalogMarker::FilesCategory);
        if (category.discs.empty())
            ar.writeInt32(0);
        for (const auto& disc : category.discs) {
            ar.writeInt32(disc.tree.topLevelCount());
            ar.writeString(disc.name);
            writeTreeBlock(ar, disc.tree);
            step();
        }
    }

    ar.writeInt32(CatalogMarker::Debtors);
    ar.writeInt32(storedCount(catalog.debtors.size(), ar));
    for (const auto& debtor : catalog.debtors) {
        ar.writeString(debtor.name);
        ar.writeString(debtor.telephone);
        ar.writeString(debtor.info);
        ar.writeString(debtor.added);
        ar.writeString(debtor.lastChanged);
    }

    CatalogSectionOffsets offsets;
    offsets.mediaCategory = storedOffset(ar.pos());
    ar.writeInt32(CatalogMarker::MediaCategory);
    writeMediaCategoryBlock(ar, catalog.media ? &*catalog.media : nullptr, step);

    offsets.discComments = storedOffset(ar.pos());
    ar.writeInt32(CatalogMarker::DiscComments);
    for (const auto& category : categories) {
        ar.writeInt32(CatalogMarker::Record);
        ar.writeInt32(storedCount(category.discs.size(), ar));
        for (const auto& disc : category.discs)
            ar.writeString(disc.comment);
    }

    ar.writeInt32(CatalogMarker::FileEntries);
    for (const auto& category : categories) {
        ar.writeInt32(CatalogMarker::Record);
        ar.writeInt32(storedCount(category.discs.size(), ar));
        for (const auto& disc : category.discs) {
            ar.writeInt32(storedCount(disc.records.size(), ar));
            for (const auto& record : disc.records) {
                ar.writeInt32(record.level);
                ar.writeInt32(record.index);
                ar.writeString(record.comment);
                ar.writeInt64(record.size);
                ar.writeTime(record.created);
                ar.writeInt32(record.folder ? 1 : 0);
            }
            ar.writeInt64(disc.size);
            ar.writeTime(disc.created);
        }
    }

    ar.writeInt32(CatalogMarker::DebtorDetails);
    ar.writeInt32(storedCount(catalog.debtors.size(), ar));
    for (const auto& debtor : catalog.debtors) {
        ar.writeInt32(CatalogMarker::Record);
        ar.writeString(debtor.email);
        ar.writeInt32(storedCount(debtor.items.size(), ar));
        for (const auto& item : debtor.items) {
            ar.writeString(item.title);
            ar.writeString(item.category);
        }
        ar.writeInt32(debtor.returnDateSet);
        ar.writeInt32(debtor.day);
        ar.writeInt32(debtor.month);
        ar.writeInt32(debtor.year);
    }

    ar.writeInt32(offsets.mediaCategory);
    ar.writeInt32(offsets.discComments);
    return offsets;
}

} // namespace lumidex
