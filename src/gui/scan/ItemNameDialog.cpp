#include "gui/scan/ItemNameDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumidex {

ItemNameDialog::ItemNameDialog(const QString& prompt, const QString& name, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("itemNameDialog"));
    setWindowTitle(tr("Enter new Item Name"));
    m_prompt = new QLabel(prompt);
    m_prompt->setObjectName(QStringLiteral("namePrompt"));
    m_name = new QLineEdit(name.left(kMaxLength));
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_name->setMaxLength(kMaxLength);
    m_name->selectAll();
    auto* ok = new QPushButton(tr("OK"));
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &ItemNameDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_name);
    layout->addWidget(ok, 0, Qt::AlignRight);
    setMinimumWidth(280);
}

void ItemNameDialog::setPrompt(const QString& prompt)
{
    m_prompt->setText(prompt);
}

QString ItemNameDialog::name() const
{
    return m_name->text();
}

void ItemNameDialog::accept()
{
    if (m_name->text().isEmpty())
        return;
    QDialog::accept();
}

} // namespace lumidex
