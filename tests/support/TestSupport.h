#pragma once

#include "format/ArchiveReader.h"
#include "format/ArchiveWriter.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdint>
#include <functional>
#include <string>

namespace lumidex::test {

// Bytes written by `fill` through an ArchiveWriter.
QByteArray writeBytes(const std::function<void(ArchiveWriter&)>& fill);

// Runs `read` on an ArchiveReader over `bytes`; returns the number of bytes it consumed.
int64_t readBytes(const QByteArray& bytes, const std::function<void(ArchiveReader&)>& read);

// Little-endian integers appended to hand-laid file fixtures.
void putLe16(QByteArray& out, uint32_t v);
void putLe32(QByteArray& out, uint32_t v);

// Hex dump "03 61 62" for readable failure messages.
std::string hex(const QByteArray& bytes);
QByteArray fromHex(const char* spaced);

} // namespace lumidex::test
