#include "gui/catalog/CommentsDialog.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumidex {

CommentsDialog::CommentsDialog(const QString& comment, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("commentsDialog"));
    setWindowTitle(tr("Comments"));
    QString shown = comment;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_text = new QPlainTextEdit(shown);
    m_text->setObjectName(QStringLiteral("commentEdit"));
    m_text->setTabChangesFocus(true);

    auto* buttons = new QDialogButtonBox;
    QPushButton* apply = buttons->addButton(tr("&Apply changes"), QDialogButtonBox::AcceptRole);
    apply->setObjectName(QStringLiteral("applyButton"));
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
    resize(420, 260);
}

QString CommentsDialog::comment() const
{
    QString text = m_text->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

} // namespace lumidex
