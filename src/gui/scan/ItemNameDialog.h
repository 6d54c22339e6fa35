#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace lumidex {

// Asks for the name of a disc: one line of at most 25 characters under a prompt the caller sets.
// OK (or Enter) closes it only when something was entered; Escape cancels.
class ItemNameDialog : public QDialog {
    Q_OBJECT
public:
    explicit ItemNameDialog(const QString& prompt, const QString& name = {}, QWidget* parent = nullptr);

    void setPrompt(const QString& prompt);
    QString name() const;

    static constexpr int kMaxLength = 25;

public slots:
    void accept() override;

private:
    QLabel* m_prompt;
    QLineEdit* m_name;
};

} // namespace lumidex
