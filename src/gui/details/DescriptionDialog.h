#pragma once

#include "format/TextCodec.h"

#include <QDialog>
#include <QFont>

#include <string>
#include <vector>

class QComboBox;
class QFontComboBox;
class QPlainTextEdit;

namespace lumidex {

// The stored text of a description file (.txt, .nfo, .diz, ...), read-only and unwrapped, in a
// font and size the user picks. It opens in a monospaced font: such files are often text art.
class DescriptionDialog : public QDialog {
    Q_OBJECT
public:
    // `lines`: the stored lines, each ending in "\n" (a last one may lack it).
    DescriptionDialog(const QString& caption, const std::vector<std::string>& lines, LegacyCodePage legacy,
                      QWidget* parent = nullptr);
    QString text() const;
    QFont textFont() const;

private:
    void applyFont(const QString& family, int pointSize);

    QPlainTextEdit* m_text = nullptr;
    QFontComboBox* m_fontCombo = nullptr;
    QComboBox* m_sizeCombo = nullptr;
};

} // namespace lumidex
