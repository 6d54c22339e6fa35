// The image-list stream reader over arbitrary bytes. A list that reads is written and read back:
// it must come back with the same images.

#include "FuzzSupport.h"

#include "format/ArchiveError.h"
#include "format/ArchiveReader.h"
#include "format/ArchiveWriter.h"
#include "format/ImageList.h"

#include <QBuffer>

#include <optional>

using namespace lumidex;

namespace {

std::optional<ImageList> readList(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    ArchiveReader reader(buffer);
    try {
        return ImageList::read(reader);
    } catch (const ArchiveError&) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto list = readList(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!list)
        return 0;
    fuzz::check(list->count() <= ImageList::kMaxCount, "a list read holds at most kMaxCount images");

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    {
        ArchiveWriter writer(out);
        list->write(writer);
        writer.flush();
    }
    const auto again = readList(out.data());
    fuzz::check(again.has_value(), "a written image list reads back");
    fuzz::check(again->count() == list->count() && again->imageWidth() == list->imageWidth()
            && again->imageHeight() == list->imageHeight(),
        "a written image list keeps its count and image size");
    for (int i = 0; i < list->count(); ++i)
        fuzz::check(again->image(i) == list->image(i), "a written image reads back equal");
    return 0;
}
