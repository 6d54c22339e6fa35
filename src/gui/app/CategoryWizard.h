#pragma once

#include "catalog/CategoryEdits.h"

#include <QDialog>
#include <QImage>
#include <QWizard>

namespace lumidex {

// CWizardCategory: name and kind of a new category ("Step 1 of 2"), then its icon ("Step 2 of 2").
// The media kind is not offered when the catalog already has a media category.
// Accepted only with a non-blank name and a chosen icon; the name comes trimmed.
class CWizardCategory : public QWizard {
    Q_OBJECT
public:
    CWizardCategory(bool mediaCategoryExists, QWidget* parent = nullptr);
    ~CWizardCategory() override;
    QString categoryName() const;
    CategoryKind kind() const;
    QImage icon() const; // 32 x 32; null while no icon is chosen

    // Adds the icon of an image file to the icon list and selects it, as the "..." button does
    // after its file dialog. False (after telling the user) when the file gives no icon.
    bool addIconFile(const QString& path);

    // Accepting ends the wizard only from its last page, and only with a chosen icon.
    void done(int result) override;

private:
    struct Private;
    Private* d;
};

// CAddIconSheet: "Change Icon", the icon page of the category wizard on its own with OK and
// Cancel. icon() is null when OK was pressed without choosing one: the caller changes nothing.
class CAddIconSheet : public QDialog {
    Q_OBJECT
public:
    explicit CAddIconSheet(QWidget* parent = nullptr);
    ~CAddIconSheet() override;
    QImage icon() const; // 32 x 32
    bool addIconFile(const QString& path);

private:
    struct Private;
    Private* d;
};

// CRenameDialog: one name of at most 24 characters; OK only when it is not empty.
// An empty caption or prompt gives "Rename" and "Enter new Category Name". The name comes trimmed;
// a name of blanks only counts as empty.
class CRenameDialog : public QDialog {
    Q_OBJECT
public:
    CRenameDialog(const QString& caption, const QString& prompt, const QString& name, QWidget* parent = nullptr);
    ~CRenameDialog() override;
    QString name() const;
    // Ends the dialog only while the name is not empty.
    void accept() override;

private:
    struct Private;
    Private* d;
};

} // namespace lumidex
