#pragma once

#include "scan/Drives.h"

#include <QDialog>

#include <vector>

class QListWidget;

namespace lumidex {

// "Select CD-Rom": one row per CD drive. A double-click chooses the row and closes the dialog;
// Enter does nothing, Escape closes it without a choice. What a choice means (testing the drive,
// the status text) is the caller's business.
class SelectDriveDialog : public QDialog {
    Q_OBJECT
public:
    explicit SelectDriveDialog(const std::vector<DriveEntry>& drives, QWidget* parent = nullptr);

    int chosenRow() const { return m_row; } // -1 without a choice
    QListWidget* list() const { return m_list; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QListWidget* m_list;
    int m_row = -1;
};

} // namespace lumidex
