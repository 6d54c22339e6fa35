#pragma once

#include "format/TextCodec.h"

#include <QWidget>

#include <cstdint>
#include <memory>

class QMenu;
class QTreeView;

namespace lumidex {

struct Disc;
class DiscTreeModel;
class InfoPanel;

// The page of one disc: its folder tree on the left and the information panel on the right, with
// a splitter between them. The disc belongs to the catalog; the page shows it and keeps a
// reference, so it must not outlive the disc or see the disc move in memory.
//
// Selecting an item (click or key) shows its lines in the panel's File/Folder tab; a click beside
// the items shows the disc's lines in the Disc tab.
class DiscPage : public QWidget {
    Q_OBJECT
public:
    explicit DiscPage(const Disc& disc, LegacyCodePage legacy = LegacyCodePage::Windows1252,
                      QWidget* parent = nullptr);
    ~DiscPage() override;

    const Disc& disc() const;
    QTreeView* treeView() const;
    DiscTreeModel* model() const;
    InfoPanel* infoPanel() const;

    // The node of the tree's current item, DiscTree::kNone when there is none.
    int32_t selectedNode() const;
    // Makes the node the tree's current item, scrolls to it and shows its lines (File/Folder tab).
    void showItemInfo(int32_t node);
    // Shows the disc's lines (Disc tab).
    void showDiscInfo();
    // Fills both tabs again from the disc, keeping the tab that is shown: for after the disc's
    // name, comment or records changed.
    void refreshInfo();

    // The tree's context menu for a node: "Comment", and "Show detail" for a file whose details
    // are stored (descriptions, archives, MP3 files). The caller owns it.
    QMenu* buildItemMenu(int32_t node, QWidget* parent);

signals:
    // The user selected an item (click or key), asked to comment it, or asked for its details
    // (double-click or "Show detail").
    void itemSelected(int32_t node);
    void commentRequested(int32_t node);
    void detailsRequested(int32_t node);
    // The item's text was edited in place (F2, or a click on the selected item).
    void renameRequested(int32_t node, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace lumidex
