#pragma once

#include <QDialog>

class QImage;

namespace lumidex {

// The picture at its own size (caption "Cover"), the window 6 px larger than the picture, centred
// on the screen. A picture larger than the screen's available area scrolls inside a window that
// stays within that area.
class FullSizeCoverDialog : public QDialog {
    Q_OBJECT
public:
    explicit FullSizeCoverDialog(const QImage& picture, QWidget* parent = nullptr);
};

} // namespace lumidex
