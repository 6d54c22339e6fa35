#include "catalog/DiscTree.h"

#include <stdexcept>

namespace lumidex {

void DiscTree::clear()
{
    m_nodes.clear();
    m_text.clear();
    m_openPath.clear();
    m_topLevelCount = 0;
}

void DiscTree::reserve(size_t nodes, size_t textBytes)
{
    m_nodes.reserve(nodes);
    m_text.reserve(textBytes);
}

int32_t DiscTree::subtreeEnd(int32_t i) const
{
    const int32_t end = m_nodes[size_t(i)].end;
    return end == kOpen ? size() : end;
}

int32_t DiscTree::nextSibling(int32_t i) const
{
    const int32_t end = subtreeEnd(i);
    return end < size() && parent(end) == parent(i) ? end : kNone;
}

int32_t DiscTree::find(ItemKey key) const
{
    if (key.index < 0 || key.index >= size() || level(key.index) != key.level)
        return kNone;
    return key.index;
}

uint32_t DiscTree::storeText(std::string_view text)
{
    if (m_text.size() + text.size() > UINT32_MAX)
        throw std::length_error("disc tree text exceeds 4 GiB");
    const auto offset = uint32_t(m_text.size());
    m_text.append(text);
    return offset;
}

int32_t DiscTree::append(int32_t parent, std::string_view text, int32_t image, int32_t selectedImage)
{
    if (m_nodes.size() >= size_t(INT32_MAX))
        throw std::length_error("disc tree too large");
    // Close every open node that is not the parent or one of its ancestors.
    const int32_t index = size();
    while (!m_openPath.empty() && m_openPath.back() != parent) {
        m_nodes[size_t(m_openPath.back())].end = index;
        m_openPath.pop_back();
    }
    if (parent != kNone && m_openPath.empty())
        throw std::logic_error("disc tree nodes must be appended in pre-order");

    Node node;
    node.textOffset = storeText(text);
    node.textLength = uint32_t(text.size());
    node.image = image;
    node.selectedImage = selectedImage;
    node.childCount = 0;
    node.level = parent == kNone ? 0 : m_nodes[size_t(parent)].level + 1;
    node.parent = parent;
    node.end = kOpen;
    m_nodes.push_back(node);
    if (parent == kNone)
        ++m_topLevelCount;
    else
        ++m_nodes[size_t(parent)].childCount;
    m_openPath.push_back(index);
    return index;
}

void DiscTree::setText(int32_t i, std::string_view text)
{
    Node& n = m_nodes[size_t(i)];
    n.textOffset = storeText(text);
    n.textLength = uint32_t(text.size());
}

void DiscTree::setImages(int32_t i, int32_t image, int32_t selectedImage)
{
    m_nodes[size_t(i)].image = image;
    m_nodes[size_t(i)].selectedImage = selectedImage;
}

size_t DiscTree::memoryUsage() const
{
    return m_nodes.capacity() * sizeof(Node) + m_text.capacity() + m_openPath.capacity() * sizeof(int32_t);
}

} // namespace lumidex
