#include "gui/catalog/DiscPage.h"

#include "catalog/Disc.h"
#include "gui/catalog/DiscTreeModel.h"
#include "gui/catalog/InfoPanel.h"
#include "scan/SpecialFile.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QSplitter>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

namespace lumidex {

struct DiscPage::Private {
    const Disc& disc;
    LegacyCodePage legacy;
    DiscTreeModel* model = nullptr;
    QTreeView* tree = nullptr;
    InfoPanel* panel = nullptr;

    bool hasDetails(int32_t node) const
    {
        return node != DiscTree::kNone && specialExtension(disc.tree.text(node)).has_value();
    }

    void showItemLines(int32_t node)
    {
        if (node == DiscTree::kNone)
            return;
        const QString name = decodeCatalogText(disc.tree.text(node), legacy);
        panel->showItem(name, disc.records.find(disc.tree.key(node)), legacy);
    }
};

DiscPage::DiscPage(const Disc& disc, LegacyCodePage legacy, QWidget* parent)
    : QWidget(parent), d(new Private{disc, legacy})
{
    setObjectName(QStringLiteral("discPage"));

    d->model = new DiscTreeModel(disc.tree, legacy, this);
    d->model->setIcons(style()->standardIcon(QStyle::SP_DirIcon), style()->standardIcon(QStyle::SP_FileIcon));

    d->tree = new QTreeView;
    d->tree->setObjectName(QStringLiteral("discTree"));
    d->tree->setUniformRowHeights(true);
    d->tree->setHeaderHidden(true);
    d->tree->setSelectionMode(QAbstractItemView::SingleSelection);
    d->tree->setEditTriggers(QAbstractItemView::EditKeyPressed);
    d->model->setRenameHandler([this](int32_t node, const QString& text) { emit renameRequested(node, text); });
    d->tree->setContextMenuPolicy(Qt::CustomContextMenu);
    d->tree->setMinimumWidth(50);
    d->tree->setModel(d->model);
    d->tree->viewport()->installEventFilter(this);

    d->panel = new InfoPanel;
    auto* information = new QGroupBox(tr("Information"));
    information->setObjectName(QStringLiteral("information"));
    information->setMinimumWidth(150);
    auto* informationLayout = new QVBoxLayout(information);
    informationLayout->addWidget(d->panel);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("discSplitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(d->tree);
    splitter->addWidget(information);
    // The panel keeps its width when the page is resized; the tree takes the rest.
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    connect(d->tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid())
                    return;
                d->showItemLines(d->model->node(current));
                emit itemSelected(d->model->node(current));
            });
    // A click on the item that is already current shows its lines again (after the Disc tab).
    connect(d->tree, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        // A click that made the item current was handled above.
        if (d->panel->currentIndex() == InfoPanel::ItemTab)
            return;
        d->showItemLines(d->model->node(index));
        emit itemSelected(d->model->node(index));
    });
    connect(d->tree, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        const int32_t node = d->model->node(index);
        if (d->hasDetails(node))
            emit detailsRequested(node);
    });
    connect(d->tree, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const QModelIndex index = d->tree->indexAt(pos);
        if (!index.isValid())
            return;
        d->tree->setCurrentIndex(index);
        QMenu* menu = buildItemMenu(d->model->node(index), this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(d->tree->viewport()->mapToGlobal(pos));
    });

    showDiscInfo();
}

DiscPage::~DiscPage()
{
    // The model and the view are torn down after this page's own state; whatever they report
    // on the way must not reach it.
    disconnect(d->tree->selectionModel(), nullptr, this, nullptr);
    disconnect(d->tree, nullptr, this, nullptr);
}

const Disc& DiscPage::disc() const
{
    return d->disc;
}

QTreeView* DiscPage::treeView() const
{
    return d->tree;
}

DiscTreeModel* DiscPage::model() const
{
    return d->model;
}

InfoPanel* DiscPage::infoPanel() const
{
    return d->panel;
}

int32_t DiscPage::selectedNode() const
{
    return d->model->node(d->tree->currentIndex());
}

void DiscPage::showItemInfo(int32_t node)
{
    const QModelIndex index = d->model->indexOf(node);
    if (!index.isValid())
        return;
    d->tree->scrollTo(index);
    if (index != d->tree->currentIndex()) {
        d->tree->setCurrentIndex(index); // shows the lines and reports the selection
        return;
    }
    // Setting the index that is already current emits nothing.
    d->showItemLines(node);
    emit itemSelected(node);
}

void DiscPage::showDiscInfo()
{
    d->panel->showDisc(d->disc, d->legacy);
}

void DiscPage::refreshInfo()
{
    const int shown = d->panel->currentIndex();
    d->panel->showDisc(d->disc, d->legacy);
    const int32_t node = selectedNode();
    if (node == DiscTree::kNone)
        d->panel->clearItem();
    else
        d->showItemLines(node);
    d->panel->setCurrentIndex(shown);
}

QMenu* DiscPage::buildItemMenu(int32_t node, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("itemMenu"));
    QAction* comment = menu->addAction(tr("Comment"));
    comment->setObjectName(QStringLiteral("actionItemComment"));
    connect(comment, &QAction::triggered, this, [this, node] { emit commentRequested(node); });
    if (d->hasDetails(node)) {
        QAction* detail = menu->addAction(tr("Show detail"));
        detail->setObjectName(QStringLiteral("actionShowDetail"));
        connect(detail, &QAction::triggered, this, [this, node] { emit detailsRequested(node); });
    }
    return menu;
}

bool DiscPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == d->tree->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton && !d->tree->indexAt(press->position().toPoint()).isValid())
            showDiscInfo();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lumidex
