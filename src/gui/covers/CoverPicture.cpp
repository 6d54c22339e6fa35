#include "gui/covers/CoverPicture.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QStyle>

namespace lumidex {

CoverPicture::CoverPicture(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

bool CoverPicture::setPictureData(const QByteArray& bytes)
{
    const QImage image = QImage::fromData(bytes);
    setPicture(image);
    return !image.isNull();
}

void CoverPicture::setPicture(const QImage& image)
{
    m_image = image;
    m_drawn = QPixmap();
    update();
}

void CoverPicture::clear()
{
    setPicture(QImage());
}

bool CoverPicture::hasPicture() const
{
    return !m_image.isNull();
}

QImage CoverPicture::picture() const
{
    return m_image;
}

QRect CoverPicture::pictureRect() const
{
    if (m_image.isNull())
        return {};
    QSize size = m_image.size();
    if (size.width() > width() || size.height() > height())
        size.scale(this->size(), Qt::KeepAspectRatio);
    return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, rect());
}

QMenu* CoverPicture::buildContextMenu()
{
    if (!hasPicture())
        return nullptr;
    auto* menu = new QMenu(this);
    QAction* copy = menu->addAction(tr("Copy cover file to hard drive"));
    copy->setObjectName(QStringLiteral("actionCopyCover"));
    connect(copy, &QAction::triggered, this, &CoverPicture::copyRequested);
    QAction* fullSize = menu->addAction(tr("Show full size of cover"));
    fullSize->setObjectName(QStringLiteral("actionFullSize"));
    connect(fullSize, &QAction::triggered, this, &CoverPicture::fullSizeRequested);
    return menu;
}

void CoverPicture::paintEvent(QPaintEvent*)
{
    const QRect target = pictureRect();
    if (target.isEmpty())
        return;
    if (m_drawn.size() != target.size()) {
        // The target already keeps the aspect ratio; scaling to it exactly keeps the cache valid.
        m_drawn = QPixmap::fromImage(target.size() == m_image.size()
                                         ? m_image
                                         : m_image.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    QPainter(this).drawPixmap(target.topLeft(), m_drawn);
}

void CoverPicture::contextMenuEvent(QContextMenuEvent* event)
{
    // The menu is a child: a handler that deletes this widget takes the menu with it.
    QPointer<QMenu> menu = buildContextMenu();
    if (!menu)
        return;
    menu->exec(event->globalPos());
    delete menu;
}

} // namespace lumidex
