#include "gui/details/DescriptionDialog.h"

#include "scan/TextDescription.h"

#include <QApplication>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <string_view>

namespace lumidex {

namespace {

constexpr int kOpeningPointSize = 12;
constexpr int kPointSizes[] = {8, 9, 10, 11, 12, 13, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48};

QFont openingFont()
{
    const QString preferred = QStringLiteral("Terminal");
    QFont font = QFontDatabase::hasFamily(preferred) ? QFont(preferred) : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(kOpeningPointSize);
    font.setWeight(QFont::Normal);
    return font;
}

// How many bytes at the end of `bytes` start a UTF-8 sequence that the end cuts short.
size_t incompleteUtf8Tail(std::string_view bytes)
{
    for (size_t back = 1; back <= 4 && back <= bytes.size(); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue; // continuation byte: look further back for the lead
        const size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The text the stored lines stand for, one line each.
QString joinLines(const std::vector<std::string>& lines, LegacyCodePage legacy)
{
    size_t total = 0;
    for (const std::string& line : lines)
        total += line.size();
    QString text;
    text.reserve(qsizetype(total));

    // The scanner cuts a long line into 255-byte pieces and ends each with a "\n" of its own, which
    // can split a UTF-8 character. Its leading bytes are carried over to the next piece, so that
    // each piece still decodes as UTF-8 instead of falling back to the legacy code page.
    std::string carried;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view body = lines[i];
        const bool cutPiece = body.size() > DescriptionPieceSize;
        if (!body.empty() && body.back() == '\n')
            body.remove_suffix(1);
        std::string joined;
        if (!carried.empty()) {
            joined = carried;
            joined.append(body);
            body = joined;
            carried.clear();
        }
        if (cutPiece && i + 1 < lines.size()) {
            const size_t tail = incompleteUtf8Tail(body);
            carried.assign(body.substr(body.size() - tail));
            body.remove_suffix(tail);
        }
        if (i > 0)
            text += QLatin1Char('\n');
        text += decodeCatalogText(body, legacy);
    }
    return text;
}

} // namespace

DescriptionDialog::DescriptionDialog(const QString& caption, const std::vector<std::string>& lines,
                                     LegacyCodePage legacy, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    setSizeGripEnabled(true);

    auto* fontLabel = new QLabel(tr("Font :"), this);
    m_fontCombo = new QFontComboBox(this);
    m_fontCombo->setObjectName(QStringLiteral("fontCombo"));
    fontLabel->setBuddy(m_fontCombo);

    auto* sizeLabel = new QLabel(tr("Size :"), this);
    m_sizeCombo = new QComboBox(this);
    m_sizeCombo->setObjectName(QStringLiteral("sizeCombo"));
    for (int size : kPointSizes)
        m_sizeCombo->addItem(QString::number(size), size);
    sizeLabel->setBuddy(m_sizeCombo);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("descriptionText"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(fontLabel);
    fontRow->addWidget(m_fontCombo, 1);
    fontRow->addSpacing(12);
    fontRow->addWidget(sizeLabel);
    fontRow->addWidget(m_sizeCombo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fontRow);
    layout->addWidget(m_text, 1);
    resize(640, 480);

    const QFont font = openingFont();
    m_text->setFont(font);
    m_fontCombo->setCurrentFont(font);
    m_sizeCombo->setCurrentIndex(m_sizeCombo->findData(kOpeningPointSize));
    {
        WaitCursor wait;
        m_text->setPlainText(joinLines(lines, legacy));
    }

    // Connected only now, so that setting the opening choices above does not replace the font.
    connect(m_fontCombo, &QFontComboBox::currentFontChanged, this,
            [this](const QFont& chosen) { applyFont(chosen.family(), m_text->font().pointSize()); });
    connect(m_sizeCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            applyFont(m_text->font().family(), m_sizeCombo->itemData(index).toInt());
    });
}

QString DescriptionDialog::text() const
{
    return m_text->toPlainText();
}

QFont DescriptionDialog::textFont() const
{
    return m_text->font();
}

void DescriptionDialog::applyFont(const QString& family, int pointSize)
{
    m_text->setFont(QFont(family, pointSize, QFont::Normal));
    m_text->setFocus();
}

} // namespace lumidex
