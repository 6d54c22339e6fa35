#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace lumidex {

class ArchiveReader;
class ArchiveWriter;

// The category icons of a catalog, stored in the catalog stream as an image-list stream: a
// 28-byte header, then a colour bitmap and a 1-bit mask bitmap holding every image as a tile.
// Every image is kept at the list's image size as ARGB32 whose alpha is 0 (transparent, pixel
// 0x00000000) or 255, which is all the 1-bit mask of the stream can carry.
//
// A list read from a version-0x0101 stream keeps the bytes it was read from until it is changed,
// so that an unchanged catalog is written back byte for byte.
class ImageList {
public:
    // Largest image side accepted, here and when reading; keeps a hostile header from sizing
    // allocations. Icons are 32 x 32.
    static constexpr int kMaxImageSide = 1024;
    // The stream counts images and slots in 16 bits and needs one slot spare.
    static constexpr int kMaxCount = 0xFFFE;

    // Sides outside 1..kMaxImageSide are clamped into it.
    explicit ImageList(int imageWidth = 32, int imageHeight = 32);

    int count() const { return int(m_images.size()); }
    int imageWidth() const { return m_width; }
    int imageHeight() const { return m_height; }

    // A null image for an index out of range.
    QImage image(int index) const;

    // Images are scaled to the image size; alpha below 128 becomes transparent, anything else
    // opaque. A null image is stored as a fully transparent one. Each returns false and changes
    // nothing for an index out of range (insert accepts 0..count) or a list already at kMaxCount.
    bool append(const QImage& image);
    bool insert(int index, const QImage& image);
    bool replace(int index, const QImage& image);
    bool remove(int index);

    // Reads exactly one image-list stream from the reader's position and leaves the reader just
    // after it. Throws ArchiveError on a malformed or truncated stream.
    static ImageList read(ArchiveReader& reader);
    // Always writes version 0x0101, 24-bit colour with a mask, unless the bytes that were read
    // are still valid (see above).
    void write(ArchiveWriter& writer) const;

private:
    QImage normalized(const QImage& image) const;
    void changed();

    int m_width;
    int m_height;
    QList<QImage> m_images;
    // The whole stream as read, version 0x0101 only; emptied by any change.
    QByteArray m_raw;
    // Slots allocated in the stream that was read; 0 once changed.
    int m_readSlots = 0;
};

} // namespace lumidex
