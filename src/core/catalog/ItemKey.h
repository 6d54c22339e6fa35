#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumidex {

// Names a node of a disc tree: its depth and its pre-order position over the whole disc tree.
// Info records carry it as the text "[level,index]\n", the line feed included.
struct ItemKey {
    int32_t level = -1;
    int32_t index = -1;

    std::string text() const;
    // Accepts exactly the text form; nullopt for anything else.
    static std::optional<ItemKey> parse(std::string_view text);

    bool isNull() const { return level < 0 || index < 0; }
    friend bool operator==(const ItemKey&, const ItemKey&) = default;
};

} // namespace lumidex
