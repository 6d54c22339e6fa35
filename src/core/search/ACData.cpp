#include "search/ACData.h"

#include "format/ArchiveReader.h"
#include "format/ArchiveWriter.h"

namespace lumidex {

void CACData::Serialize(ArchiveWriter& ar) const
{
    ar.writeInt32(value);
    ar.writeInt32(int32_t(strings.size()));
    for (const auto& s : strings)
        ar.writeString(s);
}

void CACData::Serialize(ArchiveReader& ar)
{
    value = ar.readInt32();
    const int32_t n = ar.readInt32();
    if (n < 0)
        ar.fail("negative string count");
    ar.requireAvailable(uint64_t(n), 1, "search history");
    for (int32_t i = 0; i < n; ++i)
        strings.push_back(ar.readString());
}

} // namespace lumidex
