#include "gui/catalog/InfoPanel.h"

#include "catalog/Disc.h"
#include "catalog/FileInfoRecord.h"
#include "gui/covers/DiscCoverPage.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLocale>
#include <QTreeWidget>

namespace lumidex {

InfoPanel::InfoPanel(QWidget* parent) : QTabWidget(parent)
{
    setObjectName(QStringLiteral("infoPanel"));
    m_discLines = makeLines(QStringLiteral("discLines"));
    m_itemLines = makeLines(QStringLiteral("itemLines"));
    addTab(m_discLines, tr("Disc"));
    addTab(m_itemLines, tr("File/Folder"));
    m_cover = new DiscCoverPage;
    m_cover->setObjectName(QStringLiteral("coverTab"));
    addTab(m_cover, tr("Cover"));
    clearItem();
    setValues(m_discLines, {});
}

QTreeWidget* InfoPanel::makeLines(const QString& objectName)
{
    auto* lines = new QTreeWidget;
    lines->setObjectName(objectName);
    lines->setColumnCount(2);
    lines->setHeaderHidden(true);
    lines->setRootIsDecorated(false);
    lines->setItemsExpandable(false);
    lines->setSelectionMode(QAbstractItemView::SingleSelection);
    lines->setWordWrap(true);
    lines->setTextElideMode(Qt::ElideNone);
    lines->header()->setStretchLastSection(true);
    const QStringList labels = {tr("Name:"), tr("Size:"), tr("Created:"), tr("Comments:")};
    for (const QString& label : labels) {
        auto* line = new QTreeWidgetItem(lines, QStringList{label});
        line->setTextAlignment(0, Qt::AlignLeft | Qt::AlignTop);
        line->setTextAlignment(1, Qt::AlignLeft | Qt::AlignTop);
    }
    lines->resizeColumnToContents(0);
    return lines;
}

void InfoPanel::setValues(QTreeWidget* lines, const QStringList& values)
{
    for (int i = 0; i < lines->topLevelItemCount(); ++i)
        lines->topLevelItem(i)->setText(1, values.value(i));
}

void InfoPanel::showDisc(const Disc& disc, LegacyCodePage legacy)
{
    setValues(m_discLines, {decodeCatalogText(disc.name, legacy), formatSize(disc.size), formatTime(disc.created),
                            formatComment(disc.comment, legacy)});
    setCurrentIndex(DiscTab);
}

void InfoPanel::removeMp3Lines()
{
    while (m_itemLines->topLevelItemCount() > CommentsLine + 1)
        delete m_itemLines->takeTopLevelItem(CommentsLine + 1);
}

void InfoPanel::showMp3(const Mp3Fields& fields, LegacyCodePage legacy)
{
    removeMp3Lines();
    const auto value = [&](int field) { return decodeCatalogText(fields[size_t(field)], legacy).trimmed(); };
    const QList<QPair<QString, QString>> lines = {
        {tr("Bitrate:"), value(Mp3Field::Bitrate) + tr(" kbps")},
        {tr("Frequency:"), value(Mp3Field::Frequency) + tr(" Hz")},
        {tr("Mode:"), value(Mp3Field::Mode)},
        {tr("Title:"), value(Mp3Field::Title)},
        {tr("Artist:"), value(Mp3Field::Artist)},
        {tr("Album:"), value(Mp3Field::Album)},
        {tr("Year:"), value(Mp3Field::Year)},
        {tr("Comment:"), value(Mp3Field::Comment)},
        {tr("Genre:"), value(Mp3Field::Genre)},
    };
    for (const auto& [label, text] : lines) {
        auto* line = new QTreeWidgetItem(m_itemLines, QStringList{label, text});
        line->setTextAlignment(0, Qt::AlignLeft | Qt::AlignTop);
    }
}

QString InfoPanel::itemValue(const QString& label) const
{
    for (int i = 0; i < m_itemLines->topLevelItemCount(); ++i)
        if (m_itemLines->topLevelItem(i)->text(0) == label)
            return m_itemLines->topLevelItem(i)->text(1);
    return {};
}

void InfoPanel::showItem(const QString& name, const FileInfoRecord* record, LegacyCodePage legacy)
{
    removeMp3Lines();
    if (record)
        setValues(m_itemLines, {name, formatSize(record->size), formatTime(record->created),
                                formatComment(record->comment, legacy)});
    else
        setValues(m_itemLines, {name});
    setCurrentIndex(ItemTab);
}

void InfoPanel::clearItem()
{
    removeMp3Lines();
    setValues(m_itemLines, {});
}

QString InfoPanel::discValue(Line line) const
{
    const QTreeWidgetItem* item = m_discLines->topLevelItem(line);
    return item ? item->text(1) : QString();
}

QString InfoPanel::itemValue(Line line) const
{
    const QTreeWidgetItem* item = m_itemLines->topLevelItem(line);
    return item ? item->text(1) : QString();
}

QString InfoPanel::formatSize(int64_t bytes)
{
    // The magnitude as unsigned, so that the most negative value has one as well.
    uint64_t magnitude = bytes < 0 ? uint64_t(0) - uint64_t(bytes) : uint64_t(bytes);
    QString digits;
    int inGroup = 0;
    do {
        if (inGroup == 3) {
            digits.prepend(QLatin1Char('.'));
            inGroup = 0;
        }
        digits.prepend(QLatin1Char(char('0' + magnitude % 10)));
        magnitude /= 10;
        ++inGroup;
    } while (magnitude != 0);
    if (bytes < 0)
        digits.prepend(QLatin1Char('-'));
    return digits + tr(" Bytes");
}

QString InfoPanel::formatTime(int32_t secondsSince1970)
{
    if (secondsSince1970 == 0)
        return {};
    const QDateTime when = QDateTime::fromSecsSinceEpoch(secondsSince1970);
    const QLocale locale = QLocale::system();
    const QString date = locale.toString(when.date(), QLocale::ShortFormat);
    const QString time = locale.toString(when.time(), QLocale::ShortFormat);
    if (date.isEmpty())
        return time;
    if (time.isEmpty())
        return date;
    return date + QStringLiteral(", ") + time;
}

QString InfoPanel::formatComment(const std::string& comment, LegacyCodePage legacy)
{
    QString text = decodeCatalogText(comment, legacy);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace lumidex
