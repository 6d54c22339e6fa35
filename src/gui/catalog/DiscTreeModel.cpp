#include "gui/catalog/DiscTreeModel.h"

#include <algorithm>

namespace lumidex {

DiscTreeModel::DiscTreeModel(const DiscTree& tree, LegacyCodePage legacy, QObject* parent)
    : QAbstractItemModel(parent), m_tree(tree), m_legacy(legacy)
{
}

void DiscTreeModel::setIcons(const QIcon& folder, const QIcon& file)
{
    m_folderIcon = folder;
    m_fileIcon = file;
    if (m_tree.empty())
        return;
    // Every row may change its decoration; tell the views without walking the tree.
    emit layoutAboutToBeChanged();
    emit layoutChanged();
}

void DiscTreeModel::reset()
{
    beginResetModel();
    m_children.clear();
    endResetModel();
}

int32_t DiscTreeModel::node(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return DiscTree::kNone;
    return int32_t(index.internalId());
}

QModelIndex DiscTreeModel::indexOf(int32_t node) const
{
    if (node < 0 || node >= m_tree.size())
        return {};
    return createIndex(rowOf(node), 0, quintptr(node));
}

const std::vector<int32_t>& DiscTreeModel::children(int32_t parentNode) const
{
    auto [it, inserted] = m_children.try_emplace(parentNode);
    std::vector<int32_t>& list = it->second;
    if (!inserted)
        return list;
    int32_t child;
    int32_t end;
    if (parentNode == DiscTree::kNone) {
        list.reserve(size_t(m_tree.topLevelCount()));
        child = 0;
        end = m_tree.size();
    } else {
        list.reserve(size_t(m_tree.childCount(parentNode)));
        child = parentNode + 1;
        end = m_tree.subtreeEnd(parentNode);
    }
    // In pre-order a node's next sibling starts where its subtree ends.
    while (child < end) {
        list.push_back(child);
        child = m_tree.subtreeEnd(child);
    }
    return list;
}

int DiscTreeModel::rowOf(int32_t node) const
{
    const std::vector<int32_t>& siblings = children(m_tree.parent(node));
    const auto it = std::lower_bound(siblings.begin(), siblings.end(), node);
    return int(it - siblings.begin());
}

QModelIndex DiscTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    return createIndex(row, column, quintptr(children(node(parent))[size_t(row)]));
}

QModelIndex DiscTreeModel::parent(const QModelIndex& child) const
{
    const int32_t n = node(child);
    if (n == DiscTree::kNone)
        return {};
    return indexOf(m_tree.parent(n));
}

int DiscTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    const int32_t n = node(parent);
    return n == DiscTree::kNone ? m_tree.topLevelCount() : m_tree.childCount(n);
}

int DiscTreeModel::columnCount(const QModelIndex& /*parent*/) const
{
    return 1;
}

bool DiscTreeModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant DiscTreeModel::data(const QModelIndex& index, int role) const
{
    const int32_t n = node(index);
    if (n == DiscTree::kNone)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return decodeCatalogText(m_tree.text(n), m_legacy);
    case Qt::DecorationRole: {
        // An empty folder keeps the folder image the scan gave it.
        const bool folder = m_tree.image(n) == DiscTree::kFolderImage || m_tree.childCount(n) > 0;
        const QIcon& icon = folder ? m_folderIcon : m_fileIcon;
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    default:
        return {};
    }
}

Qt::ItemFlags DiscTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return m_rename ? flags | Qt::ItemIsEditable : flags;
}

bool DiscTreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int32_t n = node(index);
    if (!m_rename || role != Qt::EditRole || n == DiscTree::kNone)
        return false;
    m_rename(n, value.toString());
    emit dataChanged(index, index, {Qt::DisplayRole});
    return true;
}

void DiscTreeModel::setRenameHandler(std::function<void(int32_t, const QString&)> rename)
{
    m_rename = std::move(rename);
}

} // namespace lumidex
