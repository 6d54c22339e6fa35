#pragma once

#include <QDialog>

class QListWidget;

namespace lumidex {

// The names of a category's discs; choosing one shows its tab at once (the dialog stays open), a
// double-click also closes the dialog.
class QuickJumpDialog : public QDialog {
    Q_OBJECT
public:
    QuickJumpDialog(const QStringList& discNames, int current, QWidget* parent = nullptr);
    QListWidget* list() const { return m_list; }

signals:
    void discChosen(int disc);

private:
    QListWidget* m_list;
};

} // namespace lumidex
