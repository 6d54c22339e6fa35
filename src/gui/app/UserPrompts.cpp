#include "gui/app/UserPrompts.h"

#include "gui/app/CategoryWizard.h"
#include "gui/catalog/CommentsDialog.h"
#include "gui/catalog/QuickJumpDialog.h"
#include "gui/details/ArchiveListDialog.h"
#include "gui/details/DescriptionDialog.h"
#include "gui/details/Mp3InfoDialog.h"
#include "gui/scan/DiscNameDialog.h"
#include "gui/scan/ItemNameDialog.h"
#include "gui/scan/SelectDriveDialog.h"
#include "gui/settings/OptionsSheet.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>

namespace lumidex {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("DialogPrompts", text);
}

QString caption()
{
    return QStringLiteral("Lumidex");
}

QString catalogFilter()
{
    return tr("Lumidex catalog (*.sav)");
}

} // namespace

QMessageBox::StandardButton DialogPrompts::ask(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                               QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption(), text, buttons, parent);
    return QMessageBox::StandardButton(box.exec());
}

void DialogPrompts::tell(QWidget* parent, QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, caption(), text, QMessageBox::Ok, parent);
    box.exec();
}

QString DialogPrompts::openCatalogPath(QWidget* parent, const QString& folder)
{
    QFileDialog dialog(parent, tr("Open Catalog"), folder, catalogFilter());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("sav"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString DialogPrompts::saveCatalogPath(QWidget* parent, const QString& folder)
{
    QFileDialog dialog(parent, tr("Save As"), folder, catalogFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("sav"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<NewCategoryChoice> DialogPrompts::newCategory(QWidget* parent, bool mediaCategoryExists)
{
    CWizardCategory wizard(mediaCategoryExists, parent);
    if (wizard.exec() != QDialog::Accepted)
        return std::nullopt;
    NewCategoryChoice choice{wizard.categoryName(), wizard.kind(), wizard.icon()};
    if (choice.name.isEmpty() || choice.icon.isNull())
        return std::nullopt;
    return choice;
}

std::optional<QString> DialogPrompts::categoryName(QWidget* parent, const QString& caption, const QString& prompt,
                                                   const QString& name)
{
    CRenameDialog dialog(caption, prompt, name, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.name();
}

std::optional<QImage> DialogPrompts::categoryIcon(QWidget* parent)
{
    // The wizard's icon page on its own: the built-in icons and any image file the user adds.
    CAddIconSheet sheet(parent);
    if (sheet.exec() != QDialog::Accepted || sheet.icon().isNull())
        return std::nullopt;
    return sheet.icon();
}

std::optional<ScanOptions> DialogPrompts::scanOptions(QWidget* parent, const ScanOptions& options)
{
    OptionsSheet sheet(options, parent);
    if (sheet.exec() != QDialog::Accepted)
        return std::nullopt;
    return sheet.options();
}

std::optional<QString> DialogPrompts::discName(QWidget* parent, const QString& prompt, const QString& name)
{
    ItemNameDialog dialog(prompt, name, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.name();
}

std::optional<std::pair<QString, int>> DialogPrompts::numberedName(QWidget* parent, const QString& baseName,
                                                                   int counter, const QPoint& at)
{
    DiscNameDialog dialog(baseName, counter, parent);
    dialog.move(at);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return std::pair{dialog.baseName(), dialog.counter()};
}

std::optional<int> DialogPrompts::driveRow(QWidget* parent, const std::vector<DriveEntry>& drives)
{
    SelectDriveDialog dialog(drives, parent);
    if (dialog.exec() != 1 || dialog.chosenRow() < 0)
        return std::nullopt;
    return dialog.chosenRow();
}

QString DialogPrompts::folder(QWidget* parent)
{
    return QFileDialog::getExistingDirectory(parent, QStringLiteral(" "), QDir::homePath(), QFileDialog::ShowDirsOnly);
}

QString DialogPrompts::coverFile(QWidget* parent)
{
    return QFileDialog::getOpenFileName(parent, tr("Add cover"), QString(), tr("Image files (*.jpg *.jpeg)"));
}

std::optional<QString> DialogPrompts::comment(QWidget* parent, const QString& comment)
{
    CommentsDialog dialog(comment, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.comment();
}

void DialogPrompts::quickJump(QWidget* parent, const QStringList& discNames, int current,
                              const std::function<void(int)>& jump)
{
    QuickJumpDialog dialog(discNames, current, parent);
    QObject::connect(&dialog, &QuickJumpDialog::discChosen, &dialog, jump);
    dialog.exec();
}

void DialogPrompts::showDescription(QWidget* parent, const QString& caption, const std::vector<std::string>& lines,
                                    LegacyCodePage legacy)
{
    DescriptionDialog dialog(caption, lines, legacy, parent);
    dialog.exec();
}

void DialogPrompts::showArchiveList(QWidget* parent, const QString& caption, const std::vector<std::string>& lines,
                                    LegacyCodePage legacy)
{
    ArchiveListDialog dialog(caption, lines, legacy, parent);
    dialog.exec();
}

std::optional<Mp3Fields> DialogPrompts::mp3Info(QWidget* parent, const QString& caption, const std::string& line,
                                                LegacyCodePage legacy)
{
    Mp3InfoDialog dialog(caption, line, legacy, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.fields();
}

} // namespace lumidex
