#pragma once

#include <QDialog>

namespace lumidex {

// Asks for the interface language at first start: 1 English, 2 Russian, 3 German.
// The dialog stores nothing. After OK the caller writes Main/Language = language() - 1 when
// storeChoice() is true; otherwise the dialog comes again at the next start. Cancelled (Esc or
// closed), the program runs in English and nothing is stored.
class LanguageDialog : public QDialog {
    Q_OBJECT
public:
    explicit LanguageDialog(QWidget* parent = nullptr);
    ~LanguageDialog() override;
    int language() const;
    // "Do not show this Dialog at next Start-up" is checked.
    bool storeChoice() const;

private:
    struct Private;
    Private* d;
};

} // namespace lumidex
