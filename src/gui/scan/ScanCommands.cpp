#include "gui/scan/ScanCommands.h"

#include "catalog/Disc.h"
#include "gui/app/UserPrompts.h"
#include "gui/catalog/DiscPage.h"
#include "gui/catalog/FilesCategoryPage.h"
#include "gui/scan/ScanJob.h"
#include "format/IniFile.h"
#include "scan/DriveAccess.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace lumidex {

ScanCommands::ScanCommands(WindowContext context, DriveAccess& drives, QObject* parent)
    : QObject(parent), m_context(std::move(context)), m_access(drives)
{
}

ScanCommands::~ScanCommands() = default;

void ScanCommands::buildDriveList()
{
    const DriveListResult result = BuildDriveList(m_access);
    m_drives = result.drives;
    if (!result.unidentified.isEmpty())
        m_context.prompts->tell(m_context.window, QMessageBox::NoIcon, driveListErrorText());
}

void ScanCommands::resetSelection()
{
    m_selected = NoDriveSelected;
    emit selectedDriveChanged(m_selected);
}

void ScanCommands::selectDrive()
{
    const std::optional<int> row = m_context.prompts->driveRow(m_context.window, m_drives);
    if (row) {
        if (const std::optional<DriveSelection> chosen = lumidex::selectDrive(m_access, m_drives, *row)) {
            emit driveStateChanged(chosen->ready);
            emit statusTextChanged(chosen->statusText);
            m_selected = chosen->value;
        }
    }
    emit selectedDriveChanged(m_selected);
}

void ScanCommands::reportDriveNotReady()
{
    m_context.prompts->tell(m_context.window, QMessageBox::Warning, driveNotReadyText());
    emit driveStateChanged(false);
}

void ScanCommands::setNumbering(bool on)
{
    m_numbering = on;
    if (!on) {
        m_baseName = QStringLiteral("CD");
        m_counter = 0;
        m_promptDue = true;
    }
}

void ScanCommands::scanCd(const QPoint& popupAt)
{
    const int category = m_context.currentCategory();
    FilesCategoryPage* page = m_context.filesPage(category);
    const DriveEntry* drive = lumidex::selectedDrive(m_drives, m_selected);
    if (isScanning() || !page || !drive)
        return;
    const ScanOptions options = m_context.scanOptions();
    const bool useLabel = options.isOn(ScanOptions::UseLabel);
    QString name;
    if (m_numbering) {
        if (m_promptDue) {
            const auto chosen = m_context.prompts->numberedName(m_context.window, m_baseName, m_counter, popupAt);
            if (!chosen)
                return;
            m_baseName = chosen->first;
            m_counter = chosen->second;
        }
        m_promptDue = false;
        name = m_baseName + QString::number(m_counter);
        ++m_counter;
    } else {
        m_promptDue = true;
        if (!useLabel) {
            const std::optional<QString> typed = m_context.prompts->discName(m_context.window, tr("Set new CD name"), {});
            if (!typed)
                return;
            name = *typed;
        }
    }
    const QString root = m_access.rootPath(drive->drive);
    if (!IsReady(m_access, drive->drive) || root.isEmpty())
        return reportDriveNotReady();
    if (useLabel && !m_numbering)
        name = GetVolumeLabel(m_access, drive->drive);

    Disc disc;
    disc.name = encodeCatalogText(name);
    startScan({category, page->discCount(), false}, root, std::move(disc));
}

void ScanCommands::selectPath()
{
    const int category = m_context.currentCategory();
    FilesCategoryPage* page = m_context.filesPage(category);
    if (isScanning() || !page)
        return;
    const QString folder = m_context.prompts->folder(m_context.window);
    if (folder.isEmpty())
        return;
    const auto& discs = m_context.document->catalog().filesCategories[size_t(category)].discs;
    // Names compare as stored, folding A to Z only, like every name comparison of the catalog.
    const auto taken = [&](const QString& name) {
        const std::string bytes = encodeCatalogText(name);
        for (const Disc& d : discs)
            if (equalsIgnoringAsciiCase(d.name, bytes))
                return true;
        return false;
    };
    QString prompt = tr("Enter a new name");
    std::optional<QString> name;
    for (;;) {
        name = m_context.prompts->discName(m_context.window, prompt, name.value_or(QString()));
        if (!name)
            return;
        if (!taken(*name))
            break;
        prompt = tr("Enter valid name");
    }
    Disc disc;
    disc.name = encodeCatalogText(*name);
    startScan({category, int(discs.size()), false}, folder, std::move(disc));
}

void ScanCommands::updateDisc(int category, int discIndex)
{
    Catalog& catalog = m_context.document->catalog();
    if (isScanning() || category < 0 || size_t(category) >= catalog.filesCategories.size()
        || discIndex < 0 || size_t(discIndex) >= catalog.filesCategories[size_t(category)].discs.size())
        return;
    if (m_context.prompts->ask(m_context.window, QMessageBox::Information,
                               tr("Please insert CD and klick OK when ready."), QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;
    const std::optional<int> row = m_context.prompts->driveRow(m_context.window, m_drives);
    if (!row || *row < 0 || size_t(*row) >= m_drives.size())
        return;
    const QString drive = m_drives[size_t(*row)].drive;
    const QString root = m_access.rootPath(drive);
    if (!IsReady(m_access, drive) || root.isEmpty())
        return;

    const Disc& current = catalog.filesCategories[size_t(category)].discs[size_t(discIndex)];
    // The rescan starts from the disc's records, so that items found again keep their comments;
    // the tree, the totals and the disc comment are new.
    Disc disc;
    disc.name = current.name;
    disc.records = current.records;
    if (!m_context.scanOptions().isOn(ScanOptions::UseLabel)) {
        if (const std::optional<QString> name = m_context.prompts->discName(
                m_context.window, tr("Set new CD name"), decodeCatalogText(current.name, m_context.legacy())))
            disc.name = encodeCatalogText(*name);
    } else {
        disc.name = encodeCatalogText(GetVolumeLabel(m_access, drive));
    }
    startScan({category, discIndex, true}, root, std::move(disc));
}

QString ScanCommands::entryFilePath(int category, int disc) const
{
    // Private to this process, so that two programs scanning at once never share a file.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    return QDir(folder).filePath(QStringLiteral("lumidex-%1-%2_%3.obj")
                                     .arg(QCoreApplication::applicationPid())
                                     .arg(category)
                                     .arg(disc));
}

void ScanCommands::startScan(const Target& target, const QString& root, Disc disc)
{
    m_target = target;
    m_job = std::make_unique<ScanJob>(m_context.scanOptions(), root, std::move(disc),
                                      entryFilePath(target.category, target.disc), m_access, m_context.window);
    connect(m_job.get(), &ScanJob::finished, this, &ScanCommands::finishScan);
    emit scanStarted();
    m_job->start();
}

void ScanCommands::cancelScan()
{
    if (m_job)
        m_job->cancel();
}

void ScanCommands::finishScan()
{
    // The job is deleted once this slot, called from its own signal, has returned.
    ScanJob& done = *m_job.release();
    done.deleteLater();
    if (!done.completed()) {
        emit scanFinished(false);
        return;
    }
    const Target target = m_target;
    Catalog& catalog = m_context.document->catalog();
    auto& discs = catalog.filesCategories[size_t(target.category)].discs;
    const QString entryFile = done.entryFile();
    CatalogEdit edit;
    if (target.update) {
        discs[size_t(target.disc)] = std::move(done.disc());
        // A container that went missing is made anew; it then holds what this Update writes.
        edit.containerChange = [=, counts = catalog.discCounts()](CatalogContainer& c) {
            if (!c.exists() && !c.create(counts))
                return false;
            return c.updateDisc(target.category, target.disc, entryFile);
        };
    } else {
        discs.push_back(std::move(done.disc()));
        const int added = int(discs.size()) - 1;
        edit.containerChange = [=](CatalogContainer& c) { return c.addDisc(target.category, added, entryFile); };
    }
    // The pages show the changed discs before anything (a message about the container) can
    // let them paint again.
    FilesCategoryPage* page = m_context.filesPage(target.category);
    if (page) {
        page->reload();
        page->setCurrentDisc(target.update ? target.disc : page->discCount() - 1);
    }
    if (!m_context.runContainerChange(edit))
        QFile::remove(entryFile);
    if (DiscPage* discPage = page ? page->discPage(page->currentDisc()) : nullptr) {
        if (target.update)
            discPage->refreshInfo();
        else
            discPage->showDiscInfo();
    }
    if (m_context.scanOptions().isOn(ScanOptions::Eject))
        Eject(m_access, done.root());
    emit scanFinished(true);
}

} // namespace lumidex
