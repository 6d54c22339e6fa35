#include "catalog/FileObject.h"

#include "format/ArchiveReader.h"
#include "format/ArchiveWriter.h"

namespace lumidex {

void CFileObject::Serialize(ArchiveWriter& ar) const
{
    ar.writeString(key);
    ar.writeString(name);
    ar.writeInt32(int32_t(lines.size()));
    ar.writeStringList(lines);
}

void CFileObject::Serialize(ArchiveReader& ar)
{
    key = ar.readString();
    name = ar.readString();
    loadedLineCount = ar.readInt32();
    lines = ar.readStringList();
}

} // namespace lumidex
