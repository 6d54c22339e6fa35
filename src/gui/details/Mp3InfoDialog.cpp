#include "gui/details/Mp3InfoDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace lumidex {

namespace {

// Room in an ID3 version 1 tag: 30 bytes for each text, 4 for the year.
constexpr int kTagTextLength = 30;
constexpr int kYearLength = 4;

bool isEditable(int field)
{
    return field >= Mp3Field::Title;
}

// A lone blank is how the line stores an empty value.
QString shownValue(const std::string& stored, LegacyCodePage legacy)
{
    return stored == " " ? QString() : decodeCatalogText(stored, legacy);
}

QString storableValue(QString text)
{
    text.replace(QLatin1Char('~'), QLatin1Char('_'));
    return text.isEmpty() ? QStringLiteral(" ") : text;
}

void replaceTildes(QLineEdit* edit)
{
    if (!edit->text().contains(QLatin1Char('~')))
        return;
    const int cursor = edit->cursorPosition();
    edit->setText(QString(edit->text()).replace(QLatin1Char('~'), QLatin1Char('_')));
    edit->setCursorPosition(cursor);
}

} // namespace

Mp3InfoDialog::Mp3InfoDialog(const QString& caption, const std::string& line, LegacyCodePage legacy, QWidget* parent)
    : QDialog(parent)
    , m_stored(splitMp3InfoLine(line))
{
    setWindowTitle(tr("MP3 Info") + QStringLiteral(" - ") + caption);

    struct FieldRow {
        const char* objectName;
        QString label;
        QString unit;
    };
    const std::array<FieldRow, Mp3FieldCount> rows = {{
        {"fileNameEdit", tr("Filename:"), {}},
        {"bitrateEdit", tr("Bitrate:"), tr("kbps")},
        {"frequencyEdit", tr("Freq.:"), tr("Hz")},
        {"modeEdit", tr("Mode:"), {}},
        {"titleEdit", tr("Title:"), {}},
        {"artistEdit", tr("Artist:"), {}},
        {"albumEdit", tr("Album:"), {}},
        {"yearEdit", tr("Year:"), {}},
        {"commentEdit", tr("Comment:"), {}},
        {"genreEdit", tr("Genre:"), {}},
    }};

    auto* grid = new QGridLayout;
    for (int field = 0; field < Mp3FieldCount; ++field) {
        const FieldRow& row = rows[size_t(field)];
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(row.objectName));
        auto* label = new QLabel(row.label, this);
        label->setBuddy(edit);
        grid->addWidget(label, field, 0);
        grid->addWidget(edit, field, 1);
        if (!row.unit.isEmpty())
            grid->addWidget(new QLabel(row.unit, this), field, 2);

        const QString value = shownValue(m_stored[size_t(field)], legacy);
        if (!isEditable(field)) {
            edit->setReadOnly(true);
        } else if (field == Mp3Field::Year) {
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,4}")), edit));
            edit->setMaxLength(std::max(kYearLength, int(value.size())));
        } else if (field != Mp3Field::Genre) {
            // Never shorter than the stored value: opening and confirming must not cut it.
            edit->setMaxLength(std::max(kTagTextLength, int(value.size())));
        }
        edit->setText(value);
        if (isEditable(field))
            connect(edit, &QLineEdit::textChanged, edit, [edit] { replaceTildes(edit); });
        m_edits[size_t(field)] = edit;
    }

    auto* note = new QGroupBox(tr("Note"), this);
    auto* noteLayout = new QVBoxLayout(note);
    noteLayout->addWidget(new QLabel(tr("The symbol ~ is not acceptable"), note));

    auto* update = new QPushButton(tr("Update info"), this);
    update->setObjectName(QStringLiteral("updateButton"));
    update->setDefault(true);
    connect(update, &QPushButton::clicked, this, &Mp3InfoDialog::updateInfo);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(update);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addLayout(buttons);
    m_edits[Mp3Field::Title]->setFocus();
}

Mp3Fields Mp3InfoDialog::fields() const
{
    Mp3Fields values = m_stored;
    for (int field = Mp3Field::Title; field < Mp3FieldCount; ++field)
        values[size_t(field)] = encodeCatalogText(storableValue(m_edits[size_t(field)]->text()));
    return values;
}

void Mp3InfoDialog::updateInfo()
{
    for (int field = Mp3Field::Title; field < Mp3FieldCount; ++field)
        m_edits[size_t(field)]->setText(storableValue(m_edits[size_t(field)]->text()));
    accept();
}

} // namespace lumidex
