#pragma once

#include "media/MediaObject.h"

#include <cstdint>
#include <memory>
#include <string>

namespace lumidex {

class ArchiveReader;
class ArchiveWriter;

// The record behind one row of a media tab: status, type code, the container entry of the
// item's cover, and the item's media object, which the record owns. A record with type code 0
// and no media object is an old-format entry whose data live only in the row's cells.
// Copies are deep: each copy owns its own media object.
class CCatOtherItemData {
public:
    static constexpr int32_t kNewStatus = -1;
    static constexpr int32_t kLentStatus = 100;

    CCatOtherItemData();
    // Also creates a media object of that type when the code is 1..6.
    explicit CCatOtherItemData(int32_t typeCode);

    CCatOtherItemData(const CCatOtherItemData& other);
    CCatOtherItemData& operator=(const CCatOtherItemData& other);
    CCatOtherItemData(CCatOtherItemData&&) noexcept = default;
    CCatOtherItemData& operator=(CCatOtherItemData&&) noexcept = default;
    ~CCatOtherItemData();

    int32_t status() const { return m_status; }
    void setStatus(int32_t status) { m_status = status; }
    bool isLent() const { return m_status == kLentStatus; }

    int32_t typeCode() const { return m_typeCode; }
    void setTypeCode(int32_t code) { m_typeCode = code; }

    const std::string& coverEntryName() const { return m_coverEntryName; }
    void setCoverEntryName(std::string name) { m_coverEntryName = std::move(name); }
    // "_<tab>_<row>.cov"
    static std::string makeCoverEntryName(int tabIndex, int row);

    const CMediaObject* media() const { return m_media.get(); }
    CMediaObject* media() { return m_media.get(); }
    void setMedia(std::unique_ptr<CMediaObject> media) { m_media = std::move(media); }

    bool isOldFormat() const { return m_typeCode == 0 && !m_media; }

    // A type code outside 1..6 is stored as 0; the media object follows the marker 11, or the
    // marker -11 stands for none. The media object is written with the fields of the class the
    // stored code names (the shared fields of a mismatched object, see the .cpp).
    void Serialize(ArchiveWriter& out) const;
    // Replaces every field. A marker other than -11 loads a media object of the class the
    // type code names (a base object for code 0).
    void Serialize(ArchiveReader& in);

private:
    int32_t m_status = kNewStatus;
    int32_t m_typeCode = 0;
    std::string m_coverEntryName;
    std::unique_ptr<CMediaObject> m_media;
};

} // namespace lumidex
