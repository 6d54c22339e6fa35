#pragma once

#include "catalog/CategoryEdits.h"
#include "scan/ScanOptions.h"

#include <QImage>
#include <QMessageBox>
#include <QString>

#include <optional>

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
};

} // namespace lumidex
