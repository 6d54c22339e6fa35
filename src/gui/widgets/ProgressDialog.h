#pragma once

#include <QDialog>

namespace lumidex {

// The progress window of long operations: an icon, a text ("Store the catalog. Please wait ..."
// unless the caller gives another), a progress bar and a text line. Modeless, no close button.
class ProgressDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProgressDialog(QWidget* parent = nullptr);
    ~ProgressDialog() override;
    void setText(const QString& text);
    void setRange(int maximum);
    void setValue(int value);
    void step();
    void setLine(const QString& line);

protected:
    // Esc does not close it: the work it shows cannot be cancelled. The owner closes it.
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Private;
    Private* d;
};

} // namespace lumidex
