#pragma once

#include "format/TextCodec.h"

#include <QDialog>

#include <string>
#include <vector>

class QTreeView;

namespace lumidex {

class ArchiveListModel;

// The stored member list of an archive in three columns, File, Path and Size. A click on a
// column header sorts by that column; the direction flips with every click, whichever the column,
// and the first click sorts descending.
class ArchiveListDialog : public QDialog {
    Q_OBJECT
public:
    // `lines`: "name,folder,size" each, possibly ending in "\n".
    ArchiveListDialog(const QString& caption, const std::vector<std::string>& lines, LegacyCodePage legacy,
                      QWidget* parent = nullptr);
    QTreeView* list() const;

private:
    void sortByColumn(int column);

    ArchiveListModel* m_model = nullptr;
    QTreeView* m_list = nullptr;
    Qt::SortOrder m_order = Qt::AscendingOrder; // flipped before each sort
};

} // namespace lumidex
