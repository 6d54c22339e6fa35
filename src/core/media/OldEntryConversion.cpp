#include "media/OldEntryConversion.h"

#include "media/MediaCategory.h"
#include "media/MediaTypes.h"

namespace lumidex {

bool convertOldEntry(MediaRow& row, int typeCode)
{
    if (row.record.typeCode() != 0 || !isMediaTypeCode(typeCode))
        return false;
    // Tabs of old catalogs may lack the Comments column.
    const auto cell = [&](size_t column) {
        return column < row.cells.size() ? row.cells[column] : std::string();
    };
    auto media = CMediaObject::create(typeCode);
    media->setValue(MediaField::Title, cell(0));
    media->setValue(MediaField::Language, std::string());
    media->setValue(MediaField::Genre, std::string());
    media->setValue(MediaField::Comments, cell(2) + "\r\n" + cell(1) + "\r\n" + cell(3));
    row.record.setTypeCode(typeCode);
    row.record.setMedia(std::move(media));
    return true;
}

} // namespace lumidex
