#pragma once

#include "catalog/CatalogDocument.h"
#include "format/TextCodec.h"
#include "gui/app/UserPrompts.h"
#include "scan/ScanOptions.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QStackedWidget;
class QThread;

namespace lumidex {

class CategoryBar;
class DiscCommands;
class DriveAccess;
class FilesCategoryPage;
class ProgressDialog;
class ScanCommands;

// The one top-level window. It owns the open catalog (a CatalogDocument whose working container
// is the data folder's "dummy.zip") and shows it: the category bar on the left, one page per
// category in the page area (a FilesCategoryPage per files category, the media page last), the
// toolbar, the menu and the status bar. It runs the catalog file commands (New, Open, Save,
// Save As, Exit), keeps the recent-files list and carries out the category bar's edits.
//
// A catalog bound to a file is saved to it without asking before New, Open and Exit; a new one
// gets "Save file ?". Opening reads the file on a worker thread; the catalog is replaced on this
// thread when the worker has finished, and the window refuses commands until then.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `language`: 1 English, 2 Russian, 3 German. `prompts` answers the window's questions;
    // without it the real dialogs are shown. `drives` is the machine's CD drives; without it the
    // system's own.
    explicit MainWindow(int language = 1, std::unique_ptr<UserPrompts> prompts = {},
                        std::unique_ptr<DriveAccess> drives = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What happens once the window is up: `file`, when given, is opened; otherwise the last
    // catalog is opened 600 ms later when the options ask for it.
    void startUp(const QString& file = {});

    const CatalogDocument& document() const { return m_document; }
    int currentCategory() const { return m_current; }
    QStringList recentFiles() const { return m_recent; }
    // Raw text of the status bar's text part (a leading tab centres it).
    QString statusText() const { return m_status; }
    // An open or a scan is running on a worker thread.
    bool isBusy() const;
    FilesCategoryPage* filesPage(int category) const;
    DiscCommands* discCommands() const { return m_discCommands; }
    ScanCommands* scanCommands() const { return m_scanCommands; }

    // The page title of a category: names longer than 23 characters are cut to 21 and "...".
    static QString pageTitle(const QString& categoryName);

public slots:
    bool newCatalog();
    // An empty path asks for the file. The result arrives with catalogOpened().
    void openCatalog(const QString& path = {});
    bool saveCatalog();
    bool saveCatalogAs();
    void openRecentFile(int index);
    void showCategoryPage(int index);

    void insertCategory();
    void deleteCategory(int index);
    void renameCategory(int index);
    void changeCategoryIcon(int index);
    void editOptions();

signals:
    // An open has ended: true when the catalog was read and is shown, false when it failed
    // ("I/O Error !") and the window went on with a new catalog.
    void catalogOpened(bool ok);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct LoadJob;

    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createCentralArea();
    QAction* addCommand(const QString& name, const QString& text, const QIcon& icon, bool enabled);

    void setStatusText(const QString& text);
    // A long operation takes the status text; restoreStatusLater puts it back after 1.3 s.
    void takeStatusText();
    void restoreStatusLater();
    void updateCaption(const QString& path);
    LegacyCodePage legacyCodePage() const;
    QString decode(const std::string& bytes) const;

    // Save to `path` with the progress window; false (and a message) when it failed.
    bool saveTo(const QString& path);
    QString askSavePath();
    void resetToNewCatalog();
    void openAtStart();
    void loadProgress(const QString& text);
    void finishOpen(const std::shared_ptr<LoadJob>& job);
    void setCommandsEnabled(bool enabled);
    void createDiscCommands();
    void updateScanCommands();
    void setDriveIndicator(bool ready);
    void scanEnded();

    // The bar and the pages are rebuilt from the catalog after it was replaced or its
    // categories were inserted or deleted (a page refers to its category in the catalog).
    void clearPages();
    void rebuildPages();
    void refreshBarEntry(int index);
    bool runContainerChange(const CatalogEdit& edit);
    void refreshEntryCount();

    void loadRecentFiles();
    void storeRecentFiles();
    void addRecentFile(const QString& path);
    void removeRecentFile(int index);
    void buildRecentMenu();

    std::unique_ptr<UserPrompts> m_prompts;
    int m_language;
    CatalogDocument m_document;
    ScanOptions m_options;
    int m_current = -1;

    CategoryBar* m_bar = nullptr;
    QStackedWidget* m_pageArea = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_entryLabel = nullptr;
    QLabel* m_entryCount = nullptr;
    QLabel* m_statusLabel = nullptr;
    QLabel* m_driveIndicator = nullptr;

    QHash<QString, QAction*> m_actions;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_recentMenu = nullptr;
    QAction* m_recentSeparator = nullptr;
    QStringList m_recent;

    QString m_status;
    QString m_savedStatus;
    QTimer m_statusTimer;

    std::unique_ptr<DriveAccess> m_driveAccess;
    DiscCommands* m_discCommands = nullptr;
    ScanCommands* m_scanCommands = nullptr;
    bool m_closeAfterScan = false;

    QThread* m_loader = nullptr;
    QPointer<ProgressDialog> m_loadProgress;
    bool m_closing = false;
};

} // namespace lumidex
