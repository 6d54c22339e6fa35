#include "gui/settings/LanguageDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace lumidex {

struct LanguageDialog::Private {
    QButtonGroup* languages = nullptr;
    QCheckBox* dontShowAgain = nullptr;
};

LanguageDialog::LanguageDialog(QWidget* parent)
    : QDialog(parent)
    , d(new Private)
{
    setWindowTitle(tr("Language"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Select the Language :"), this));

    d->languages = new QButtonGroup(this);
    const struct {
        const char* objectName;
        QString text;
        int code;
    } choices[] = {
        {"english", tr("English"), 1},
        {"russian", tr("Russian"), 2},
        {"german", tr("German"), 3},
    };
    for (const auto& choice : choices) {
        auto* radio = new QRadioButton(choice.text, this);
        radio->setObjectName(QLatin1String(choice.objectName));
        d->languages->addButton(radio, choice.code);
        layout->addWidget(radio);
    }
    d->languages->button(1)->setChecked(true);

    d->dontShowAgain = new QCheckBox(tr("Do not show this Dialog at next Start-up"), this);
    d->dontShowAgain->setObjectName(QStringLiteral("dontShowAgain"));
    layout->addSpacing(6);
    layout->addWidget(d->dontShowAgain);

    auto* ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), tr("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(ok);
    layout->addLayout(buttonRow);
}

LanguageDialog::~LanguageDialog()
{
    delete d;
}

int LanguageDialog::language() const
{
    const int code = d->languages->checkedId();
    return code < 1 ? 1 : code;
}

bool LanguageDialog::storeChoice() const
{
    return d->dontShowAgain->isChecked();
}

} // namespace lumidex
