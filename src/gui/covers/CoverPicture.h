#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

class QMenu;

namespace lumidex {

// Shows one cover picture: at its natural size when it fits, else scaled down keeping its aspect
// ratio, centred. Right-click offers "Copy cover file to hard drive" and "Show full size of cover"
// while a picture is shown.
class CoverPicture : public QWidget {
    Q_OBJECT
public:
    explicit CoverPicture(QWidget* parent = nullptr);

    // Decodes the bytes (JPEG or any format QImage reads); false (and the picture cleared) when
    // they do not decode.
    bool setPictureData(const QByteArray& bytes);
    void setPicture(const QImage& image);
    void clear();
    bool hasPicture() const;
    QImage picture() const;

    // Where the picture is drawn in the widget; empty without a picture.
    QRect pictureRect() const;
    // The right-click menu, owned by the caller; null without a picture.
    QMenu* buildContextMenu();

signals:
    void copyRequested();
    void fullSizeRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QImage m_image;
    // The picture at the size last drawn; made again only when that size changes.
    QPixmap m_drawn;
};

} // namespace lumidex
