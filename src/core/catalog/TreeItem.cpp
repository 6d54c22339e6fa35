#include "catalog/TreeItem.h"

#include "catalog/DiscTree.h"
#include "format/ArchiveReader.h"
#include "format/ArchiveWriter.h"

#include <stdexcept>

namespace lumidex {

namespace {
// Mask bits of the tree view item the record was filled from: text, image, state, selected image,
// children and item data.
constexpr uint32_t kQueriedAttributes = 0x0001 | 0x0002 | 0x0004 | 0x0008 | 0x0020 | 0x0040;
} // namespace

CTreeItem CTreeItem::fromTree(const DiscTree& tree, int32_t node)
{
    CTreeItem item;
    item.mask = kQueriedAttributes;
    item.text = std::string(tree.text(node));
    item.image = tree.image(node);
    item.selectedImage = tree.selectedImage(node);
    item.childCount = tree.childCount(node);
    item.itemData = tree.image(node) == DiscTree::kFolderImage ? uint32_t(tree.descendantCount(node)) : 0;
    return item;
}

void CTreeItem::Serialize(ArchiveWriter& ar) const
{
    ar.writeString(text);
    ar.writeInt32(image);
    ar.writeInt32(selectedImage);
    ar.writeInt32(childCount);
}

void CTreeItem::Serialize(ArchiveReader& ar)
{
    text.clear();
    ar.appendString(text);
    image = ar.readInt32();
    selectedImage = ar.readInt32();
    childCount = ar.readInt32();
}

void writeTreeBlock(ArchiveWriter& ar, const DiscTree& tree)
{
    // The array already is the pre-order walk, and child counts are the actual ones.
    for (int32_t i = 0; i < tree.size(); ++i) {
        ar.writeString(tree.text(i));
        ar.writeInt32(tree.image(i));
        ar.writeInt32(tree.selectedImage(i));
        ar.writeInt32(tree.childCount(i));
    }
}

void readTreeBlock(ArchiveReader& ar, DiscTree& tree, int32_t parent)
{
    // Iterative, so that a hostile chain of single children cannot exhaust the stack.
    struct Pending {
        int32_t node;
        int32_t childrenLeft;
    };
    std::vector<Pending> stack;
    CTreeItem item;
    const auto readNode = [&](int32_t under) {
        item.Serialize(ar);
        int32_t node;
        try {
            node = tree.append(under, item.text, item.image, item.selectedImage);
        } catch (const std::length_error& e) {
            ar.fail(e.what());
        }
        stack.push_back({node, item.childCount > 0 ? item.childCount : 0});
    };
    readNode(parent);
    while (!stack.empty()) {
        Pending& top = stack.back();
        if (top.childrenLeft == 0) {
            stack.pop_back();
            continue;
        }
        --top.childrenLeft;
        readNode(top.node);
    }
}

} // namespace lumidex
