#pragma once

#include "catalog/ItemKey.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumidex {

// A disc's folder tree as one array of nodes in pre-order: a node's position is the index of its
// ItemKey and its depth the level, so keys cost nothing. Names live in one shared byte pool.
// Nodes are appended in pre-order only (a new node's parent is the last node appended or one of its
// ancestors), which is how both the scan and the catalog stream produce them.
class DiscTree {
public:
    static constexpr int32_t kNone = -1;
    // Image indexes of the disc tree's image list.
    static constexpr int32_t kFolderImage = 1;
    static constexpr int32_t kFileImage = 3;

    int32_t size() const { return int32_t(m_nodes.size()); }
    bool empty() const { return m_nodes.empty(); }
    void clear();
    void reserve(size_t nodes, size_t textBytes);

    std::string_view text(int32_t i) const
    {
        const Node& n = m_nodes[size_t(i)];
        return {m_text.data() + n.textOffset, n.textLength};
    }
    int32_t image(int32_t i) const { return m_nodes[size_t(i)].image; }
    int32_t selectedImage(int32_t i) const { return m_nodes[size_t(i)].selectedImage; }
    int32_t childCount(int32_t i) const { return m_nodes[size_t(i)].childCount; }
    int32_t level(int32_t i) const { return m_nodes[size_t(i)].level; }
    int32_t parent(int32_t i) const { return m_nodes[size_t(i)].parent; }
    // One past the last node of i's subtree.
    int32_t subtreeEnd(int32_t i) const;
    int32_t firstChild(int32_t i) const { return childCount(i) > 0 ? i + 1 : kNone; }
    int32_t nextSibling(int32_t i) const;
    // Number of all nodes below i at any depth.
    int32_t descendantCount(int32_t i) const { return subtreeEnd(i) - i - 1; }
    int32_t topLevelCount() const { return m_topLevelCount; }

    ItemKey key(int32_t i) const { return {level(i), i}; }
    // The node with that level and index, or kNone.
    int32_t find(ItemKey key) const;

    // Appends a node as the last child of `parent` (kNone for the top level); returns its index.
    int32_t append(int32_t parent, std::string_view text, int32_t image, int32_t selectedImage);
    void setText(int32_t i, std::string_view text);
    void setImages(int32_t i, int32_t image, int32_t selectedImage);

    size_t memoryUsage() const;

private:
    struct Node {
        uint32_t textOffset;
        uint32_t textLength;
        int32_t image;
        int32_t selectedImage;
        int32_t childCount;
        int32_t level;
        int32_t parent;
        int32_t end; // one past the subtree once closed; kOpen while nodes may still be added below
    };
    static constexpr int32_t kOpen = INT32_MAX;

    uint32_t storeText(std::string_view text);

    std::vector<Node> m_nodes;
    std::string m_text;
    std::vector<int32_t> m_openPath; // the last node appended and its ancestors
    int32_t m_topLevelCount = 0;
};

} // namespace lumidex
