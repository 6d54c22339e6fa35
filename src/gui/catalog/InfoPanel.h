#pragma once

#include "format/TextCodec.h"
#include "scan/Mp3Data.h"

#include <QTabWidget>

#include <cstdint>
#include <string>

class QTreeWidget;

namespace lumidex {

class DiscCoverPage;
struct Disc;
struct FileInfoRecord;

// The information panel of a disc page: the tabs "Disc" (the disc's lines), "File/Folder" (the
// lines of the item selected in the tree) and "Cover". Each line list is "Name:", "Size:",
// "Created:" and "Comments:" with their values; the panel keeps only the texts it shows.
class InfoPanel : public QTabWidget {
    Q_OBJECT
public:
    enum Tab { DiscTab, ItemTab, CoverTab };
    enum Line { NameLine, SizeLine, CreatedLine, CommentsLine };

    explicit InfoPanel(QWidget* parent = nullptr);

    // Fills the Disc tab and makes it current.
    void showDisc(const Disc& disc, LegacyCodePage legacy);
    // Fills the File/Folder tab and makes it current. Without a record only the name is shown.
    void showItem(const QString& name, const FileInfoRecord* record, LegacyCodePage legacy);
    // Empties the File/Folder tab's values.
    void clearItem();
    // Adds the MP3 data of the item shown (bitrate to genre) below its lines; showing another
    // item removes them.
    void showMp3(const Mp3Fields& fields, LegacyCodePage legacy);
    // The value of the item line labelled `label` ("Title:"), empty when there is none.
    QString itemValue(const QString& label) const;

    DiscCoverPage* coverPage() const { return m_cover; }

    QString discValue(Line line) const;
    QString itemValue(Line line) const;

    // "7.340.032.000 Bytes": the digits in groups of three separated by ".".
    static QString formatSize(int64_t bytes);
    // The user's short date and time of seconds since 1970, in local time; empty for 0, which
    // stands for a time that was never recorded.
    static QString formatTime(int32_t secondsSince1970);
    // A stored comment as shown: its CR LF line ends become plain line breaks.
    static QString formatComment(const std::string& comment, LegacyCodePage legacy);

private:
    QTreeWidget* makeLines(const QString& objectName);
    static void setValues(QTreeWidget* lines, const QStringList& values);
    void removeMp3Lines();

    QTreeWidget* m_discLines;
    QTreeWidget* m_itemLines;
    DiscCoverPage* m_cover;
};

} // namespace lumidex
