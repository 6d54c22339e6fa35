#include "gui/scan/SelectDriveDialog.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace lumidex {

SelectDriveDialog::SelectDriveDialog(const std::vector<DriveEntry>& drives, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("selectDriveDialog"));
    setWindowTitle(tr("Select CD-Rom"));
    setWindowIcon(style()->standardIcon(QStyle::SP_DriveCDIcon));
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("driveList"));
    m_list->setIconSize(QSize(16, 16));
    const QIcon rowIcon = style()->standardIcon(QStyle::SP_DriveCDIcon);
    for (const DriveEntry& drive : drives)
        new QListWidgetItem(rowIcon, driveRowText(drive), m_list);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_row = m_list->row(item);
        done(1);
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    resize(420, 200);
}

void SelectDriveDialog::keyPressEvent(QKeyEvent* event)
{
    // Only a double-click chooses; Enter must not close the dialog as "accepted".
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace lumidex
