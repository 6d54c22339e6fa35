#pragma once

#include "catalog/DiscTree.h"
#include "format/TextCodec.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <functional>
#include <unordered_map>
#include <vector>

namespace lumidex {

// A read-only view of one disc's tree for a QTreeView. The tree belongs to the disc; the model
// keeps a reference and never copies it. A model index's internal id is the node's pre-order
// index. To turn a row into a node the model keeps, per parent, the list of its children's node
// indexes, built the first time that parent is asked for (one pass over the parent's subtree by
// sibling jumps), so opening a folder of any size costs one linear pass.
//
// The model depends on QtCore and QtGui only; the view's owner hands it the icons.
class DiscTreeModel : public QAbstractItemModel {
public:
    explicit DiscTreeModel(const DiscTree& tree, LegacyCodePage legacy = LegacyCodePage::Windows1252,
                           QObject* parent = nullptr);

    void setIcons(const QIcon& folder, const QIcon& file);
    // Makes the item texts editable in place: an edited text goes to `rename`, which changes the
    // tree (or refuses); the view then shows whatever the tree holds.
    void setRenameHandler(std::function<void(int32_t node, const QString& text)> rename);
    // Drops every cached child list; call after the tree or its texts changed.
    void reset();

    const DiscTree& tree() const { return m_tree; }
    // The node an index stands for, DiscTree::kNone for the invalid (root) index.
    int32_t node(const QModelIndex& index) const;
    // The index of a node, invalid for kNone or a node outside the tree.
    QModelIndex indexOf(int32_t node) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    // The children of `parentNode` (kNone: the top level) in order; built on first use.
    const std::vector<int32_t>& children(int32_t parentNode) const;
    int rowOf(int32_t node) const;

    const DiscTree& m_tree;
    LegacyCodePage m_legacy;
    QIcon m_folderIcon;
    QIcon m_fileIcon;
    std::function<void(int32_t, const QString&)> m_rename;
    mutable std::unordered_map<int32_t, std::vector<int32_t>> m_children;
};

} // namespace lumidex
