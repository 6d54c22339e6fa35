#include "catalog/CategoryIcons.h"

#include <QImageReader>
#include <QPainter>
#include <QPainterPath>

namespace lumidex {

namespace {

constexpr int kSide = 32;

QImage blank()
{
    QImage image(kSide, kSide, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// A compact disc: silver ring, coloured sheen, hole.
void drawDisc(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 100), 1));
    p.setBrush(QColor(200, 205, 215));
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 170, 230));
    p.drawPie(QRectF(4, 4, 24, 24), 30 * 16, 70 * 16);
    p.setBrush(QColor(240, 200, 120));
    p.drawPie(QRectF(4, 4, 24, 24), 210 * 16, 60 * 16);
    p.setPen(QPen(QColor(90, 90, 100), 1));
    p.setBrush(QColor(245, 245, 245));
    p.drawEllipse(QRectF(11, 11, 10, 10));
    p.setBrush(Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.drawEllipse(QRectF(14, 14, 4, 4));
}

// Two beamed quavers.
void drawNote(QPainter& p)
{
    const QColor ink(40, 60, 140);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(QRectF(4, 21, 9, 7));
    p.drawEllipse(QRectF(19, 18, 9, 7));
    p.setPen(QPen(ink, 2.5));
    p.drawLine(QPointF(12, 24), QPointF(12, 6));
    p.drawLine(QPointF(27, 21), QPointF(27, 3));
    p.setPen(QPen(ink, 4));
    p.drawLine(QPointF(12, 7), QPointF(27, 4));
}

// A film strip with a book behind it.
void drawMedia(QPainter& p)
{
    p.setPen(QPen(QColor(110, 60, 20), 1));
    p.setBrush(QColor(190, 110, 50));
    p.drawRect(QRectF(16.5, 3.5, 12, 22));
    p.setBrush(QColor(250, 240, 220));
    p.drawRect(QRectF(18.5, 5.5, 8, 18));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(QRectF(2, 9, 20, 20));
    p.setBrush(QColor(150, 200, 240));
    p.drawRect(QRectF(6, 12, 12, 6));
    p.drawRect(QRectF(6, 20, 12, 6));
    p.setBrush(QColor(240, 240, 240));
    for (int y = 10; y < 28; y += 4) {
        p.drawRect(QRectF(3, y, 2, 2));
        p.drawRect(QRectF(19, y, 2, 2));
    }
}

} // namespace

QImage builtInCategoryIcon(BuiltInIcon which)
{
    QImage image = blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
    case BuiltInIcon::Software: drawDisc(p); break;
    case BuiltInIcon::Music: drawNote(p); break;
    case BuiltInIcon::Media: drawMedia(p); break;
    }
    return image;
}

QImage categoryIconFromFile(const QString& path)
{
    QImageReader reader(path);
    // Icon files hold several sizes: take the one closest to ours from above.
    QImage best;
    do {
        const QImage candidate = reader.read();
        if (candidate.isNull())
            break;
        const auto fits = [](const QImage& i) { return i.width() >= kSide && i.height() >= kSide; };
        if (best.isNull() || (fits(candidate) && (!fits(best) || candidate.width() < best.width()))
            || (!fits(best) && candidate.width() > best.width()))
            best = candidate;
    } while (reader.jumpToNextImage());
    if (best.isNull())
        return {};
    return best.scaled(kSide, kSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

} // namespace lumidex
