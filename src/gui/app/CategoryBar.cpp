#include "gui/app/CategoryBar.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <qdrawutil.h>

#include <algorithm>

namespace lumidex {

namespace {

constexpr int kIconSide = 32;
constexpr int kBarWidth = 112;
constexpr int kMediaRole = Qt::UserRole + 1;

QIcon iconOf(const QImage& image)
{
    if (image.isNull())
        return {};
    return QIcon(QPixmap::fromImage(image));
}

constexpr int kTopGap = 12;
constexpr int kTextGap = 6;
constexpr int kBottomGap = 10;
constexpr int kFramePad = 4;

// An entry: the icon centred near the top, the name centred below it, wrapped when long. The
// entry under the mouse gets a raised frame around its icon, the shown category a pressed one.
class EntryDelegate : public QStyledItemDelegate {
public:
    explicit EntryDelegate(QListView* view)
        : QStyledItemDelegate(view)
        , m_view(view)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int width = std::max(m_view->viewport()->width(), kIconSide + 2 * kFramePad);
        const QRect text = option.fontMetrics.boundingRect(QRect(0, 0, width - 6, 1000),
                                                           Qt::AlignHCenter | Qt::TextWordWrap,
                                                           index.data(Qt::DisplayRole).toString());
        // At least two icon heights, as the old bar had.
        return {width, std::max(2 * kIconSide, kTopGap + kIconSide + kTextGap + text.height() + kBottomGap)};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        const QRect cell = option.rect;
        const QRect icon(cell.left() + (cell.width() - kIconSide) / 2, cell.top() + kTopGap, kIconSide, kIconSide);
        const QRect frame = icon.adjusted(-kFramePad, -kFramePad, kFramePad, kFramePad);
        const bool selected = option.state & QStyle::State_Selected;
        const bool hovered = option.state & QStyle::State_MouseOver;
        if (selected) {
            painter->fillRect(frame, QColor(255, 255, 255, 60));
            qDrawShadePanel(painter, frame, option.palette, true, 1);
        } else if (hovered) {
            qDrawShadePanel(painter, frame, option.palette, false, 1);
        }
        const QIcon image = qvariant_cast<QIcon>(index.data(Qt::DecorationRole));
        image.paint(painter, icon);

        const QRect text(cell.left() + 3, icon.bottom() + kTextGap, cell.width() - 6,
                         cell.bottom() - icon.bottom() - kTextGap);
        QFont font = option.font;
        font.setBold(selected);
        painter->setFont(font);
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawText(text, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

private:
    QListView* m_view;
};

} // namespace

CategoryBar::CategoryBar(QWidget* parent)
    : QListWidget(parent)
{
    setObjectName(QStringLiteral("categoryBar"));
    setViewMode(QListView::ListMode);
    setFlow(QListView::TopToBottom);
    setWrapping(false);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setIconSize(QSize(kIconSide, kIconSide));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_Hover);
    setItemDelegate(new EntryDelegate(this));
    setFixedWidth(kBarWidth);
    setFrameShape(QFrame::Box);
    applyBackground();
}

void CategoryBar::setEntries(const QList<Entry>& entries)
{
    clear();
    for (const Entry& entry : entries) {
        auto* item = new QListWidgetItem(iconOf(entry.icon), entry.name, this);
        item->setData(kMediaRole, entry.media);
        item->setToolTip(entry.name);
    }
}

void CategoryBar::setEntry(int index, const Entry& entry)
{
    QListWidgetItem* entryItem = item(index);
    if (!entryItem)
        return;
    entryItem->setIcon(iconOf(entry.icon));
    entryItem->setText(entry.name);
    entryItem->setToolTip(entry.name);
    entryItem->setData(kMediaRole, entry.media);
}

QString CategoryBar::entryName(int index) const
{
    const QListWidgetItem* entryItem = item(index);
    return entryItem ? entryItem->text() : QString();
}

bool CategoryBar::isMediaEntry(int index) const
{
    const QListWidgetItem* entryItem = item(index);
    return entryItem && entryItem->data(kMediaRole).toBool();
}

void CategoryBar::setCurrentEntry(int index)
{
    setCurrentRow(index);
    if (QListWidgetItem* entryItem = item(index))
        scrollToItem(entryItem);
}

void CategoryBar::setGradient(bool on)
{
    m_gradient = on;
    applyBackground();
}

void CategoryBar::applyBackground()
{
    QPalette pal = palette();
    const QColor face = QApplication::palette().color(QPalette::Button);
    if (m_gradient) {
        QLinearGradient gradient(0, 0, 0, 1);
        gradient.setCoordinateMode(QGradient::ObjectMode);
        gradient.setColorAt(0, QColor(0x80, 0x80, 0x80));
        gradient.setColorAt(1, face);
        pal.setBrush(QPalette::Base, QBrush(gradient));
    } else {
        pal.setBrush(QPalette::Base, QApplication::palette().color(QPalette::Dark));
    }
    setPalette(pal);
    viewport()->update();
}

QMenu* CategoryBar::createContextMenu(int pointed, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("categoryMenu"));
    if (pointed >= 0 && pointed < count()) {
        QAction* type = menu->addAction(isMediaEntry(pointed) ? tr("Typ : \"Films, books ...\"")
                                                              : tr("Typ : \"Software, music ...\""));
        type->setEnabled(false);
        menu->addSeparator();
    }
    QAction* insert = menu->addAction(style()->standardIcon(QStyle::SP_FileDialogNewFolder), tr("Insert category"));
    insert->setObjectName(QStringLiteral("actionInsertCategory"));
    connect(insert, &QAction::triggered, this, &CategoryBar::insertRequested);

    const bool onEntry = pointed >= 0 && pointed < count();
    if (count() > 3) {
        QAction* remove = menu->addAction(style()->standardIcon(QStyle::SP_TrashIcon), tr("Delete category"));
        remove->setObjectName(QStringLiteral("actionDeleteCategory"));
        remove->setEnabled(onEntry);
        connect(remove, &QAction::triggered, this, [this, pointed] { emit deleteRequested(pointed); });
    }
    QAction* rename = menu->addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView), tr("Rename category"));
    rename->setObjectName(QStringLiteral("actionRenameCategory"));
    rename->setEnabled(onEntry);
    connect(rename, &QAction::triggered, this, [this, pointed] { emit renameRequested(pointed); });

    QAction* icon = menu->addAction(style()->standardIcon(QStyle::SP_DesktopIcon), tr("Change icon"));
    icon->setObjectName(QStringLiteral("actionChangeIcon"));
    icon->setEnabled(onEntry);
    connect(icon, &QAction::triggered, this, [this, pointed] { emit changeIconRequested(pointed); });
    return menu;
}

void CategoryBar::mousePressEvent(QMouseEvent* event)
{
    // The selection changes when the left button is released over an entry, nowhere else.
    event->accept();
}

void CategoryBar::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    setCurrentRow(index.row());
    emit categoryChosen(index.row());
}

void CategoryBar::mouseMoveEvent(QMouseEvent* event)
{
    // No drag selection; hovering is drawn by the style.
    if (event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QListWidget::mouseMoveEvent(event);
}

void CategoryBar::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Space:
    case Qt::Key_Select:
        event->accept();
        return;
    default:
        // Everything else (Esc, Tab, shortcuts) goes on to the window.
        event->ignore();
    }
}

void CategoryBar::keyboardSearch(const QString&)
{
    // Typing a letter must not jump to a category either.
}

void CategoryBar::contextMenuEvent(QContextMenuEvent* event)
{
    // Scroll areas hand on the viewport's event: the position is in viewport coordinates.
    const QModelIndex index = indexAt(event->pos());
    QMenu* menu = createContextMenu(index.isValid() ? index.row() : -1, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}

} // namespace lumidex
