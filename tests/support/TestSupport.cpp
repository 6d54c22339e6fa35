#include "support/TestSupport.h"

namespace lumidex::test {

QByteArray writeBytes(const std::function<void(ArchiveWriter&)>& fill)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ArchiveWriter writer(buffer);
    fill(writer);
    writer.flush();
    return bytes;
}

int64_t readBytes(const QByteArray& bytes, const std::function<void(ArchiveReader&)>& read)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    ArchiveReader reader(buffer);
    read(reader);
    return reader.pos();
}

std::string hex(const QByteArray& bytes)
{
    return bytes.toHex(' ').toUpper().toStdString();
}

QByteArray fromHex(const char* spaced)
{
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

void putLe16(QByteArray& out, uint32_t v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void putLe32(QByteArray& out, uint32_t v)
{
    putLe16(out, v & 0xFFFF);
    putLe16(out, v >> 16);
}

} // namespace lumidex::test
