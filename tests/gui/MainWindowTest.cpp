#include "gui/app/CategoryBar.h"
#include "gui/app/MainWindow.h"
#include "gui/catalog/FilesCategoryPage.h"

#include "catalog/CatalogDocument.h"
#include "catalog/CatalogFile.h"
#include "settings/AppPaths.h"
#include "settings/SettingsStore.h"
#include "support/CatalogFixtures.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "WindowTest.h"

using namespace lumidex;
using namespace lumidex::test;

namespace {

class MainWindowTest : public WindowTest {};

const QStringList kDefaultNames = {QStringLiteral("Software"), QStringLiteral("Music"),
                                   QStringLiteral("Films,Books ...")};

TEST_F(MainWindowTest, StartsWithTheDefaultCatalog)
{
    MainWindow& window = makeWindow();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lumidex v1.122"));
    EXPECT_EQ(barNames(window), kDefaultNames);
    EXPECT_EQ(pages(window)->count(), 3);
    EXPECT_EQ(window.currentCategory(), 0);
    EXPECT_EQ(title(window), QStringLiteral("Software"));
    EXPECT_EQ(window.statusText(), QStringLiteral("\t- CD Drive is not selected -"));
    EXPECT_FALSE(window.document().hasFile());
    EXPECT_TRUE(QFileInfo::exists(workingContainerPath()));
    // No recent files yet: no submenu for them.
    EXPECT_EQ(window.findChild<QMenu*>(QStringLiteral("recentFilesMenu")), nullptr);
    // Scan CD waits for a drive; commands of later work are there, but cannot be used yet.
    for (const char* name : {"actionScanCd", "actionSearch", "actionDebtors", "actionCompare"}) {
        auto* action = window.findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(action, nullptr) << name;
        EXPECT_FALSE(action->isEnabled()) << name;
    }
    for (const char* name : {"actionNew", "actionOpen", "actionSave", "actionSaveAs", "actionExit", "actionOptions",
                             "actionSelectDrive", "actionSelectPath", "actionAdditionalScan"})
        EXPECT_TRUE(window.findChild<QAction*>(QLatin1String(name))->isEnabled()) << name;
}

TEST_F(MainWindowTest, OpensACatalogWrittenByCore)
{
    const QString path = writeCatalog(QStringLiteral("rich.sav"), test::makeRichCatalog());
    MainWindow& window = makeWindow();
    ASSERT_TRUE(open(window, path));

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lumidex v1.122 [%1]").arg(path));
    EXPECT_EQ(barNames(window), kDefaultNames);
    // The icons are the catalog's: red, green and blue.
    const QRgb colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(bar(window)->item(i)->icon().pixmap(32, 32).toImage().pixel(16, 16), colours[i]) << i;

    QStackedWidget* area = pages(window);
    ASSERT_EQ(area->count(), 3);
    auto* software = qobject_cast<FilesCategoryPage*>(area->widget(0));
    ASSERT_NE(software, nullptr);
    EXPECT_EQ(software->tabWidget()->count(), 2);
    EXPECT_EQ(software->tabWidget()->tabText(0), QStringLiteral("CD1"));
    auto* media = qobject_cast<QTabWidget*>(area->widget(2));
    ASSERT_NE(media, nullptr);
    EXPECT_EQ(media->count(), 2);
    EXPECT_EQ(media->tabText(1), QStringLiteral("Books"));

    EXPECT_TRUE(window.document().hasFile());
    EXPECT_EQ(window.document().containerPath(), home(QStringLiteral("rich_ext.zip")));
    EXPECT_FALSE(QFileInfo::exists(workingContainerPath()));
    EXPECT_EQ(window.recentFiles(), QStringList{path});
    EXPECT_EQ(window.statusText(), QStringLiteral("Loading complete ."));
    // The text from before the open comes back.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.statusText() == QStringLiteral("\t- CD Drive is not selected -"); },
                                3000));
}

TEST_F(MainWindowTest, TheCategoryBarChoosesThePageWithTheLeftButtonOnly)
{
    MainWindow& window = makeWindow();
    CategoryBar* categories = bar(window);
    categories->resize(categories->width(), 400);
    const auto centre = [&](int row) { return categories->visualItemRect(categories->item(row)).center(); };

    QTest::mouseClick(categories->viewport(), Qt::LeftButton, {}, centre(2));
    EXPECT_EQ(window.currentCategory(), 2);
    EXPECT_EQ(pages(window)->currentIndex(), 2);
    EXPECT_EQ(title(window), QStringLiteral("Films,Books ..."));

    QTest::mouseClick(categories->viewport(), Qt::LeftButton, {}, centre(1));
    EXPECT_EQ(pages(window)->currentIndex(), 1);
    EXPECT_EQ(qobject_cast<FilesCategoryPage*>(pages(window)->currentWidget()),
              qobject_cast<FilesCategoryPage*>(pages(window)->widget(1)));
    EXPECT_EQ(title(window), QStringLiteral("Music"));

    // Neither a right click nor the keys move the selection.
    QTest::mouseClick(categories->viewport(), Qt::RightButton, {}, centre(0));
    QTest::keyClick(categories, Qt::Key_Down);
    QTest::keyClick(categories, Qt::Key_Up);
    EXPECT_EQ(window.currentCategory(), 1);
    EXPECT_EQ(categories->currentRow(), 1);

    // The context menu: the type line only over an entry, no deleting with three categories.
    std::unique_ptr<QMenu> onFiles(categories->createContextMenu(0, nullptr));
    EXPECT_EQ(menuTexts(onFiles.get()),
              (QStringList{QStringLiteral("Typ : \"Software, music ...\""), QStringLiteral("-"),
                           QStringLiteral("Insert category"), QStringLiteral("Rename category"),
                           QStringLiteral("Change icon")}));
    std::unique_ptr<QMenu> onMedia(categories->createContextMenu(2, nullptr));
    EXPECT_EQ(onMedia->actions().first()->text(), QStringLiteral("Typ : \"Films, books ...\""));
    std::unique_ptr<QMenu> onNothing(categories->createContextMenu(-1, nullptr));
    EXPECT_EQ(onNothing->actions().first()->text(), QStringLiteral("Insert category"));
}

TEST_F(MainWindowTest, PageTitlesCutLongNames)
{
    EXPECT_EQ(MainWindow::pageTitle(QStringLiteral("abcdefghijklmnopqrstuvw")), QStringLiteral("abcdefghijklmnopqrstuvw"));
    EXPECT_EQ(MainWindow::pageTitle(QStringLiteral("abcdefghijklmnopqrstuvwx")),
              QStringLiteral("abcdefghijklmnopqrstu..."));
}

TEST_F(MainWindowTest, CategoryEditsKeepNamesUniqueAndTheMediaCategoryLast)
{
    MainWindow& window = makeWindow();

    // A name that differs from an existing one only in case is refused until another is given.
    answers->wizards.push_back(NewCategoryChoice{QStringLiteral("MUSIC"), CategoryKind::Files, test::makeIcon(0x123456)});
    answers->names.push_back(QStringLiteral("Games"));
    window.insertCategory();
    EXPECT_EQ(answers->wizardMediaFlags, std::vector<bool>{true});
    ASSERT_EQ(answers->nameDialogs.size(), 1u);
    EXPECT_EQ(answers->nameDialogs[0], std::make_pair(QStringLiteral("Name exists"), QStringLiteral("Select another name")));
    EXPECT_EQ(barNames(window), (QStringList{QStringLiteral("Software"), QStringLiteral("Music"), QStringLiteral("Games"),
                                             QStringLiteral("Films,Books ...")}));
    EXPECT_EQ(pages(window)->count(), 4);
    EXPECT_NE(qobject_cast<FilesCategoryPage*>(pages(window)->widget(2)), nullptr);
    EXPECT_EQ(window.currentCategory(), 2);
    EXPECT_EQ(title(window), QStringLiteral("Games"));
    // The working container knows the new category at once.
    const std::optional<IniFile> index = CatalogContainer(workingContainerPath()).readIndex();
    ASSERT_TRUE(index.has_value());
    EXPECT_EQ(index->value("Category2", "Disk_Count"), std::optional<std::string>("0"));

    // Renaming to the category's own name, in any case, asks again; cancelling changes nothing.
    answers->names = {QStringLiteral("games"), std::nullopt};
    answers->nameDialogs.clear();
    window.renameCategory(2);
    EXPECT_EQ(answers->nameDialogs.size(), 2u);
    EXPECT_EQ(answers->nameDialogs[0], std::make_pair(QStringLiteral("Rename"), QStringLiteral("Enter a new category name")));
    EXPECT_EQ(bar(window)->item(2)->text(), QStringLiteral("Games"));

    const QString longName = QStringLiteral("A very long category name"); // 25 characters
    answers->names = {longName};
    window.renameCategory(2);
    EXPECT_EQ(bar(window)->item(2)->text(), longName);
    EXPECT_EQ(title(window), QStringLiteral("A very long category ..."));

    // Four categories can lose one, after the question.
    std::unique_ptr<QMenu> menu(bar(window)->createContextMenu(2, nullptr));
    EXPECT_TRUE(menuTexts(menu.get()).contains(QStringLiteral("Delete category")));
    answers->buttons = {QMessageBox::Cancel, QMessageBox::Ok};
    window.deleteCategory(2);
    EXPECT_EQ(bar(window)->count(), 4);
    window.deleteCategory(2);
    ASSERT_EQ(answers->messages.size(), 2u);
    EXPECT_TRUE(answers->messages[1].text.startsWith(QStringLiteral("Are you sure to delete category '") + longName + "'\n"));
    EXPECT_EQ(barNames(window), kDefaultNames);
    EXPECT_EQ(pages(window)->count(), 3);
    EXPECT_EQ(window.currentCategory(), 0);

    // Three categories cannot lose one: neither offered nor done, and nothing is asked.
    menu.reset(bar(window)->createContextMenu(1, nullptr));
    EXPECT_FALSE(menuTexts(menu.get()).contains(QStringLiteral("Delete category")));
    window.deleteCategory(1);
    EXPECT_EQ(barNames(window), kDefaultNames);
    EXPECT_EQ(answers->messages.size(), 2u);
}

TEST_F(MainWindowTest, NewSavesABoundCatalogSilentlyAndAsksForANewOne)
{
    const QString path = writeCatalog(QStringLiteral("bound.sav"), test::makeRichCatalog());
    MainWindow& window = makeWindow();
    ASSERT_TRUE(open(window, path));
    answers->names = {QStringLiteral("Tunes")};
    window.renameCategory(1);

    EXPECT_TRUE(window.newCatalog());
    EXPECT_TRUE(answers->messages.empty());
    const CatalogLoadResult saved = loadCatalogFile(path);
    ASSERT_TRUE(saved.catalog.has_value()) << saved.error.toStdString();
    EXPECT_EQ(saved.catalog->filesCategories[1].name, "Tunes");
    EXPECT_EQ(barNames(window), kDefaultNames);
    EXPECT_FALSE(window.document().hasFile());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lumidex v1.122"));
    EXPECT_TRUE(QFileInfo::exists(workingContainerPath()));

    // A new catalog: Cancel, or Yes with the save dialog cancelled, leave it as it is.
    answers->names = {QStringLiteral("Games")};
    window.renameCategory(0);
    answers->buttons = {QMessageBox::Cancel, QMessageBox::Yes};
    EXPECT_FALSE(window.newCatalog());
    EXPECT_FALSE(window.newCatalog());
    EXPECT_EQ(messageTexts(), (std::vector<QString>{QStringLiteral("Save file ?"), QStringLiteral("Save file ?")}));
    EXPECT_EQ(bar(window)->item(0)->text(), QStringLiteral("Games"));

    // Yes with a file saves there, container beside it, then starts anew.
    answers->buttons = {QMessageBox::Yes};
    answers->savePaths = {home(QStringLiteral("games"))};
    EXPECT_TRUE(window.newCatalog());
    const CatalogLoadResult games = loadCatalogFile(home(QStringLiteral("games.sav")));
    ASSERT_TRUE(games.catalog.has_value());
    EXPECT_EQ(games.catalog->filesCategories[0].name, "Games");
    EXPECT_TRUE(QFileInfo::exists(home(QStringLiteral("games_ext.zip"))));
    EXPECT_EQ(bar(window)->item(0)->text(), QStringLiteral("Software"));

    // No discards it.
    window.renameCategory(0); // no name given: unchanged
    answers->buttons = {QMessageBox::No};
    EXPECT_TRUE(window.newCatalog());
    EXPECT_EQ(barNames(window), kDefaultNames);
}

TEST_F(MainWindowTest, RecentFilesKeepTheFiveNewestOldestFirst)
{
    MainWindow& window = makeWindow();
    QStringList saved;
    for (int i = 0; i < 6; ++i) {
        saved << home(QStringLiteral("c%1.sav").arg(i));
        answers->savePaths.push_back(saved.last());
        ASSERT_TRUE(window.saveCatalogAs());
    }
    const QStringList newest = saved.mid(1);
    EXPECT_EQ(window.recentFiles(), newest);
    // Saving one that is listed already changes nothing.
    answers->savePaths.push_back(saved[3]);
    ASSERT_TRUE(window.saveCatalogAs());
    EXPECT_EQ(window.recentFiles(), newest);

    {
        const CSettingsStore store;
        EXPECT_EQ(store.GetInt("Main", "RecentFiles", 0), 5);
        EXPECT_EQ(store.GetString("Main", "RecentFile1"), bytes(saved[1]));
        EXPECT_EQ(store.GetString("Main", "RecentFile5"), bytes(saved[5]));
    }
    auto* fileMenu = window.findChild<QMenu*>(QStringLiteral("fileMenu"));
    auto* recentMenu = window.findChild<QMenu*>(QStringLiteral("recentFilesMenu"));
    ASSERT_NE(recentMenu, nullptr);
    EXPECT_EQ(menuTexts(recentMenu), newest);
    // "Recent files", a separator, then "Exit".
    const QStringList fileTexts = menuTexts(fileMenu);
    EXPECT_EQ(fileTexts.mid(fileTexts.size() - 3),
              (QStringList{QStringLiteral("Recent files"), QStringLiteral("-"), QStringLiteral("Exit")}));

    // A file that has gone is reported and leaves the list, the menu and the settings.
    ASSERT_TRUE(QFile::remove(saved[2]));
    window.openRecentFile(1);
    ASSERT_EQ(answers->messages.size(), 1u);
    EXPECT_EQ(answers->messages[0].text, QStringLiteral("File not found !"));
    EXPECT_EQ(answers->messages[0].icon, QMessageBox::Warning);
    const QStringList remaining = {saved[1], saved[3], saved[4], saved[5]};
    EXPECT_EQ(window.recentFiles(), remaining);
    EXPECT_EQ(menuTexts(window.findChild<QMenu*>(QStringLiteral("recentFilesMenu"))), remaining);
    const CSettingsStore store;
    EXPECT_EQ(store.GetInt("Main", "RecentFiles", 0), 4);
    EXPECT_EQ(store.GetString("Main", "RecentFile2"), bytes(saved[3]));
    EXPECT_EQ(store.GetString("Main", "RecentFile5", "none"), "none");

    // Another window reads the same list.
    MainWindow again(1, std::make_unique<ScriptedPrompts>(answers));
    EXPECT_EQ(again.recentFiles(), remaining);
}

TEST_F(MainWindowTest, ABrokenCatalogGivesAnIoErrorAndANewCatalog)
{
    const QString good = writeCatalog(QStringLiteral("good.sav"), test::makeRichCatalog());
    const QString broken = home(QStringLiteral("broken.sav"));
    const QByteArray brokenBytes = test::catalogBytes(test::makeRichCatalog()).left(200);
    {
        QFile file(broken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(brokenBytes);
    }
    MainWindow& window = makeWindow();
    ASSERT_TRUE(open(window, good));
    const QByteArray goodBytes = fileBytes(good);

    EXPECT_FALSE(open(window, broken));
    ASSERT_EQ(answers->messages.size(), 1u);
    EXPECT_EQ(answers->messages[0].text, QStringLiteral("I/O Error !"));
    EXPECT_EQ(answers->messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(barNames(window), kDefaultNames);
    EXPECT_FALSE(window.document().hasFile());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lumidex v1.122"));
    EXPECT_EQ(window.recentFiles(), QStringList{good});
    // Neither file was written by the failure, and the broken one got no container.
    EXPECT_EQ(fileBytes(broken), brokenBytes);
    EXPECT_EQ(fileBytes(good), goodBytes);
    EXPECT_FALSE(QFileInfo::exists(home(QStringLiteral("broken_ext.zip"))));
    EXPECT_TRUE(QFileInfo::exists(workingContainerPath()));
    // The window works on as before.
    EXPECT_TRUE(window.findChild<QAction*>(QStringLiteral("actionNew"))->isEnabled());
    EXPECT_TRUE(window.centralWidget()->isEnabled());
}

TEST_F(MainWindowTest, ExitSavesABoundCatalogAndRemembersIt)
{
    const QString path = writeCatalog(QStringLiteral("last.sav"), test::makeRichCatalog());
    {
        MainWindow& window = makeWindow();
        ASSERT_TRUE(open(window, path));
        answers->names = {QStringLiteral("Tunes")};
        window.renameCategory(1);
        EXPECT_TRUE(window.close());
        EXPECT_TRUE(answers->messages.empty());
    }
    EXPECT_EQ(CSettingsStore().GetString("Main", "OpenAtStart"), bytes(path));
    EXPECT_EQ(loadCatalogFile(path).catalog->filesCategories[1].name, "Tunes");

    // With "open last saved catalog" on, the next start opens it.
    ScanOptions options;
    options[ScanOptions::OpenLast] = 1;
    CSettingsStore settings;
    ASSERT_TRUE(storeScanOptions(settings, options));
    MainWindow& next = makeWindow();
    QSignalSpy opened(&next, &MainWindow::catalogOpened);
    next.startUp();
    ASSERT_TRUE(opened.wait(20000));
    EXPECT_EQ(next.document().path(), path);
    EXPECT_EQ(bar(next)->item(1)->text(), QStringLiteral("Tunes"));

    // A remembered file that has gone is forgotten and nothing is opened.
    settings.WriteString("Main", "OpenAtStart", bytes(home(QStringLiteral("gone.sav"))));
    MainWindow& third = makeWindow();
    QSignalSpy none(&third, &MainWindow::catalogOpened);
    third.startUp();
    EXPECT_TRUE(QTest::qWaitFor([&] { return settings.GetString("Main", "OpenAtStart", "kept") == "kept"; }, 3000));
    EXPECT_TRUE(none.isEmpty());
    EXPECT_FALSE(third.document().hasFile());
}

TEST_F(MainWindowTest, ExitOnANewCatalogAsks)
{
    CSettingsStore settings;
    settings.WriteString("Main", "OpenAtStart", "/somewhere/else.sav");
    MainWindow& window = makeWindow();

    answers->buttons = {QMessageBox::Cancel};
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(QFileInfo::exists(workingContainerPath()));

    // No: the working container goes, the remembered catalog stays.
    answers->buttons = {QMessageBox::No};
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(QFileInfo::exists(workingContainerPath()));
    EXPECT_EQ(settings.GetString("Main", "OpenAtStart"), "/somewhere/else.sav");

    // Yes with the save dialog cancelled still ends, and remembers no catalog.
    MainWindow& second = makeWindow();
    answers->buttons = {QMessageBox::Yes};
    EXPECT_TRUE(second.close());
    EXPECT_EQ(settings.GetString("Main", "OpenAtStart", "missing"), "");
    EXPECT_FALSE(QFileInfo::exists(workingContainerPath()));
}

} // namespace
