#pragma once

#include "catalog/CategoryEdits.h"
#include "format/TextCodec.h"
#include "scan/Drives.h"
#include "scan/Mp3Data.h"
#include "scan/ScanOptions.h"

#include <QImage>
#include <QMessageBox>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace lumidex {

// What the category wizard delivers for a new category.
struct NewCategoryChoice {
    QString name;
    CategoryKind kind = CategoryKind::Files;
    QImage icon;
};

// Everything the main window asks the user. DialogPrompts shows the real dialogs; tests give the
// window their own answers, so no modal dialog ever blocks them.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // A message box with the given buttons; returns the button pressed (Cancel or the Escape
    // button when the box is closed).
    virtual QMessageBox::StandardButton ask(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                            QMessageBox::StandardButtons buttons) = 0;
    // A message box with OK only.
    virtual void tell(QWidget* parent, QMessageBox::Icon icon, const QString& text) = 0;

    // The file dialogs of the catalog commands; an empty path when cancelled.
    virtual QString openCatalogPath(QWidget* parent, const QString& folder) = 0;
    virtual QString saveCatalogPath(QWidget* parent, const QString& folder) = 0;

    // The category wizard; nothing when it did not end with Finish.
    virtual std::optional<NewCategoryChoice> newCategory(QWidget* parent, bool mediaCategoryExists) = 0;
    // The rename dialog with its caption and prompt, preset with `name`; nothing when cancelled.
    virtual std::optional<QString> categoryName(QWidget* parent, const QString& caption, const QString& prompt,
                                                const QString& name) = 0;
    // A new icon for a category; nothing when cancelled or unreadable.
    virtual std::optional<QImage> categoryIcon(QWidget* parent) = 0;
    // The options sheet over `options`; the confirmed record, or nothing when cancelled.
    virtual std::optional<ScanOptions> scanOptions(QWidget* parent, const ScanOptions& options) = 0;

    // The name of a disc (at most 25 characters) under `prompt`; nothing when cancelled.
    virtual std::optional<QString> discName(QWidget* parent, const QString& prompt, const QString& name) = 0;
    // The popup of numbered scans below `at` (global position): base name and next number.
    virtual std::optional<std::pair<QString, int>> numberedName(QWidget* parent, const QString& baseName,
                                                                int counter, const QPoint& at) = 0;
    // "Select CD-Rom": the row double-clicked, nothing when closed with Escape.
    virtual std::optional<int> driveRow(QWidget* parent, const std::vector<DriveEntry>& drives) = 0;
    // A folder to scan or to copy a cover into; empty when cancelled.
    virtual QString folder(QWidget* parent) = 0;
    // A cover picture file; empty when cancelled.
    virtual QString coverFile(QWidget* parent) = 0;
    // "Comments" over `comment` (CR LF line ends); the edited text, nothing when cancelled.
    virtual std::optional<QString> comment(QWidget* parent, const QString& comment) = 0;
    // The quick jump list; `jump` is called for every disc chosen while it is open.
    virtual void quickJump(QWidget* parent, const QStringList& discNames, int current,
                           const std::function<void(int)>& jump) = 0;

    // The stored details of a file: a description's lines, an archive's member lines, and the
    // MP3 window, which returns the corrected fields after "Update info" and nothing otherwise.
    virtual void showDescription(QWidget* parent, const QString& caption, const std::vector<std::string>& lines,
                                 LegacyCodePage legacy) = 0;
    virtual void showArchiveList(QWidget* parent, const QString& caption, const std::vector<std::string>& lines,
                                 LegacyCodePage legacy) = 0;
    virtual std::optional<Mp3Fields> mp3Info(QWidget* parent, const QString& caption, const std::string& line,
                                             LegacyCodePage legacy) = 0;
};

class DialogPrompts : public UserPrompts {
public:
    QMessageBox::StandardButton ask(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                    QMessageBox::StandardButtons buttons) override;
    void tell(QWidget* parent, QMessageBox::Icon icon, const QString& text) override;
    QString openCatalogPath(QWidget* parent, const QString& folder) override;
    QString saveCatalogPath(QWidget* parent, const QString& folder) override;
    std::optional<NewCategoryChoice> newCategory(QWidget* parent, bool mediaCategoryExists) override;
    std::optional<QString> categoryName(QWidget* parent, const QString& caption, const QString& prompt,
                                        const QString& name) override;
    std::optional<QImage> categoryIcon(QWidget* parent) override;
    std::optional<ScanOptions> scanOptions(QWidget* parent, const ScanOptions& options) override;
    std::optional<QString> discName(QWidget* parent, const QString& prompt, const QString& name) override;
    std::optional<std::pair<QString, int>> numberedName(QWidget* parent, const QString& baseName, int counter,
                                                        const QPoint& at) override;
    std::optional<int> driveRow(QWidget* parent, const std::vector<DriveEntry>& drives) override;
    QString folder(QWidget* parent) override;
    QString coverFile(QWidget* parent) override;
    std::optional<QString> comment(QWidget* parent, const QString& comment) override;
    void quickJump(QWidget* parent, const QStringList& discNames, int current,
                   const std::function<void(int)>& jump) override;
    void showDescription(QWidget* parent, const QString& caption, const std::vector<std::string>& lines,
                         LegacyCodePage legacy) override;
    void showArchiveList(QWidget* parent, const QString& caption, const std::vector<std::string>& lines,
                         LegacyCodePage legacy) override;
    std::optional<Mp3Fields> mp3Info(QWidget* parent, const QString& caption, const std::string& line,
                                     LegacyCodePage legacy) override;
};

} // namespace lumidex
