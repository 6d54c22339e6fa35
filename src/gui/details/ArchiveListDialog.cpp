#include "gui/details/ArchiveListDialog.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <numeric>
#include <string_view>

namespace lumidex {

namespace {

enum Column { FileColumn, PathColumn, SizeColumn, ColumnCount };

struct Row {
    QString name;
    QString folder;
    QString size;
    uint64_t sizeValue = 0; // 0 unless the whole size text is an unsigned number
};

uint64_t sizeValue(std::string_view text)
{
    uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end ? value : 0;
}

// The name before the first ",", the folder up to the second and the size after the last. A line
// with fewer commas fills the columns in that order and leaves the rest empty.
Row parseLine(std::string_view line, LegacyCodePage legacy)
{
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    std::string_view name = line;
    std::string_view folder;
    std::string_view size;
    if (const size_t first = line.find(','); first != std::string_view::npos) {
        name = line.substr(0, first);
        const size_t second = line.find(',', first + 1);
        folder = line.substr(first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1);
        if (second != std::string_view::npos)
            size = line.substr(line.rfind(',') + 1);
    }
    return Row{decodeCatalogText(name, legacy), decodeCatalogText(folder, legacy), decodeCatalogText(size, legacy),
               sizeValue(size)};
}

} // namespace

// The rows behind the list. Sorting is stable, so members that compare equal keep their order.
class ArchiveListModel : public QAbstractTableModel {
public:
    ArchiveListModel(const std::vector<std::string>& lines, LegacyCodePage legacy, QObject* parent)
        : QAbstractTableModel(parent)
    {
        m_rows.reserve(lines.size());
        for (const std::string& line : lines)
            m_rows.push_back(parseLine(line, legacy));
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_rows.size());
    }

    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : ColumnCount;
    }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const Row& row = m_rows[size_t(index.row())];
        switch (index.column()) {
        case FileColumn:
            return row.name;
        case PathColumn:
            return row.folder;
        default:
            return row.size;
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        switch (section) {
        case FileColumn:
            return ArchiveListDialog::tr("File");
        case PathColumn:
            return ArchiveListDialog::tr("Path");
        default:
            return ArchiveListDialog::tr("Size");
        }
    }

    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override
    {
        const auto ascending = [this, column](size_t a, size_t b) {
            const Row& left = m_rows[a];
            const Row& right = m_rows[b];
            switch (column) {
            case FileColumn:
                return QString::compare(left.name, right.name, Qt::CaseInsensitive) < 0;
            case PathColumn:
                return QString::compare(left.folder, right.folder, Qt::CaseInsensitive) < 0;
            default:
                return left.sizeValue < right.sizeValue;
            }
        };

        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        std::vector<size_t> oldRowAt(m_rows.size());
        std::iota(oldRowAt.begin(), oldRowAt.end(), size_t(0));
        if (order == Qt::AscendingOrder)
            std::stable_sort(oldRowAt.begin(), oldRowAt.end(), ascending);
        else
            std::stable_sort(oldRowAt.begin(), oldRowAt.end(), [&](size_t a, size_t b) { return ascending(b, a); });

        std::vector<Row> sorted;
        sorted.reserve(m_rows.size());
        std::vector<int> newRowOf(m_rows.size());
        for (size_t row = 0; row < oldRowAt.size(); ++row) {
            sorted.push_back(std::move(m_rows[oldRowAt[row]]));
            newRowOf[oldRowAt[row]] = int(row);
        }
        m_rows = std::move(sorted);

        // The view's current row and selection stay on the same members.
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& index : before)
            after.append(this->index(newRowOf[size_t(index.row())], index.column()));
        changePersistentIndexList(before, after);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

private:
    std::vector<Row> m_rows;
};

ArchiveListDialog::ArchiveListDialog(const QString& caption, const std::vector<std::string>& lines,
                                     LegacyCodePage legacy, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    setSizeGripEnabled(true);

    m_model = new ArchiveListModel(lines, legacy, this);
    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("archiveList"));
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true); // keeps long listings fast
    m_list->setAlternatingRowColors(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAllColumnsShowFocus(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setModel(m_model);

    // Sorting is driven here rather than by the view, whose direction would start over with each column.
    QHeaderView* header = m_list->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setStretchLastSection(true);
    header->resizeSection(FileColumn, 160);
    header->resizeSection(PathColumn, 120);
    connect(header, &QHeaderView::sectionClicked, this, &ArchiveListDialog::sortByColumn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    resize(480, 360);
}

QTreeView* ArchiveListDialog::list() const
{
    return m_list;
}

void ArchiveListDialog::sortByColumn(int column)
{
    if (column < 0 || column >= ColumnCount)
        return;
    m_order = m_order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_list->header()->setSortIndicator(column, m_order);
    m_model->sort(column, m_order);
}

} // namespace lumidex
