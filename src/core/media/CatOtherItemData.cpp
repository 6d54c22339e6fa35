#include "media/CatOtherItemData.h"

#include "format/ArchiveReader.h"
#include "format/ArchiveWriter.h"
#include "media/MediaTypes.h"

namespace lumidex {

namespace {
constexpr int32_t kHasMediaMarker = 11;
constexpr int32_t kNoMediaMarker = -11;

int32_t storedTypeCode(int32_t code)
{
    return isMediaTypeCode(code) ? code : 0;
}
} // namespace

CCatOtherItemData::CCatOtherItemData() = default;

CCatOtherItemData::CCatOtherItemData(int32_t typeCode) : m_typeCode(typeCode)
{
    if (isMediaTypeCode(typeCode))
        m_media = CMediaObject::create(typeCode);
}

CCatOtherItemData::CCatOtherItemData(const CCatOtherItemData& other)
    : m_status(other.m_status),
      m_typeCode(other.m_typeCode),
      m_coverEntryName(other.m_coverEntryName),
      m_media(other.m_media ? other.m_media->clone() : nullptr)
{
}

CCatOtherItemData& CCatOtherItemData::operator=(const CCatOtherItemData& other)
{
    if (this != &other)
        *this = CCatOtherItemData(other);
    return *this;
}

CCatOtherItemData::~CCatOtherItemData() = default;

std::string CCatOtherItemData::makeCoverEntryName(int tabIndex, int row)
{
    return "_" + std::to_string(tabIndex) + "_" + std::to_string(row) + ".cov";
}

void CCatOtherItemData::Serialize(ArchiveWriter& out) const
{
    const int32_t code = storedTypeCode(m_typeCode);
    out.writeInt32(m_status);
    out.writeInt32(code);
    out.writeString(m_coverEntryName);
    if (!m_media) {
        out.writeInt32(kNoMediaMarker);
        return;
    }
    out.writeInt32(kHasMediaMarker);
    if (m_media->typeCode() == code) {
        m_media->Serialize(out);
        return;
    }
    // The loader builds the class the stored code names and reads exactly its fields, so a
    // media object of another class is written as that class; anything else would shift every
    // later byte of the stream.
    auto asStored = CMediaObject::create(code);
    asStored->CopyFrom(*m_media);
    asStored->Serialize(out);
}

void CCatOtherItemData::Serialize(ArchiveReader& in)
{
    m_status = in.readInt32();
    m_typeCode = storedTypeCode(in.readInt32());
    m_coverEntryName = in.readString();
    if (in.readInt32() == kNoMediaMarker) {
        m_media.reset();
        return;
    }
    auto media = CMediaObject::create(m_typeCode);
    media->Serialize(in);
    m_media = std::move(media);
}

} // namespace lumidex
