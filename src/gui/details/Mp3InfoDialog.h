#pragma once

#include "format/TextCodec.h"
#include "scan/Mp3Data.h"

#include <QDialog>

#include <array>
#include <string>

class QLineEdit;

namespace lumidex {

// "MP3 Info": the stored MP3 data of a file. File name, bitrate, frequency and mode are shown
// read-only; the six tag fields can be corrected. "~" separates the stored fields, so a "~"
// typed into a field becomes "_" at once.
class Mp3InfoDialog : public QDialog {
    Q_OBJECT
public:
    // `line`: the stored line "f1~f2~...~f10~"; an empty line leaves every field empty.
    Mp3InfoDialog(const QString& caption, const std::string& line, LegacyCodePage legacy, QWidget* parent = nullptr);

    // The ten values in line order, as catalog bytes: the read-only ones exactly as stored, the
    // editable ones as typed, with "~" made "_" and an empty value made " ".
    Mp3Fields fields() const;

private:
    void updateInfo();

    Mp3Fields m_stored;
    std::array<QLineEdit*, Mp3FieldCount> m_edits{};
};

} // namespace lumidex
