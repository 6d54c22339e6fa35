#include "catalog/ItemKey.h"

#include <charconv>
#include <cstdio>

namespace lumidex {

std::string ItemKey::text() const
{
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "[%d,%d]\n", level, index);
    return std::string(buffer, size_t(n));
}

std::optional<ItemKey> ItemKey::parse(std::string_view text)
{
    if (text.size() < 6 || text.front() != '[' || text.substr(text.size() - 2) != "]\n")
        return std::nullopt;
    const std::string_view body = text.substr(1, text.size() - 3);
    const auto comma = body.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    ItemKey key;
    const auto parsePart = [](std::string_view part, int32_t& out) {
        const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), out);
        return ec == std::errc() && end == part.data() + part.size() && !part.empty();
    };
    if (!parsePart(body.substr(0, comma), key.level) || !parsePart(body.substr(comma + 1), key.index))
        return std::nullopt;
    return key;
}

} // namespace lumidex
