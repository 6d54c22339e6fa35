#include "media/MediaCategoryBlock.h"

#include "format/ArchiveReader.h"
#include "format/ArchiveWriter.h"
#include "format/TextCodec.h"

#include <QCoreApplication>

#include <algorithm>

namespace lumidex {

namespace {

constexpr int kRecordFormatVersion = 1122;
constexpr int32_t kEndOfColumns = -1;

constexpr size_t kCommentsColumn = 3;
constexpr int32_t kCommentsWidth = 80;
constexpr int32_t kStatusWidth = 50;

// Smallest encodings, to bound counts read from the stream by the bytes left.
constexpr uint64_t kMinTabBytes = 1 + 4 + 4;          // caption, end of columns, row count
constexpr uint64_t kMinRecordBytes = 4 + 4 + 1 + 4;   // status, type code, cover name, marker
constexpr uint64_t kMinOldRecordBytes = 4;            // status only

MediaColumn makeColumn(const char* heading, int32_t width)
{
    return MediaColumn{0, width, encodeCatalogText(QCoreApplication::translate("Media", heading))};
}

std::vector<MediaColumn> readColumns(ArchiveReader& in)
{
    // No count is stored: columns run until a negative format. Each takes at least nine bytes,
    // so a hostile run ends at the end of the data.
    std::vector<MediaColumn> columns;
    for (;;) {
        const int32_t format = in.readInt32();
        if (format < 0)
            return columns;
        MediaColumn column;
        column.format = format;
        column.width = in.readInt32();
        column.heading = in.readString();
        columns.push_back(std::move(column));
    }
}

MediaTab readTab(ArchiveReader& in, int formatVersion, int tabIndex)
{
    MediaTab tab;
    tab.caption = in.readString();
    tab.columns = readColumns(in);
    // Rows hold one cell per stored column; the upgrade below may widen the tab, but the
    // stream was written for the columns it lists.
    const size_t storedColumns = tab.columns.size();
    const bool withRecords = formatVersion == kRecordFormatVersion;

    const int32_t rowCount = in.readInt32();
    // Checked, but nothing is reserved by it: a row takes far more memory than its smallest
    // encoding, so the vectors grow with the rows actually read.
    if (rowCount > 0) {
        in.requireAvailable(uint64_t(rowCount),
            storedColumns + (withRecords ? kMinRecordBytes : kMinOldRecordBytes), "media rows");
    }
    for (int32_t r = 0; r < rowCount; ++r) {
        MediaRow row;
        row.cells.reserve(storedColumns);
        for (size_t c = 0; c < storedColumns; ++c)
            row.cells.push_back(in.readString());
        if (withRecords) {
            row.record.Serialize(in);
        } else {
            row.record.setStatus(in.readInt32());
            row.record.setCoverEntryName(CCatOtherItemData::makeCoverEntryName(tabIndex, r));
        }
        // -1 (never saved) and any stray value mean "not lent".
        if (row.record.status() != CCatOtherItemData::kLentStatus)
            row.record.setStatus(0);
        appendRowWithColumnUpgrade(tab, std::move(row));
    }
    hideDetailColumns(tab);
    return tab;
}

} // namespace

void appendRowWithColumnUpgrade(MediaTab& tab, MediaRow row)
{
    const size_t before = tab.columns.size();
    const bool hasComments = row.cells.size() > kCommentsColumn && !row.cells[kCommentsColumn].empty();
    if (before == 3 && hasComments) {
        tab.columns.push_back(makeColumn(QT_TRANSLATE_NOOP("Media", "Comments"), kCommentsWidth));
        tab.columns.push_back(makeColumn(QT_TRANSLATE_NOOP("Media", "Status"), kStatusWidth));
    } else if (before == 4) {
        tab.columns.push_back(makeColumn(QT_TRANSLATE_NOOP("Media", "Status"), kStatusWidth));
    }
    // Pad only: a cell beyond the last column is kept in memory (the writer leaves it out).
    const size_t columns = tab.columns.size();
    const auto pad = [columns](MediaRow& r) { r.cells.resize(std::max(r.cells.size(), columns)); };
    if (columns != before)
        std::for_each(tab.rows.begin(), tab.rows.end(), pad);
    pad(row);
    tab.rows.push_back(std::move(row));
}

void hideDetailColumns(MediaTab& tab)
{
    for (size_t c = 1; c <= 3 && c < tab.columns.size(); ++c)
        tab.columns[c].width = 0;
}

std::optional<MediaCategory> readMediaCategoryBlock(ArchiveReader& in, int formatVersion,
    const std::function<void(const MediaTab&)>& tabRead)
{
    const int32_t count = in.readInt32();
    if (count == 0) {
        // The empty block is 0, an empty name and 0. Stored catalogs were read by skipping four
        // bytes and reading a string, which consumes exactly those nine bytes; kept so that any
        // stream the old reader accepted is positioned the same way.
        in.skip(4);
        in.readString();
        return std::nullopt;
    }
    // There is never more than one media category; any other count means one.
    MediaCategory category;
    category.name = in.readString();
    const int32_t tabCount = in.readInt32();
    if (tabCount > 0)
        in.requireAvailable(uint64_t(tabCount), kMinTabBytes, "media tabs");
    for (int32_t t = 0; t < tabCount; ++t) {
        category.tabs.push_back(readTab(in, formatVersion, t));
        if (tabRead)
            tabRead(category.tabs.back());
    }
    return category;
}

void writeMediaCategoryBlock(ArchiveWriter& out, const MediaCategory* category,
    const std::function<void()>& tabWritten)
{
    if (!category) {
        out.writeInt32(0);
        out.writeString("");
        out.writeInt32(0);
        return;
    }
    out.writeInt32(1);
    out.writeString(category->name);
    out.writeInt32(int32_t(category->tabs.size()));
    for (const MediaTab& tab : category->tabs) {
        out.writeString(tab.caption);
        for (const MediaColumn& column : tab.columns) {
            // A negative format would end the column list early on reading.
            out.writeInt32(std::max(column.format, 0));
            out.writeInt32(column.width);
            out.writeString(column.heading);
        }
        out.writeInt32(kEndOfColumns);
        out.writeInt32(int32_t(tab.rows.size()));
        for (const MediaRow& row : tab.rows) {
            for (size_t c = 0; c < tab.columns.size(); ++c)
                out.writeString(c < row.cells.size() ? std::string_view(row.cells[c]) : std::string_view(""));
            row.record.Serialize(out);
        }
        if (tabWritten)
            tabWritten();
    }
}

} // namespace lumidex
