#include "gui/covers/FullSizeCoverDialog.h"

#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace lumidex {

FullSizeCoverDialog::FullSizeCoverDialog(const QImage& picture, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fullSizeCoverDialog"));
    setWindowTitle(tr("Cover"));

    // A 1 px frame and 2 px margins: the window is the picture plus 6 px.
    auto* label = new QLabel;
    label->setObjectName(QStringLiteral("fullSizeCover"));
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    label->setPixmap(QPixmap::fromImage(picture));
    label->adjustSize();

    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("fullSizeScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(label);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(scroll);

    const QRect available = screen()->availableGeometry();
    QSize wanted = picture.size() + QSize(6, 6);
    // A scroll bar in one direction takes room from the other.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll);
    if (wanted.width() > available.width())
        wanted.rheight() += bar;
    if (wanted.height() > available.height())
        wanted.rwidth() += bar;
    resize(wanted.boundedTo(available.size()));
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), available));
}

} // namespace lumidex
