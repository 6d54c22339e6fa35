#include "gui/catalog/DiscCommands.h"

#include "catalog/DiscEdits.h"
#include "gui/app/UserPrompts.h"
#include "gui/catalog/DiscPage.h"
#include "gui/catalog/FilesCategoryPage.h"
#include "gui/catalog/InfoPanel.h"
#include "gui/covers/DiscCoverPage.h"
#include "gui/widgets/ProgressDialog.h"

#include <QApplication>
#include <QMenu>

#include <algorithm>

namespace lumidex {

DiscCommands::DiscCommands(WindowContext context, QObject* parent) : QObject(parent), m_context(std::move(context))
{
}

Disc* DiscCommands::disc(int category, int disc) const
{
    Catalog& catalog = m_context.document->catalog();
    if (category < 0 || size_t(category) >= catalog.filesCategories.size())
        return nullptr;
    auto& discs = catalog.filesCategories[size_t(category)].discs;
    if (disc < 0 || size_t(disc) >= discs.size())
        return nullptr;
    return &discs[size_t(disc)];
}

void DiscCommands::tell(const QString& text) const
{
    m_context.prompts->tell(m_context.window, QMessageBox::Warning, text);
}

QMenu* DiscCommands::buildTabMenu(int category, int disc, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("discTabMenu"));
    const auto add = [&](QMenu* to, const QString& name, const QString& text, auto slot) {
        QAction* action = to->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(menu, QStringLiteral("actionDiscComments"), tr("Comments"), [=, this] { editDiscComment(category, disc); });
    menu->addSeparator();
    add(menu, QStringLiteral("actionDiscDelete"), tr("Delete"), [=, this] { deleteDisc(category, disc); });
    add(menu, QStringLiteral("actionDiscRename"), tr("Rename"), [=, this] { renameDisc(category, disc); });
    add(menu, QStringLiteral("actionDiscUpdate"), tr("Update"), [=, this] { emit updateRequested(category, disc); });
    // Lending comes with the debtor register; until then the entry is there but disabled.
    QMenu* debtor = menu->addMenu(tr("Add to debtor"));
    debtor->setObjectName(QStringLiteral("debtorMenu"));
    debtor->addAction(tr("New debtor"))->setObjectName(QStringLiteral("actionNewDebtor"));
    debtor->setEnabled(false);
    menu->addSeparator();
    QMenu* moveTo = menu->addMenu(tr("Move to "));
    moveTo->setObjectName(QStringLiteral("moveToMenu"));
    const Catalog& catalog = m_context.document->catalog();
    for (int c = 0; c < int(catalog.filesCategories.size()); ++c) {
        if (c == category)
            continue;
        QString name = decodeCatalogText(catalog.filesCategories[size_t(c)].name, m_context.legacy());
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        add(moveTo, QStringLiteral("actionMoveTo%1").arg(c), name, [=, this] { moveDisc(category, disc, c); });
    }
    menu->addSeparator();
    add(menu, QStringLiteral("actionQuickJump"), tr("Quick jump"), [=, this] { quickJump(category); });
    return menu;
}

void DiscCommands::showTabMenu(int category, int disc, const QPoint& globalPos)
{
    QMenu* menu = buildTabMenu(category, disc, m_context.window);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

void DiscCommands::editDiscComment(int category, int discIndex)
{
    Disc* d = disc(category, discIndex);
    if (!d)
        return;
    const LegacyCodePage legacy = m_context.legacy();
    const std::optional<QString> text =
        m_context.prompts->comment(m_context.window, decodeCatalogText(d->comment, legacy));
    if (!text)
        return;
    const CatalogEdit edit = setDiscComment(m_context.document->catalog(), category, discIndex, encodeCatalogText(*text));
    if (!edit.ok())
        return tell(edit.error);
    if (FilesCategoryPage* page = m_context.filesPage(category))
        if (DiscPage* discPage = page->discPage(discIndex))
            discPage->refreshInfo();
}

void DiscCommands::deleteDisc(int category, int discIndex)
{
    if (!disc(category, discIndex))
        return;
    if (m_context.prompts->ask(m_context.window, QMessageBox::Question, tr("Are you sure ?"),
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
        != QMessageBox::Yes)
        return;
    const CatalogEdit edit = lumidex::deleteDisc(m_context.document->catalog(), category, discIndex);
    if (!edit.ok())
        return tell(edit.error);
    // The page drops its pages of moved discs before a message can let them paint.
    if (FilesCategoryPage* page = m_context.filesPage(category)) {
        page->reload();
        // The tab before the deleted one, or the one that took its place.
        page->setCurrentDisc(std::max(discIndex - 1, 0));
    }
    m_context.runContainerChange(edit);
}

void DiscCommands::renameDisc(int category, int discIndex)
{
    Disc* d = disc(category, discIndex);
    if (!d)
        return;
    const std::optional<QString> name = m_context.prompts->discName(
        m_context.window, tr("Enter a new name"), decodeCatalogText(d->name, m_context.legacy()));
    if (!name)
        return;
    const CatalogEdit edit = lumidex::renameDisc(m_context.document->catalog(), category, discIndex,
                                                 encodeCatalogText(*name));
    if (!edit.ok())
        return tell(edit.error);
    if (FilesCategoryPage* page = m_context.filesPage(category)) {
        page->reload();
        page->setCurrentDisc(discIndex);
        if (DiscPage* discPage = page->discPage(discIndex))
            discPage->showDiscInfo();
    }
}

void DiscCommands::moveDisc(int category, int discIndex, int target)
{
    if (!disc(category, discIndex))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CatalogEdit edit = lumidex::moveDisc(m_context.document->catalog(), category, discIndex, target);
    if (edit.ok()) {
        // Both pages refer to discs that moved in memory: they are rebuilt before a message
        // about the container can let them paint.
        if (FilesCategoryPage* page = m_context.filesPage(category)) {
            page->reload();
            page->setCurrentDisc(std::max(discIndex - 1, 0));
        }
        if (FilesCategoryPage* page = m_context.filesPage(target)) {
            page->reload();
            page->setCurrentDisc(page->discCount() - 1);
        }
    }
    QApplication::restoreOverrideCursor();
    if (!edit.ok())
        return tell(edit.error);
    // The target page is hidden: the moved disc's page, and with it its cover, is made when its
    // tab is first shown, after the cover entry took its new name.
    m_context.runContainerChange(edit);
}

void DiscCommands::quickJump(int category)
{
    FilesCategoryPage* page = m_context.filesPage(category);
    if (!page)
        return;
    QStringList names;
    for (const Disc& d : m_context.document->catalog().filesCategories[size_t(category)].discs)
        names << decodeCatalogText(d.name, m_context.legacy());
    m_context.prompts->quickJump(m_context.window, names, page->currentDisc(),
                                 [page](int disc) { page->setCurrentDisc(disc); });
}

void DiscCommands::editItemComment(int category, int discIndex, int32_t node)
{
    Disc* d = disc(category, discIndex);
    if (!d || node < 0 || node >= d->tree.size())
        return;
    const ItemKey key = d->tree.key(node);
    const FileInfoRecord* record = d->records.find(key);
    const LegacyCodePage legacy = m_context.legacy();
    const std::optional<QString> text =
        m_context.prompts->comment(m_context.window, record ? decodeCatalogText(record->comment, legacy) : QString());
    if (!text)
        return;
    const CatalogEdit edit =
        setItemComment(m_context.document->catalog(), category, discIndex, key, encodeCatalogText(*text));
    if (!edit.ok())
        return tell(edit.error);
    if (FilesCategoryPage* page = m_context.filesPage(category))
        if (DiscPage* discPage = page->discPage(discIndex))
            discPage->showItemInfo(node);
}

void DiscCommands::renameItem(int category, int discIndex, int32_t node, const QString& name)
{
    // An empty text ends the edit with the old name, as a cancelled edit does.
    Disc* d = disc(category, discIndex);
    if (name.isEmpty() || !d || node < 0 || node >= d->tree.size()
        || decodeCatalogText(d->tree.text(node), m_context.legacy()) == name)
        return;
    const CatalogEdit edit = lumidex::renameItem(m_context.document->catalog(), category, discIndex, node,
                                                 encodeCatalogText(name));
    if (!edit.ok())
        return tell(edit.error);
    if (FilesCategoryPage* page = m_context.filesPage(category))
        if (DiscPage* discPage = page->discPage(discIndex))
            discPage->showItemInfo(node);
}

void DiscCommands::showDetails(int category, int discIndex, int32_t node)
{
    Disc* d = disc(category, discIndex);
    if (!d || node < 0 || node >= d->tree.size())
        return;
    const ItemKey key = d->tree.key(node);
    CatalogContainer container = m_context.document->container();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const FileDetails details = m_details.find(container, category, discIndex, key);
    QApplication::restoreOverrideCursor();
    if (details.status != FileDetails::Status::Found) {
        const QString message = FileDetails::message(details.status);
        if (!message.isEmpty())
            m_context.prompts->tell(m_context.window, QMessageBox::Information, message);
        return;
    }
    const LegacyCodePage legacy = m_context.legacy();
    const CFileObject& record = details.record;
    const QString caption = decodeCatalogText(record.name, legacy);
    switch (FileDetails::kindOf(record.name)) {
    case FileDetails::Kind::Archive:
        m_context.prompts->showArchiveList(m_context.window, caption, record.lines, legacy);
        break;
    case FileDetails::Kind::Description:
        m_context.prompts->showDescription(m_context.window, caption, record.lines, legacy);
        break;
    case FileDetails::Kind::Mp3: {
        const std::string line = record.lines.empty() ? std::string() : record.lines.front();
        const std::optional<Mp3Fields> fields = m_context.prompts->mp3Info(m_context.window, caption, line, legacy);
        if (!fields)
            break;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ProgressDialog progress(m_context.window);
        progress.setText(tr("Update info ..."));
        progress.setRange(0);
        progress.show();
        // Painted before the entry, which may be large, is written again.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        const QString error = updateMp3Details(container, category, discIndex, key, *fields);
        progress.close();
        QApplication::restoreOverrideCursor();
        if (!error.isEmpty())
            tell(tr("The MP3 info cannot be updated.\n%1").arg(error));
        showItemMp3(category, discIndex, node);
        break;
    }
    }
}

void DiscCommands::showItemMp3(int category, int discIndex, int32_t node)
{
    Disc* d = disc(category, discIndex);
    FilesCategoryPage* page = m_context.filesPage(category);
    DiscPage* discPage = page ? page->discPage(discIndex) : nullptr;
    if (!d || !discPage || node < 0 || node >= d->tree.size()
        || FileDetails::kindOf(d->tree.text(node)) != FileDetails::Kind::Mp3)
        return;
    CatalogContainer container = m_context.document->container();
    const FileDetails details = m_details.find(container, category, discIndex, d->tree.key(node));
    if (details.status != FileDetails::Status::Found || details.record.lines.empty())
        return;
    // Only for the item the panel still shows.
    if (discPage->selectedNode() == node)
        discPage->infoPanel()->showMp3(splitMp3InfoLine(details.record.lines.front()), m_context.legacy());
}

void DiscCommands::preparePage(int category, int discIndex, DiscPage* page)
{
    DiscCoverPage* cover = page->infoPanel()->coverPage();
    UserPrompts* prompts = m_context.prompts;
    cover->setFileChooser([prompts](QWidget* parent) { return prompts->coverFile(parent); });
    cover->setFolderChooser([prompts](QWidget* parent) { return prompts->folder(parent); });
    cover->setMessageHandler(
        [prompts](QWidget* parent, const QString& text) { prompts->tell(parent, QMessageBox::Warning, text); });
    connect(cover, &DiscCoverPage::coverAdded, this,
            [this, category, discIndex](const QString& file) { storeCover(category, discIndex, file); });
    connect(cover, &DiscCoverPage::coverRemoved, this,
            [this, category, discIndex] { removeCover(category, discIndex); });
    showStoredCover(category, discIndex, cover);
}

void DiscCommands::showStoredCover(int category, int discIndex, DiscCoverPage* cover)
{
    if (!cover) {
        FilesCategoryPage* page = m_context.filesPage(category);
        DiscPage* discPage = page ? page->discPage(discIndex) : nullptr;
        if (!discPage)
            return;
        cover = discPage->infoPanel()->coverPage();
    }
    CatalogContainer container = m_context.document->container();
    const std::optional<QByteArray> bytes = container.loadDiscCover(category, discIndex);
    if (bytes)
        cover->showStoredCover(*bytes, QString::fromStdString(CatalogContainer::discCoverEntryName(category, discIndex)));
    else
        cover->showNoCover();
}

void DiscCommands::storeCover(int category, int discIndex, const QString& pictureFile)
{
    const CatalogEdit edit = storeDiscCover(m_context.document->catalog(), category, discIndex, pictureFile);
    if (!edit.ok())
        tell(edit.error);
    // The tab shows what the container holds, also after a failure.
    if (!edit.ok() || !m_context.runContainerChange(edit))
        showStoredCover(category, discIndex);
}

void DiscCommands::removeCover(int category, int discIndex)
{
    const CatalogEdit edit = removeDiscCover(m_context.document->catalog(), category, discIndex);
    if (!edit.ok())
        tell(edit.error);
    if (!edit.ok() || !m_context.runContainerChange(edit))
        showStoredCover(category, discIndex);
}

} // namespace lumidex
