#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace lumidex {

// "Comments": the comment of a disc, a file or a folder, one line per line. "&Apply changes"
// confirms; Cancel leaves everything as it was.
class CommentsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CommentsDialog(const QString& comment, QWidget* parent = nullptr);

    // The edited text with CR LF line ends, as comments are stored.
    QString comment() const;

private:
    QPlainTextEdit* m_text;
};

} // namespace lumidex
