#include "gui/scan/DiscNameDialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace lumidex {

DiscNameDialog::DiscNameDialog(const QString& baseName, int counter, QWidget* parent)
    : QDialog(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("discNameDialog"));
    m_base = new QLineEdit(baseName);
    m_base->setObjectName(QStringLiteral("baseNameEdit"));
    m_counter = new QSpinBox;
    m_counter->setObjectName(QStringLiteral("counterSpin"));
    m_counter->setRange(0, kMaxCounter);
    m_counter->setValue(counter);
    auto* set = new QPushButton(tr("SET"));
    set->setObjectName(QStringLiteral("setButton"));
    set->setDefault(true);
    connect(set, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QFormLayout(this);
    layout->addRow(tr("CD Name :"), m_base);
    layout->addRow(tr("Start Index :"), m_counter);
    layout->addRow(set);
}

QString DiscNameDialog::baseName() const
{
    return m_base->text();
}

int DiscNameDialog::counter() const
{
    return m_counter->value();
}

} // namespace lumidex
