#pragma once

#include <cstdint>
#include <string>

namespace lumidex {

class ArchiveReader;
class ArchiveWriter;
class DiscTree;

// One node of a disc tree as it is stored in the catalog stream. Only text, image, selected image
// and child count are stored; the other fields describe the node in a tree view and stay in memory.
struct CTreeItem {
    static constexpr int32_t kTextCapacity = 260;

    uint32_t mask = 0;
    uint32_t state = 0;
    uint32_t stateMask = 0;
    std::string text;
    int32_t textCapacity = kTextCapacity;
    int32_t image = 0;
    int32_t selectedImage = 0;
    int32_t childCount = 0;
    uint32_t itemData = 0;

    // The node's record; the child count is the node's actual number of children. The whole name
    // is kept: cutting it to the view's buffer would lose bytes on the next save.
    static CTreeItem fromTree(const DiscTree& tree, int32_t node);

    void Serialize(ArchiveWriter& ar) const;
    void Serialize(ArchiveReader& ar);
};

// The tree block: every node followed by its subtree, in pre-order.
// Writes the whole forest of `tree` (all top-level nodes and their subtrees).
void writeTreeBlock(ArchiveWriter& ar, const DiscTree& tree);
// Reads one node and its subtree as the last child of `parent` (DiscTree::kNone for the top level).
void readTreeBlock(ArchiveReader& ar, DiscTree& tree, int32_t parent);

} // namespace lumidex
