#include "gui/app/MainWindow.h"

#include "catalog/CatalogFile.h"
#include "catalog/CategoryEdits.h"
#include "catalog/CategoryIcons.h"
#include "format/TextCodec.h"
#include "gui/app/CategoryBar.h"
#include "gui/app/UserPrompts.h"
#include "gui/catalog/DiscCommands.h"
#include "gui/catalog/FilesCategoryPage.h"
#include "gui/scan/ScanCommands.h"
#include "gui/widgets/ProgressDialog.h"
#include "scan/LinuxDriveAccess.h"
#include "settings/AppPaths.h"
#include "settings/SettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QThread>
#include <QToolBar>
#include <QVBoxLayout>

#include <functional>
#include <utility>
#include <optional>

namespace lumidex {

namespace {

constexpr int kMaxRecentFiles = 5;
constexpr int kStatusRestoreMs = 1300;
constexpr int kOpenAtStartMs = 600;
// Progress texts from the worker are passed on at most this often.
constexpr qint64 kProgressIntervalMs = 40;

std::string pathBytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString pathFromBytes(const std::string& bytes)
{
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

QString recentKey(int oneBased)
{
    return QString::fromLatin1(settingsKeys::RecentFilePrefix.data(), qsizetype(settingsKeys::RecentFilePrefix.size()))
        + QString::number(oneBased);
}

QIcon commandIcon(const char* themeName, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QLatin1String(themeName), QApplication::style()->standardIcon(fallback));
}

// The page of the media category until it has pages of its own: one empty tab per list.
class MediaCategoryPage : public QTabWidget {
public:
    MediaCategoryPage(const MediaCategory& media, const std::function<QString(const std::string&)>& decode,
                      QWidget* parent)
        : QTabWidget(parent)
    {
        setObjectName(QStringLiteral("mediaCategoryPage"));
        for (const MediaTab& tab : media.tabs)
            addTab(new QWidget(this), decode(tab.caption));
    }

    void setTabIcons(const QIcon& icon)
    {
        for (int i = 0; i < count(); ++i)
            setTabIcon(i, icon);
    }
};

QIcon iconOf(const QImage& image)
{
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

} // namespace

// What the worker hands back: the document it opened, or why it could not.
struct MainWindow::LoadJob {
    QString path;
    QString workingContainer;
    std::optional<CatalogDocument> document;
    QString error;
};

MainWindow::MainWindow(int language, std::unique_ptr<UserPrompts> prompts, std::unique_ptr<DriveAccess> drives,
                       QWidget* parent)
    : QMainWindow(parent)
    , m_prompts(prompts ? std::move(prompts) : std::make_unique<DialogPrompts>())
    , m_language(language)
    , m_document(workingContainerPath())
    , m_driveAccess(drives ? std::move(drives) : std::make_unique<LinuxDriveAccess>())
{
    setObjectName(QStringLiteral("mainWindow"));
    // The program's own icon when the application has one, else the disc of the default category.
    const QIcon programIcon = QApplication::windowIcon();
    setWindowIcon(QIcon::fromTheme(QStringLiteral("lumidex"), programIcon.isNull()
                                                                 ? iconOf(builtInCategoryIcon(BuiltInIcon::Software))
                                                                 : programIcon));
    updateCaption({});
    ensureDataFolders();
    m_options = loadScanOptions(CSettingsStore());

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    createCentralArea();
    createDiscCommands();

    m_statusTimer.setSingleShot(true);
    m_statusTimer.setInterval(kStatusRestoreMs);
    connect(&m_statusTimer, &QTimer::timeout, this, [this] { setStatusText(m_savedStatus); });

    setStatusText(tr("\t- CD Drive is not selected -"));
    setDriveIndicator(false);
    m_scanCommands->buildDriveList();
    // A working container left behind by an earlier run is replaced by a new one.
    const QString error = m_document.resetToNew();
    rebuildPages();
    showCategoryPage(0);
    loadRecentFiles();
    buildRecentMenu();
    resize(960, 640);
    if (!error.isEmpty())
        QTimer::singleShot(0, this, [this, error] {
            m_prompts->tell(this, QMessageBox::Warning, tr("The working container cannot be created:\n%1").arg(error));
        });
}

MainWindow::~MainWindow()
{
    // A scan still running uses the drives and the catalog: it ends before they go.
    delete m_scanCommands;
    m_scanCommands = nullptr;
    if (m_loader) {
        // Its queued reports die with this window; the thread itself must end first.
        m_loader->wait();
        delete m_loader;
    }
    clearPages();
}

// ----- construction -------------------------------------------------------------------------

QAction* MainWindow::addCommand(const QString& name, const QString& text, const QIcon& icon, bool enabled)
{
    auto* action = new QAction(icon, text, this);
    action->setObjectName(name);
    action->setEnabled(enabled);
    m_actions.insert(name, action);
    return action;
}

void MainWindow::createActions()
{
    QAction* a = addCommand(QStringLiteral("actionNew"), tr("New Catalog"),
                            commandIcon("document-new", QStyle::SP_FileIcon), true);
    a->setShortcut(QKeySequence::New);
    connect(a, &QAction::triggered, this, [this] { newCatalog(); });

    a = addCommand(QStringLiteral("actionOpen"), tr("Open Catalog"),
                   commandIcon("document-open", QStyle::SP_DialogOpenButton), true);
    a->setShortcut(QKeySequence::Open);
    connect(a, &QAction::triggered, this, [this] { openCatalog(); });

    a = addCommand(QStringLiteral("actionSave"), tr("Save"), commandIcon("document-save", QStyle::SP_DialogSaveButton),
                   true);
    a->setShortcut(QKeySequence::Save);
    connect(a, &QAction::triggered, this, [this] { saveCatalog(); });

    a = addCommand(QStringLiteral("actionSaveAs"), tr("Save As..."),
                   commandIcon("document-save-as", QStyle::SP_DriveFDIcon), true);
    a->setShortcut(QKeySequence::SaveAs);
    connect(a, &QAction::triggered, this, [this] { saveCatalogAs(); });

    a = addCommand(QStringLiteral("actionReportHtml"), tr(" HTML"),
                   commandIcon("text-html", QStyle::SP_FileDialogDetailedView), false);
    a->setToolTip(tr("Report ..."));

    a = addCommand(QStringLiteral("actionExit"), tr("Exit"), commandIcon("application-exit", QStyle::SP_DialogCloseButton),
                   true);
    a->setShortcut(QKeySequence::Quit);
    connect(a, &QAction::triggered, this, &QWidget::close);

    a = addCommand(QStringLiteral("actionOptions"), tr(" Setup"),
                   commandIcon("preferences-system", QStyle::SP_FileDialogInfoView), true);
    a->setToolTip(tr("Options"));
    connect(a, &QAction::triggered, this, &MainWindow::editOptions);

    addCommand(QStringLiteral("actionCompare"), tr(" Compare ..."),
               commandIcon("edit-copy", QStyle::SP_FileDialogContentsView), false);

    a = addCommand(QStringLiteral("actionGradient"), tr("Gradient menu"), QIcon(), true);
    a->setCheckable(true);
    a->setChecked(true);
    connect(a, &QAction::toggled, this, [this](bool on) { m_bar->setGradient(on); });

    addCommand(QStringLiteral("actionEnglish"), tr("English"), QIcon(), false);
    addCommand(QStringLiteral("actionRussian"), tr("Russian"), QIcon(), false);
    addCommand(QStringLiteral("actionGerman"), tr("German"), QIcon(), false);

    a = addCommand(QStringLiteral("actionHelpTopics"), tr("Help Topics"),
                   commandIcon("help-contents", QStyle::SP_DialogHelpButton), false);
    a->setShortcut(QKeySequence::HelpContents);

    a = addCommand(QStringLiteral("actionAbout"), tr(" Info ..."),
                   commandIcon("help-about", QStyle::SP_MessageBoxInformation), true);
    connect(a, &QAction::triggered, this, [this] {
        QMessageBox::about(this, tr(" Info ..."),
                           tr("<h3>Lumidex v1.122</h3><p>A catalog of discs and media.</p>"
                              "<p>Free software under the GNU General Public License, version 3 or later.</p>"));
    });

    a = addCommand(QStringLiteral("actionSelectDrive"), tr("Select CDRom"),
                   commandIcon("drive-optical", QStyle::SP_DriveCDIcon), true);
    connect(a, &QAction::triggered, this, [this] {
        if (!isBusy())
            m_scanCommands->selectDrive();
    });
    a = addCommand(QStringLiteral("actionScanCd"), tr("Scan CD"), commandIcon("media-optical", QStyle::SP_DriveDVDIcon),
                   false);
    connect(a, &QAction::triggered, this, [this] {
        if (isBusy())
            return;
        // The popup of numbered names opens below the toolbar button.
        QAction* scan = m_actions.value(QStringLiteral("actionScanCd"));
        QPoint at = QCursor::pos();
        for (QToolBar* bar : findChildren<QToolBar*>())
            if (QWidget* button = bar->widgetForAction(scan))
                at = button->mapToGlobal(button->rect().bottomLeft());
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_scanCommands->scanCd(at);
        QApplication::restoreOverrideCursor();
    });
    a = addCommand(QStringLiteral("actionAdditionalScan"), tr("Additional scan option"),
                   commandIcon("document-properties", QStyle::SP_FileDialogListView), true);
    a->setCheckable(true);
    connect(a, &QAction::toggled, this, [this](bool on) { m_scanCommands->setNumbering(on); });
    a = addCommand(QStringLiteral("actionSelectPath"), tr("Select path"),
                   commandIcon("folder-open", QStyle::SP_DirOpenIcon), false);
    connect(a, &QAction::triggered, this, [this] {
        if (!isBusy())
            m_scanCommands->selectPath();
    });
    addCommand(QStringLiteral("actionDebtors"), tr("Debtors"), commandIcon("contact-new", QStyle::SP_DirHomeIcon),
               false);
    a = addCommand(QStringLiteral("actionSearch"), tr("Search"), commandIcon("edit-find", QStyle::SP_FileDialogContentsView),
                   false);
    a->setShortcut(QKeySequence::Find);
    a = addCommand(QStringLiteral("actionAddCategory"), tr("Add category"),
                   commandIcon("folder-new", QStyle::SP_FileDialogNewFolder), true);
    connect(a, &QAction::triggered, this, &MainWindow::insertCategory);
}

void MainWindow::createMenus()
{
    m_fileMenu = menuBar()->addMenu(tr("&File"));
    m_fileMenu->setObjectName(QStringLiteral("fileMenu"));
    m_fileMenu->addAction(m_actions.value(QStringLiteral("actionNew")));
    m_fileMenu->addAction(m_actions.value(QStringLiteral("actionOpen")));
    m_fileMenu->addAction(m_actions.value(QStringLiteral("actionSave")));
    m_fileMenu->addAction(m_actions.value(QStringLiteral("actionSaveAs")));
    m_fileMenu->addSeparator();
    QMenu* report = m_fileMenu->addMenu(commandIcon("text-html", QStyle::SP_FileDialogDetailedView), tr("Report ..."));
    report->addAction(m_actions.value(QStringLiteral("actionReportHtml")));
    report->setEnabled(false);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_actions.value(QStringLiteral("actionExit")));

    QMenu* catalog = menuBar()->addMenu(tr("&Catalog"));
    catalog->setObjectName(QStringLiteral("catalogMenu"));
    for (const char* name : {"actionSelectDrive", "actionScanCd", "actionAdditionalScan", "actionSelectPath"})
        catalog->addAction(m_actions.value(QLatin1String(name)));
    catalog->addSeparator();
    catalog->addAction(m_actions.value(QStringLiteral("actionAddCategory")));
    catalog->addSeparator();
    catalog->addAction(m_actions.value(QStringLiteral("actionSearch")));
    catalog->addAction(m_actions.value(QStringLiteral("actionDebtors")));

    QMenu* options = menuBar()->addMenu(tr("&Options"));
    options->setObjectName(QStringLiteral("optionsMenu"));
    options->addAction(m_actions.value(QStringLiteral("actionOptions")));
    options->addAction(m_actions.value(QStringLiteral("actionCompare")));
    options->addSeparator();
    options->addAction(m_actions.value(QStringLiteral("actionGradient")));

    QMenu* language = menuBar()->addMenu(tr("&Language"));
    language->setObjectName(QStringLiteral("languageMenu"));
    for (const char* name : {"actionEnglish", "actionRussian", "actionGerman"})
        language->addAction(m_actions.value(QLatin1String(name)));

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    help->addAction(m_actions.value(QStringLiteral("actionHelpTopics")));
    help->addAction(m_actions.value(QStringLiteral("actionAbout")));
}

void MainWindow::createToolBar()
{
    QToolBar* bar = addToolBar(tr("Commands"));
    bar->setObjectName(QStringLiteral("mainToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(24, 24));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const QList<QList<const char*>> groups = {
        {"actionNew", "actionOpen", "actionSave", "actionSaveAs"},
        {"actionSelectDrive", "actionScanCd", "actionAdditionalScan", "actionSelectPath"},
        {"actionAddCategory", "actionSearch", "actionDebtors"},
        {"actionReportHtml", "actionCompare", "actionOptions"},
        {"actionHelpTopics", "actionAbout", "actionExit"},
    };
    for (const QList<const char*>& group : groups) {
        if (!bar->actions().isEmpty())
            bar->addSeparator();
        for (const char* name : group)
            bar->addAction(m_actions.value(QLatin1String(name)));
    }
}

void MainWindow::createStatusBar()
{
    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName(QStringLiteral("statusText"));
    m_statusLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(m_statusLabel, 1);

    // The selected CD drive's state: ready or not.
    m_driveIndicator = new QLabel(this);
    m_driveIndicator->setObjectName(QStringLiteral("driveIndicator"));
    m_driveIndicator->setFixedSize(25, 18);
    m_driveIndicator->setAlignment(Qt::AlignCenter);
    statusBar()->addPermanentWidget(m_driveIndicator);
    statusBar()->setSizeGripEnabled(true);
}

void MainWindow::createCentralArea()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralArea"));
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(8);

    m_bar = new CategoryBar(central);
    layout->addWidget(m_bar);
    connect(m_bar, &CategoryBar::categoryChosen, this, &MainWindow::showCategoryPage);
    connect(m_bar, &CategoryBar::insertRequested, this, &MainWindow::insertCategory);
    connect(m_bar, &CategoryBar::deleteRequested, this, &MainWindow::deleteCategory);
    connect(m_bar, &CategoryBar::renameRequested, this, &MainWindow::renameCategory);
    connect(m_bar, &CategoryBar::changeIconRequested, this, &MainWindow::changeCategoryIcon);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    auto* header = new QHBoxLayout;
    m_title = new QLabel(central);
    m_title->setObjectName(QStringLiteral("categoryTitle"));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    m_title->setFont(titleFont);
    header->addWidget(m_title, 1);

    m_entryLabel = new QLabel(tr("Entries in category :"), central);
    m_entryLabel->setObjectName(QStringLiteral("entryCountLabel"));
    m_entryCount = new QLabel(central);
    m_entryCount->setObjectName(QStringLiteral("entryCount"));
    m_entryLabel->hide();
    m_entryCount->hide();
    header->addWidget(m_entryLabel);
    header->addWidget(m_entryCount);
    right->addLayout(header);

    m_pageArea = new QStackedWidget(central);
    m_pageArea->setObjectName(QStringLiteral("pageArea"));
    right->addWidget(m_pageArea, 1);
    layout->addLayout(right, 1);

    setCentralWidget(central);
}

void MainWindow::createDiscCommands()
{
    WindowContext context;
    context.window = this;
    context.document = &m_document;
    context.prompts = m_prompts.get();
    context.legacy = [this] { return legacyCodePage(); };
    context.scanOptions = [this] { return m_options; };
    context.currentCategory = [this] { return m_current; };
    context.filesPage = [this](int category) { return filesPage(category); };
    context.runContainerChange = [this](const CatalogEdit& edit) { return runContainerChange(edit); };

    m_discCommands = new DiscCommands(context, this);
    m_scanCommands = new ScanCommands(context, *m_driveAccess, this);
    connect(m_discCommands, &DiscCommands::updateRequested, this, [this](int category, int disc) {
        if (!isBusy())
            m_scanCommands->updateDisc(category, disc);
    });
    connect(m_scanCommands, &ScanCommands::statusTextChanged, this, &MainWindow::setStatusText);
    connect(m_scanCommands, &ScanCommands::driveStateChanged, this, &MainWindow::setDriveIndicator);
    connect(m_scanCommands, &ScanCommands::selectedDriveChanged, this, &MainWindow::updateScanCommands);
    connect(m_scanCommands, &ScanCommands::scanStarted, this, [this] { setCommandsEnabled(false); });
    connect(m_scanCommands, &ScanCommands::scanFinished, this, &MainWindow::scanEnded);
}

bool MainWindow::isBusy() const
{
    return m_loader != nullptr || (m_scanCommands && m_scanCommands->isScanning());
}

FilesCategoryPage* MainWindow::filesPage(int category) const
{
    if (category < 0 || size_t(category) >= m_document.catalog().filesCategories.size())
        return nullptr;
    return qobject_cast<FilesCategoryPage*>(m_pageArea->widget(category));
}

void MainWindow::updateScanCommands()
{
    const bool files = filesPage(m_current) != nullptr;
    m_actions.value(QStringLiteral("actionScanCd"))
        ->setEnabled(files && isDriveSelected(m_scanCommands->selectedDrive()));
    m_actions.value(QStringLiteral("actionSelectPath"))->setEnabled(files);
}

void MainWindow::setDriveIndicator(bool ready)
{
    const QIcon drive = style()->standardIcon(QStyle::SP_DriveCDIcon);
    m_driveIndicator->setPixmap(drive.pixmap(16, 16, ready ? QIcon::Normal : QIcon::Disabled));
    m_driveIndicator->setToolTip(ready ? tr("Drive ready") : tr("Drive not ready"));
    m_driveIndicator->setProperty("ready", ready);
}

void MainWindow::scanEnded()
{
    setCommandsEnabled(true);
    // Asked once: a close that is then cancelled ("Save file ?") does not come back later.
    if (std::exchange(m_closeAfterScan, false))
        QTimer::singleShot(0, this, &QWidget::close);
}

// ----- status and caption ---------------------------------------------------------------------

void MainWindow::setStatusText(const QString& text)
{
    m_status = text;
    // As in a status bar part: text after one tab is centred, after two right-aligned.
    qsizetype tabs = 0;
    while (tabs < text.size() && text.at(tabs) == QLatin1Char('\t'))
        ++tabs;
    const Qt::Alignment horizontal = tabs == 0 ? Qt::AlignLeft : tabs == 1 ? Qt::AlignHCenter : Qt::AlignRight;
    m_statusLabel->setAlignment(horizontal | Qt::AlignVCenter);
    m_statusLabel->setText(text.mid(tabs));
}

void MainWindow::takeStatusText()
{
    // A restore still pending belongs to the previous operation: keep the text it would restore.
    if (!m_statusTimer.isActive())
        m_savedStatus = m_status;
    m_statusTimer.stop();
}

void MainWindow::restoreStatusLater()
{
    m_statusTimer.start();
}

void MainWindow::updateCaption(const QString& path)
{
    const QString caption = tr("Lumidex v1.122");
    setWindowTitle(path.isEmpty() ? caption
                                  : caption + QStringLiteral(" [") + QDir::toNativeSeparators(path) + QLatin1Char(']'));
}

LegacyCodePage MainWindow::legacyCodePage() const
{
    return m_language == 2 ? LegacyCodePage::Windows1251 : LegacyCodePage::Windows1252;
}

QString MainWindow::decode(const std::string& bytes) const
{
    return decodeCatalogText(bytes, legacyCodePage());
}

QString MainWindow::pageTitle(const QString& categoryName)
{
    if (categoryName.size() > 23)
        return categoryName.left(21) + QStringLiteral("...");
    return categoryName;
}

// ----- pages ----------------------------------------------------------------------------------

void MainWindow::clearPages()
{
    while (m_pageArea && m_pageArea->count() > 0) {
        QWidget* page = m_pageArea->widget(0);
        disconnect(page, nullptr, this, nullptr);
        m_pageArea->removeWidget(page);
        delete page;
    }
}

void MainWindow::rebuildPages()
{
    clearPages();
    Catalog& catalog = m_document.catalog();
    QList<CategoryBar::Entry> entries;
    for (int i = 0; i < int(catalog.filesCategories.size()); ++i) {
        FilesCategory& category = catalog.filesCategories[size_t(i)];
        auto* page = new FilesCategoryPage(category, m_pageArea);
        page->setLegacyCodePage(legacyCodePage());
        connect(page, &FilesCategoryPage::tabMenuRequested, this, [this, i](int disc, const QPoint& at) {
            if (!isBusy())
                m_discCommands->showTabMenu(i, disc, at);
        });
        connect(page, &FilesCategoryPage::itemSelected, this,
                [this, i](int disc, int32_t node) { m_discCommands->showItemMp3(i, disc, node); });
        connect(page, &FilesCategoryPage::itemCommentRequested, this, [this, i](int disc, int32_t node) {
            if (!isBusy())
                m_discCommands->editItemComment(i, disc, node);
        });
        connect(page, &FilesCategoryPage::discPageCreated, this,
                [this, i](int disc, DiscPage* discPage) { m_discCommands->preparePage(i, disc, discPage); });
        connect(page, &FilesCategoryPage::renameRequested, this, [this, i](int disc, int32_t node, const QString& text) {
            m_discCommands->renameItem(i, disc, node, text);
        });
        connect(page, &FilesCategoryPage::detailsRequested, this, [this, i](int disc, int32_t node) {
            if (!isBusy())
                m_discCommands->showDetails(i, disc, node);
        });
        m_pageArea->addWidget(page);
        entries.append({decode(category.name), catalog.categoryIcon(i), false});
    }
    if (catalog.media) {
        const int index = int(catalog.filesCategories.size());
        auto* page = new MediaCategoryPage(*catalog.media, [this](const std::string& s) { return decode(s); }, m_pageArea);
        page->setTabIcons(iconOf(catalog.categoryIcon(index)));
        connect(page, &QTabWidget::currentChanged, this, [this] { refreshEntryCount(); });
        m_pageArea->addWidget(page);
        entries.append({decode(catalog.media->name), catalog.categoryIcon(index), true});
    }
    m_bar->setEntries(entries);
    m_current = -1;
}

void MainWindow::refreshBarEntry(int index)
{
    const Catalog& catalog = m_document.catalog();
    if (index < 0 || index >= catalog.barCount())
        return;
    const bool media = catalog.isMediaIndex(index);
    m_bar->setEntry(index, {decode(catalog.categoryName(index)), catalog.categoryIcon(index), media});
    if (media)
        if (auto* page = dynamic_cast<MediaCategoryPage*>(m_pageArea->widget(index)))
            page->setTabIcons(iconOf(catalog.categoryIcon(index)));
}

void MainWindow::showCategoryPage(int index)
{
    if (index < 0 || index >= m_pageArea->count())
        return;
    m_title->setText(pageTitle(m_bar->entryName(index)));
    m_pageArea->setCurrentIndex(index);
    m_bar->setCurrentEntry(index);
    m_current = index;
    updateScanCommands();
    refreshEntryCount();
    if (m_document.catalog().isMediaIndex(index))
        m_pageArea->currentWidget()->setFocus();
}

void MainWindow::refreshEntryCount()
{
    const Catalog& catalog = m_document.catalog();
    auto* media = m_current >= 0 && catalog.isMediaIndex(m_current)
                      ? dynamic_cast<MediaCategoryPage*>(m_pageArea->widget(m_current))
                      : nullptr;
    const int tab = media ? media->currentIndex() : -1;
    if (tab < 0 || tab >= int(catalog.media->tabs.size())) {
        m_entryLabel->hide();
        m_entryCount->hide();
        m_entryCount->clear();
        return;
    }
    m_entryCount->setText(QString::number(catalog.media->tabs[size_t(tab)].rows.size()));
    m_entryLabel->show();
    m_entryCount->show();
}

// ----- catalog file commands ----------------------------------------------------------------

QString MainWindow::askSavePath()
{
    QString path = m_prompts->saveCatalogPath(this, dataFolder());
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".sav");
    return path;
}

bool MainWindow::saveTo(const QString& path)
{
    takeStatusText();
    setStatusText(tr("... Save Catalog ..."));
    updateCaption(QFileInfo(path).absoluteFilePath());

    ProgressDialog progress(this);
    progress.setRange(catalogWriteSteps(m_document.catalog()));
    progress.show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The stream is written to a temporary file renamed over the target: a failure leaves the
    // previous file as it was.
    const QString error = m_document.save(path, [&progress] { progress.step(); });
    QApplication::restoreOverrideCursor();
    progress.close();

    if (!error.isEmpty()) {
        m_statusTimer.stop();
        setStatusText(m_savedStatus);
        updateCaption(m_document.path());
        m_prompts->tell(this, QMessageBox::Critical, tr("The catalog cannot be saved.\n%1").arg(error));
        return false;
    }
    addRecentFile(m_document.path());
    setStatusText(tr("Catalog saved  ."));
    restoreStatusLater();
    return true;
}

bool MainWindow::saveCatalog()
{
    if (isBusy())
        return false;
    if (m_document.hasFile())
        return saveTo(m_document.path());
    const QString path = askSavePath();
    return !path.isEmpty() && saveTo(path);
}

bool MainWindow::saveCatalogAs()
{
    if (isBusy())
        return false;
    const QString path = askSavePath();
    return !path.isEmpty() && saveTo(path);
}

bool MainWindow::newCatalog()
{
    if (isBusy())
        return false;
    if (m_document.hasFile()) {
        if (!saveTo(m_document.path()))
            return false;
    } else {
        switch (m_prompts->ask(this, QMessageBox::Question, tr("Save file ?"),
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
        case QMessageBox::Yes:
            if (!saveCatalogAs())
                return false;
            break;
        case QMessageBox::No:
            break;
        default:
            return false;
        }
    }
    resetToNewCatalog();
    return true;
}

void MainWindow::resetToNewCatalog()
{
    loadRecentFiles();
    buildRecentMenu();
    updateCaption({});
    setStatusText(tr("\t- CD Drive is not selected -"));
    m_scanCommands->resetSelection();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    clearPages();
    const QString error = m_document.resetToNew();
    rebuildPages();
    showCategoryPage(0);
    QApplication::restoreOverrideCursor();
    if (!error.isEmpty())
        m_prompts->tell(this, QMessageBox::Warning, tr("The working container cannot be created:\n%1").arg(error));
}

void MainWindow::openCatalog(const QString& givenPath)
{
    if (isBusy())
        return;
    QString path = givenPath;
    if (path.isEmpty()) {
        path = m_prompts->openCatalogPath(this, dataFolder());
        if (path.isEmpty())
            return;
    }
    path = QFileInfo(path).absoluteFilePath();
    if (m_document.hasFile() && !saveTo(m_document.path()))
        return;

    takeStatusText();
    updateCaption(path);
    setCommandsEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);

    m_loadProgress = new ProgressDialog(this);
    m_loadProgress->setText(tr("Loading . Please wait..."));
    m_loadProgress->setRange(0);
    m_loadProgress->show();

    auto job = std::make_shared<LoadJob>();
    job->path = path;
    job->workingContainer = m_document.workingContainerPath();
    const LegacyCodePage legacy = legacyCodePage();
    // The worker reads into a document of its own; this window's catalog stays untouched until
    // finishOpen swaps it in on this thread. Progress reaches the window as queued calls.
    m_loader = QThread::create([this, job, legacy] {
        QElapsedTimer clock;
        clock.start();
        qint64 last = -kProgressIntervalMs;
        const auto report = [&](const QString& text) {
            if (clock.elapsed() - last < kProgressIntervalMs)
                return;
            last = clock.elapsed();
            QMetaObject::invokeMethod(this, [this, text] { loadProgress(text); }, Qt::QueuedConnection);
        };
        CatalogReadProgress progress;
        progress.discRead = [&](const FilesCategory& category, const Disc& disc) {
            report(tr("Load catalog - %1 , CD - %2")
                       .arg(decodeCatalogText(category.name, legacy), decodeCatalogText(disc.name, legacy)));
        };
        progress.mediaTabRead = [&](const MediaTab& tab) {
            report(tr("Load catalog - %1").arg(decodeCatalogText(tab.caption, legacy)));
        };
        progress.commentsRead = [&] { report(tr("Load comments ...")); };

        CatalogDocument document(job->workingContainer);
        job->error = document.open(job->path, progress);
        if (job->error.isEmpty())
            job->document.emplace(std::move(document));
    });
    m_loader->setObjectName(QStringLiteral("catalogLoader"));
    connect(m_loader, &QThread::finished, this, [this, job] { finishOpen(job); });
    m_loader->start();
}

void MainWindow::loadProgress(const QString& text)
{
    setStatusText(text);
    if (m_loadProgress)
        m_loadProgress->setLine(text);
}

void MainWindow::finishOpen(const std::shared_ptr<LoadJob>& job)
{
    m_loader->deleteLater();
    m_loader = nullptr;
    delete m_loadProgress;
    QApplication::restoreOverrideCursor();
    setCommandsEnabled(true);

    if (!job->document) {
        qWarning("Cannot read %s: %s", qUtf8Printable(job->path), qUtf8Printable(job->error));
        m_prompts->tell(this, QMessageBox::Critical, tr("I/O Error !"));
        // The file that failed is never written back: the window goes on with a new catalog.
        resetToNewCatalog();
        emit catalogOpened(false);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    clearPages();
    m_document = std::move(*job->document);
    job->document.reset();
    rebuildPages();
    showCategoryPage(0);
    QApplication::restoreOverrideCursor();
    updateCaption(m_document.path());
    setStatusText(tr("Loading complete ."));
    addRecentFile(m_document.path());
    restoreStatusLater();
    emit catalogOpened(true);
}

void MainWindow::setCommandsEnabled(bool enabled)
{
    menuBar()->setEnabled(enabled);
    for (QToolBar* bar : findChildren<QToolBar*>())
        bar->setEnabled(enabled);
    centralWidget()->setEnabled(enabled);
}

void MainWindow::startUp(const QString& file)
{
    if (!file.isEmpty()) {
        QTimer::singleShot(0, this, [this, file] {
            if (QFileInfo::exists(file))
                openCatalog(file);
            else
                m_prompts->tell(this, QMessageBox::Warning, tr("File not found !"));
        });
        return;
    }
    if (m_options.isOn(ScanOptions::OpenLast))
        QTimer::singleShot(kOpenAtStartMs, this, &MainWindow::openAtStart);
}

void MainWindow::openAtStart()
{
    CSettingsStore store;
    const QString path = pathFromBytes(store.GetString(settingsKeys::Main, settingsKeys::OpenAtStart));
    if (!path.isEmpty() && QFileInfo::exists(path))
        openCatalog(path);
    else
        store.WriteString(settingsKeys::Main, settingsKeys::OpenAtStart, std::nullopt);
}

void MainWindow::openRecentFile(int index)
{
    if (isBusy() || index < 0 || index >= m_recent.size())
        return;
    const QString path = m_recent.at(index);
    if (QFileInfo::exists(path)) {
        openCatalog(path);
        return;
    }
    removeRecentFile(index);
    m_prompts->tell(this, QMessageBox::Warning, tr("File not found !"));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    if (isBusy()) {
        // A scan runs to its end (or its Cancel) first; the window closes afterwards.
        m_closeAfterScan = m_scanCommands->isScanning();
        event->ignore();
        return;
    }
    CSettingsStore store;
    const auto saveFailedLeave = [this] {
        return m_prompts->ask(this, QMessageBox::Warning, tr("The catalog was not saved. Exit anyway ?"),
                              QMessageBox::Yes | QMessageBox::No)
            == QMessageBox::Yes;
    };
    if (m_document.hasFile()) {
        store.WriteString(settingsKeys::Main, settingsKeys::OpenAtStart, pathBytes(m_document.path()));
        if (!saveTo(m_document.path()) && !saveFailedLeave()) {
            event->ignore();
            return;
        }
        // The catalog's container lies beside its file; the working container is made anew at
        // the next start.
    } else {
        switch (m_prompts->ask(this, QMessageBox::Question, tr("Save file ?"),
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
        case QMessageBox::Yes: {
            // Cancelling the save dialog still ends the program.
            const QString path = askSavePath();
            if (!path.isEmpty() && !saveTo(path) && !saveFailedLeave()) {
                event->ignore();
                return;
            }
            store.WriteString(settingsKeys::Main, settingsKeys::OpenAtStart,
                              m_document.hasFile() ? pathBytes(m_document.path()) : std::string());
            m_document.discardWorkingContainer();
            break;
        }
        case QMessageBox::No:
            m_document.discardWorkingContainer();
            break;
        default:
            event->ignore();
            return;
        }
    }
    m_closing = true;
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

// ----- recent files ---------------------------------------------------------------------------

void MainWindow::loadRecentFiles()
{
    const CSettingsStore store;
    m_recent.clear();
    const int count = store.GetInt(settingsKeys::Main, settingsKeys::RecentFiles, 0);
    for (int i = 1; i <= count && i <= kMaxRecentFiles; ++i) {
        const std::string key = recentKey(i).toStdString();
        const QString path = pathFromBytes(store.GetString(settingsKeys::Main, key));
        if (!path.isEmpty())
            m_recent.append(path);
    }
}

void MainWindow::storeRecentFiles()
{
    CSettingsStore store;
    const int before = store.GetInt(settingsKeys::Main, settingsKeys::RecentFiles, 0);
    store.WriteInt(settingsKeys::Main, settingsKeys::RecentFiles, int32_t(m_recent.size()));
    for (int i = 0; i < m_recent.size(); ++i)
        store.WriteString(settingsKeys::Main, recentKey(i + 1).toStdString(), pathBytes(m_recent.at(i)));
    // Keys past the new end would only be noise in the file.
    for (int i = int(m_recent.size()) + 1; i <= std::min(before, kMaxRecentFiles); ++i)
        store.WriteString(settingsKeys::Main, recentKey(i).toStdString(), std::nullopt);
}

void MainWindow::addRecentFile(const QString& path)
{
    // File names are case-sensitive here: only the very same path is the same entry.
    if (m_recent.contains(path))
        return;
    while (m_recent.size() >= kMaxRecentFiles)
        m_recent.removeFirst();
    m_recent.append(path);
    storeRecentFiles();
    buildRecentMenu();
}

void MainWindow::removeRecentFile(int index)
{
    if (index < 0 || index >= m_recent.size())
        return;
    m_recent.removeAt(index);
    storeRecentFiles();
    buildRecentMenu();
}

void MainWindow::buildRecentMenu()
{
    if (m_recentMenu) {
        m_fileMenu->removeAction(m_recentMenu->menuAction());
        m_fileMenu->removeAction(m_recentSeparator);
        delete m_recentMenu;
        delete m_recentSeparator;
        m_recentMenu = nullptr;
        m_recentSeparator = nullptr;
    }
    if (m_recent.isEmpty())
        return;
    m_recentMenu = new QMenu(tr("Recent files"), m_fileMenu);
    m_recentMenu->setObjectName(QStringLiteral("recentFilesMenu"));
    for (int i = 0; i < m_recent.size(); ++i) {
        QString text = QDir::toNativeSeparators(m_recent.at(i));
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = m_recentMenu->addAction(text);
        entry->setObjectName(QStringLiteral("actionRecentFile%1").arg(i));
        connect(entry, &QAction::triggered, this, [this, i] { openRecentFile(i); });
    }
    QAction* exit = m_actions.value(QStringLiteral("actionExit"));
    m_fileMenu->insertMenu(exit, m_recentMenu);
    m_recentSeparator = m_fileMenu->insertSeparator(exit);
}

// ----- categories -----------------------------------------------------------------------------

bool MainWindow::runContainerChange(const CatalogEdit& edit)
{
    if (!edit.containerChange)
        return true;
    CatalogContainer container = m_document.container();
    if (edit.containerChange(container))
        return true;
    m_prompts->tell(this, QMessageBox::Warning,
                    tr("The catalog container cannot be updated.\n%1").arg(container.errorString()));
    return false;
}

void MainWindow::insertCategory()
{
    if (isBusy())
        return;
    Catalog& catalog = m_document.catalog();
    const std::optional<NewCategoryChoice> choice = m_prompts->newCategory(this, catalog.media.has_value());
    if (!choice || (choice->kind == CategoryKind::Media && catalog.media))
        return;
    QString name = choice->name;
    while (categoryNameExists(catalog, encodeCatalogText(name))) {
        const std::optional<QString> other =
            m_prompts->categoryName(this, tr("Name exists"), tr("Select another name"), name);
        if (!other)
            return;
        name = *other;
    }
    const int filesBefore = int(catalog.filesCategories.size());
    // The pages refer to the categories, which move in memory when one is added.
    clearPages();
    const CatalogEdit edit = lumidex::insertCategory(catalog, encodeCatalogText(name), choice->kind, choice->icon);
    if (edit.ok())
        runContainerChange(edit);
    rebuildPages();
    if (!edit.ok()) {
        m_prompts->tell(this, QMessageBox::Warning, edit.error);
        showCategoryPage(0);
        return;
    }
    showCategoryPage(choice->kind == CategoryKind::Files ? filesBefore : catalog.barCount() - 1);
}

void MainWindow::deleteCategory(int index)
{
    Catalog& catalog = m_document.catalog();
    if (isBusy() || index < 0 || index >= catalog.barCount() || catalog.barCount() <= kMinimumCategories)
        return;
    const QString question = tr("Are you sure to delete category '") + decode(catalog.categoryName(index))
        + QStringLiteral("'\n") + tr("!!! Delete data from archive file may take few minutes.");
    if (m_prompts->ask(this, QMessageBox::Question, question, QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    clearPages();
    const CatalogEdit edit = lumidex::deleteCategory(catalog, index);
    if (edit.ok())
        runContainerChange(edit);
    rebuildPages();
    showCategoryPage(0);
    QApplication::restoreOverrideCursor();
    if (!edit.ok())
        m_prompts->tell(this, QMessageBox::Warning, edit.error);
}

void MainWindow::renameCategory(int index)
{
    Catalog& catalog = m_document.catalog();
    if (isBusy() || index < 0 || index >= catalog.barCount())
        return;
    std::optional<QString> name = m_prompts->categoryName(this, tr("Rename"), tr("Enter a new category name"),
                                                          decode(catalog.categoryName(index)));
    // The category's own name counts as taken: confirming it unchanged asks again.
    while (name && categoryNameExists(catalog, encodeCatalogText(*name)))
        name = m_prompts->categoryName(this, tr("Name exists"), tr("Select another name"), *name);
    if (!name)
        return;
    const CatalogEdit edit = lumidex::renameCategory(catalog, index, encodeCatalogText(*name));
    if (!edit.ok()) {
        m_prompts->tell(this, QMessageBox::Warning, edit.error);
        return;
    }
    refreshBarEntry(index);
    showCategoryPage(index);
}

void MainWindow::changeCategoryIcon(int index)
{
    Catalog& catalog = m_document.catalog();
    if (isBusy() || index < 0 || index >= catalog.barCount())
        return;
    const std::optional<QImage> icon = m_prompts->categoryIcon(this);
    if (!icon)
        return;
    const CatalogEdit edit = lumidex::setCategoryIcon(catalog, index, *icon);
    if (!edit.ok()) {
        m_prompts->tell(this, QMessageBox::Warning, edit.error);
        return;
    }
    refreshBarEntry(index);
}

void MainWindow::editOptions()
{
    if (isBusy())
        return;
    CSettingsStore store;
    const std::optional<ScanOptions> options = m_prompts->scanOptions(this, loadScanOptions(store));
    if (!options)
        return;
    m_options = *options;
    applyConfirmRules(m_options);
    if (!storeScanOptions(store, m_options))
        m_prompts->tell(this, QMessageBox::Warning, tr("The settings cannot be written to %1").arg(store.filePath()));
}

} // namespace lumidex
