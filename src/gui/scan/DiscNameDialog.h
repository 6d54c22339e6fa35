#pragma once

#include <QDialog>

class QLineEdit;
class QSpinBox;

namespace lumidex {

// The popup of numbered scans: the base name ("CD Name :") and the number the next disc gets
// ("Start Index :"). SET accepts, Escape cancels. It has no caption and opens below the Scan CD
// button.
class DiscNameDialog : public QDialog {
    Q_OBJECT
public:
    DiscNameDialog(const QString& baseName, int counter, QWidget* parent = nullptr);

    QString baseName() const;
    int counter() const;

    static constexpr int kMaxCounter = 32000;

private:
    QLineEdit* m_base;
    QSpinBox* m_counter;
};

} // namespace lumidex
