// The catalog stream reader over arbitrary bytes; ArchiveError is the expected way to refuse them.
// A catalog that reads is written and read back, and writing that again gives the same bytes.

#include "FuzzSupport.h"

#include "catalog/CatalogStream.h"
#include "format/ArchiveError.h"
#include "format/ArchiveReader.h"
#include "format/ArchiveWriter.h"

#include <QBuffer>

#include <optional>

using namespace lumidex;

namespace {

std::optional<Catalog> readCatalog(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    ArchiveReader reader(buffer);
    try {
        return readCatalogStream(reader);
    } catch (const ArchiveError&) {
        return std::nullopt;
    }
}

QByteArray writeCatalog(const Catalog& catalog)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    {
        ArchiveWriter writer(out);
        writeCatalogStream(writer, catalog);
        writer.flush();
    }
    return out.data();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto catalog = readCatalog(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!catalog)
        return 0;
    const QByteArray written = writeCatalog(*catalog);
    const auto again = readCatalog(written);
    fuzz::check(again.has_value(), "a written catalog reads back");
    fuzz::check(writeCatalog(*again) == written, "a catalog read back writes the same bytes");
    return 0;
}
