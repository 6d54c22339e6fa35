#include "gui/catalog/QuickJumpDialog.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace lumidex {

QuickJumpDialog::QuickJumpDialog(const QStringList& discNames, int current, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("quickJumpDialog"));
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("discList"));
    m_list->addItems(discNames);
    if (current >= 0 && current < m_list->count())
        m_list->setCurrentRow(current);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            emit discChosen(row);
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        emit discChosen(m_list->row(item));
        accept();
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_list);
    resize(240, 320);
}

} // namespace lumidex
