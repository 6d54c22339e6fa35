#include "gui/widgets/ProgressDialog.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace lumidex {

struct ProgressDialog::Private {
    QLabel* text = nullptr;
    QProgressBar* bar = nullptr;
    QLabel* line = nullptr;
    QPushButton* cancel = nullptr;
};

ProgressDialog::ProgressDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , d(new Private)
{
    setModal(false);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("iconLabel"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);

    d->text = new QLabel(tr("Store the catalog. Please wait ..."), this);
    d->text->setObjectName(QStringLiteral("textLabel"));
    d->text->setWordWrap(true);

    d->bar = new QProgressBar(this);
    d->bar->setObjectName(QStringLiteral("progressBar"));
    d->bar->setRange(0, 100);
    d->bar->setValue(0);
    d->bar->setTextVisible(false);
    d->bar->setMinimumWidth(300);

    d->line = new QLabel(this);
    d->line->setObjectName(QStringLiteral("lineLabel"));
    // A long line (a file name) is cut at the window's edge instead of widening the window.
    d->line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1);
    layout->addWidget(d->text, 0, 1);
    layout->addWidget(d->bar, 1, 1);
    layout->addWidget(d->line, 2, 1);
    layout->setColumnStretch(1, 1);

    d->cancel = new QPushButton(tr("Cancel"), this);
    d->cancel->setObjectName(QStringLiteral("cancelButton"));
    d->cancel->hide();
    connect(d->cancel, &QPushButton::clicked, this, [this] {
        d->cancel->setEnabled(false);
        emit cancelRequested();
    });
    layout->addWidget(d->cancel, 3, 1, Qt::AlignRight);
}

void ProgressDialog::setCancellable(bool cancellable)
{
    d->cancel->setVisible(cancellable);
}

ProgressDialog::~ProgressDialog()
{
    delete d;
}

void ProgressDialog::setText(const QString& text)
{
    d->text->setText(text);
}

void ProgressDialog::setRange(int maximum)
{
    // A range of 0 would turn the bar into a busy indicator; keep it a bar that shows no progress.
    d->bar->setRange(0, std::max(maximum, 1));
    d->bar->setValue(0);
}

void ProgressDialog::setValue(int value)
{
    d->bar->setValue(std::clamp(value, d->bar->minimum(), d->bar->maximum()));
}

void ProgressDialog::step()
{
    setValue(d->bar->value() + 1);
}

void ProgressDialog::setLine(const QString& line)
{
    d->line->setText(line);
}

void ProgressDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (d->cancel->isVisible() && d->cancel->isEnabled())
            d->cancel->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace lumidex
