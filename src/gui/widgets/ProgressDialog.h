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
    // Shows a Cancel button (and lets Esc press it) for work that can be stopped; the owner
    // stops the work on cancelRequested and closes the window when it has stopped.
    void setCancellable(bool cancellable);

signals:
    void cancelRequested();

protected:
    // Esc does not close it: the owner closes it when the work has ended.
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Private;
    Private* d;
};

} // namespace lumidex
