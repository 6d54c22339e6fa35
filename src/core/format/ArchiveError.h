#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace lumidex {

// Thrown by the archive stream on a read past the end, a malformed value or a failed device write.
// Records never catch it; the operation that reads or writes a whole stream does.
class ArchiveError : public std::runtime_error {
public:
    ArchiveError(const std::string& what, int64_t offset)
        : std::runtime_error(what + " at offset " + std::to_string(offset)), m_offset(offset) {}

    int64_t offset() const { return m_offset; }

private:
    int64_t m_offset;
};

} // namespace lumidex
