#pragma once

#include "scan/ScanOptions.h"

#include <QDialog>

namespace lumidex {

// The options sheet "Setup": the pages "General" and "File types" over a copy of the scan options.
class OptionsSheet : public QDialog {
    Q_OBJECT
public:
    explicit OptionsSheet(const ScanOptions& options, QWidget* parent = nullptr);
    ~OptionsSheet() override;
    // The record as confirmed (the confirm rules applied); meaningful after exec() == Accepted.
    ScanOptions options() const;

private:
    struct Private;
    Private* d;
};

} // namespace lumidex
