// Scanning into the window and the commands on its discs, end to end: the catalog, the tabs and
// the container must stay in step.
#include "WindowTest.h"

#include "catalog/FileDetails.h"
#include "gui/catalog/DiscCommands.h"
#include "gui/catalog/DiscPage.h"
#include "gui/catalog/DiscTreeModel.h"
#include "gui/catalog/FilesCategoryPage.h"
#include "gui/catalog/InfoPanel.h"
#include "gui/covers/DiscCoverPage.h"
#include "gui/scan/ScanCommands.h"
#include "gui/scan/ScanJob.h"
#include "settings/SettingsStore.h"
#include "support/ScanFixtures.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include <zip.h>

using namespace lumidex;
using namespace lumidex::test;

namespace {

// Nodes of the fixture disc in pre-order: Music/, Music/plain.bin, Music/song.mp3, pack.zip, readme.txt.
constexpr int32_t kPlain = 1;
constexpr int32_t kSong = 2;
constexpr int32_t kPack = 3;
constexpr int32_t kReadme = 4;

class DiscCommandsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(m_files.isValid());
        disc = m_files.filePath(QStringLiteral("disc"));
        write("disc/readme.txt", "first line\r\nsecond");
        write("disc/Music/song.mp3", taggedMp3());
        write("disc/Music/plain.bin", "12345");
        writeZip(m_files.filePath(QStringLiteral("disc/pack.zip")));
    }

    static void writeZip(const QString& path)
    {
        static const char member[] = "eighteen bytes ...";
        int code = 0;
        zip_t* za = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
        ASSERT_NE(za, nullptr);
        zip_source_t* source = zip_source_buffer(za, member, sizeof member - 1, 0);
        ASSERT_GE(zip_file_add(za, "inner/a,b.txt", source, 0), 0);
        ASSERT_EQ(zip_close(za), 0);
    }

    void write(const QString& relative, const QByteArray& bytes)
    {
        const QString path = m_files.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    QString file(const QString& relative) const { return m_files.filePath(relative); }

    static void setOptions(const std::function<void(ScanOptions&)>& change)
    {
        CSettingsStore store;
        ScanOptions options = loadScanOptions(store);
        change(options);
        ASSERT_TRUE(storeScanOptions(store, options));
    }

    static bool waitForScan(MainWindow& window, const std::function<void()>& start)
    {
        QSignalSpy finished(window.scanCommands(), &ScanCommands::scanFinished);
        start();
        if (finished.isEmpty() && !finished.wait(30000)) {
            ADD_FAILURE() << "the scan did not finish";
            return false;
        }
        return finished.first().first().toBool();
    }

    bool scanFolder(MainWindow& window, const QString& folder, const QString& name)
    {
        answers->folders.push_back(folder);
        answers->discNames.push_back(name);
        return waitForScan(window, [&] { action(window, "actionSelectPath")->trigger(); });
    }

    static QAction* action(MainWindow& window, const char* name)
    {
        return window.findChild<QAction*>(QLatin1String(name));
    }

    static QStringList tabs(MainWindow& window, int category)
    {
        QStringList names;
        QTabWidget* widget = window.filesPage(category)->tabWidget();
        for (int i = 0; i < widget->count(); ++i)
            names << widget->tabText(i);
        return names;
    }

    static std::string indexValue(const MainWindow& window, int category, const std::string& key)
    {
        CatalogContainer container = window.document().container();
        const auto index = container.readIndex();
        return index ? index->value("Category" + std::to_string(category), key).value_or("-") : "no index";
    }

    static QStringList entries(const MainWindow& window)
    {
        CatalogContainer container = window.document().container();
        QStringList names = container.entryNames();
        names.removeAll(QStringLiteral("data.ini"));
        names.sort();
        return names;
    }

    static const Disc& discAt(const MainWindow& window, int category, int index)
    {
        return window.document().catalog().filesCategories[size_t(category)].discs[size_t(index)];
    }

    QString jpeg(const QString& name)
    {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = file(name);
        EXPECT_TRUE(image.save(path, "JPG"));
        return path;
    }

    QString disc;

private:
    QTemporaryDir m_files;
};

TEST_F(DiscCommandsTest, AScannedFolderBecomesATabAndAContainerEntry)
{
    MainWindow& window = makeWindow();
    ASSERT_TRUE(scanFolder(window, disc, QStringLiteral("Disc A")));

    EXPECT_EQ(tabs(window, 0), QStringList{QStringLiteral("Disc A")});
    const Disc& scanned = discAt(window, 0, 0);
    ASSERT_EQ(scanned.tree.size(), 5);
    EXPECT_EQ(scanned.tree.text(kReadme), "readme.txt");
    EXPECT_EQ(scanned.size, 18 + 5 + taggedMp3().size() + QFileInfo(file("disc/pack.zip")).size());
    EXPECT_EQ(entries(window), QStringList{QStringLiteral("0_0.obj")});
    EXPECT_EQ(indexValue(window, 0, "Disk_Count"), "1");
    EXPECT_EQ(indexValue(window, 0, "Disk_0"), "0_0.obj");
    EXPECT_TRUE(action(window, "actionSave")->isEnabled());
    // The new tab shows the disc's lines.
    DiscPage* page = window.filesPage(0)->discPage(0);
    EXPECT_EQ(page->infoPanel()->currentIndex(), InfoPanel::DiscTab);
    EXPECT_EQ(page->infoPanel()->discValue(InfoPanel::NameLine), QStringLiteral("Disc A"));

    // Items are renamed in place; an emptied text keeps the old name.
    DiscTreeModel* model = page->model();
    EXPECT_TRUE(model->setData(model->indexOf(kPlain), QStringLiteral("renamed.bin")));
    EXPECT_TRUE(model->setData(model->indexOf(kPack), QString()));
    EXPECT_EQ(discAt(window, 0, 0).tree.text(kPlain), "renamed.bin");
    EXPECT_EQ(discAt(window, 0, 0).tree.text(kPack), "pack.zip");
    EXPECT_EQ(page->infoPanel()->itemValue(InfoPanel::NameLine), QStringLiteral("renamed.bin"));
    // Enter and Escape in the tree neither confirm nor close anything (closing would ask).
    QTest::keyClick(page->treeView(), Qt::Key_Escape);
    QTest::keyClick(page->treeView(), Qt::Key_Return);
    EXPECT_TRUE(answers->messages.empty());

    // A name taken by a tab, in any case, is asked for again; cancelling the name adds nothing.
    answers->folders = {disc, disc};
    answers->discNames = {QStringLiteral("disc a"), QStringLiteral("Disc B"), std::nullopt};
    answers->discNamePrompts.clear();
    ASSERT_TRUE(waitForScan(window, [&] { action(window, "actionSelectPath")->trigger(); }));
    ASSERT_EQ(answers->discNamePrompts.size(), 2u);
    EXPECT_EQ(answers->discNamePrompts[0].first, QStringLiteral("Enter a new name"));
    EXPECT_EQ(answers->discNamePrompts[1].first, QStringLiteral("Enter valid name"));
    action(window, "actionSelectPath")->trigger();
    EXPECT_FALSE(window.isBusy());
    EXPECT_EQ(tabs(window, 0), (QStringList{QStringLiteral("Disc A"), QStringLiteral("Disc B")}));
    EXPECT_EQ(entries(window), (QStringList{QStringLiteral("0_0.obj"), QStringLiteral("0_1.obj")}));
}

TEST_F(DiscCommandsTest, ScanCdNamesTheDiscAndEjectsIt)
{
    drives.addDrive(QStringLiteral("/dev/sr0"), QStringLiteral("VENDOR  "), QStringLiteral("DRIVE           "),
                    QStringLiteral("1.0 "));
    drives.insertDisc(QStringLiteral("/dev/sr0"), disc, QStringLiteral("MY_LABEL"), 734003200);
    setOptions([](ScanOptions& o) {
        o[ScanOptions::UseLabel] = 1;
        o[ScanOptions::Eject] = 1;
    });
    MainWindow& window = makeWindow();
    EXPECT_FALSE(action(window, "actionScanCd")->isEnabled());

    answers->driveRows.push_back(0);
    action(window, "actionSelectDrive")->trigger();
    ASSERT_EQ(answers->driveLists.size(), 1u);
    EXPECT_EQ(answers->driveLists[0].size(), 1u);
    EXPECT_TRUE(window.statusText().startsWith(QStringLiteral("Selected CD Drive  :   VENDOR")));
    ASSERT_TRUE(action(window, "actionScanCd")->isEnabled());

    ASSERT_TRUE(waitForScan(window, [&] { action(window, "actionScanCd")->trigger(); }));
    EXPECT_EQ(tabs(window, 0), QStringList{QStringLiteral("MY_LABEL")});
    EXPECT_EQ(discAt(window, 0, 0).size, 734003200); // a CD's size is its volume's
    EXPECT_EQ(driveAccess->ejectCalls, (std::vector<FakeDriveAccess::EjectCall>{{QStringLiteral("/dev/sr0"), true}}));

    // Numbered names: the popup once, then one number after the other; a drive that is not
    // ready still uses up its number.
    action(window, "actionAdditionalScan")->setChecked(true);
    answers->numberedNames.push_back(std::pair{QStringLiteral("Games"), 12});
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(waitForScan(window, [&] { action(window, "actionScanCd")->trigger(); }));
    EXPECT_EQ(answers->numberedPrompts.size(), 1u);
    driveAccess->find(QStringLiteral("/dev/sr0"))->ready = false;
    action(window, "actionScanCd")->trigger();
    EXPECT_EQ(answers->messages.back().text, QStringLiteral("Drive is not ready !"));
    driveAccess->find(QStringLiteral("/dev/sr0"))->ready = true;
    ASSERT_TRUE(waitForScan(window, [&] { action(window, "actionScanCd")->trigger(); }));
    EXPECT_EQ(tabs(window, 0), (QStringList{QStringLiteral("MY_LABEL"), QStringLiteral("Games12"),
                                            QStringLiteral("Games13"), QStringLiteral("Games15")}));
    // Switching the option off starts the numbering anew.
    action(window, "actionAdditionalScan")->setChecked(false);
    EXPECT_EQ(window.scanCommands()->baseName(), QStringLiteral("CD"));
    EXPECT_EQ(window.scanCommands()->counter(), 0);
}

TEST_F(DiscCommandsTest, DeleteAndMoveRenumberTheContainer)
{
    MainWindow& window = makeWindow();
    for (const char* name : {"A", "B", "C"})
        ASSERT_TRUE(scanFolder(window, disc, QLatin1String(name)));
    window.discCommands()->storeCover(0, 1, jpeg(QStringLiteral("b.jpg")));
    window.discCommands()->editDiscComment(0, 1); // no answer: cancelled, nothing changes
    EXPECT_EQ(entries(window), (QStringList{"0_0.obj", "0_1.cov", "0_1.obj", "0_2.obj"}));

    answers->buttons = {QMessageBox::No, QMessageBox::Yes};
    window.discCommands()->deleteDisc(0, 0);
    EXPECT_EQ(tabs(window, 0).size(), 3);
    window.discCommands()->deleteDisc(0, 0);
    EXPECT_EQ(tabs(window, 0), (QStringList{"B", "C"}));
    EXPECT_EQ(window.filesPage(0)->currentDisc(), 0);
    EXPECT_EQ(entries(window), (QStringList{"0_0.cov", "0_0.obj", "0_1.obj"}));
    EXPECT_EQ(indexValue(window, 0, "Disk_Count"), "2");

    QMenu* menu = window.discCommands()->buildTabMenu(0, 0, &window);
    QMenu* moveTo = menu->findChild<QMenu*>(QStringLiteral("moveToMenu"));
    ASSERT_NE(moveTo, nullptr);
    EXPECT_EQ(menuTexts(moveTo), QStringList{QStringLiteral("Music")});
    moveTo->actions().first()->trigger();
    delete menu;

    EXPECT_EQ(tabs(window, 0), QStringList{"C"});
    EXPECT_EQ(tabs(window, 1), QStringList{"B"});
    EXPECT_EQ(entries(window), (QStringList{"0_0.obj", "1_0.cov", "1_0.obj"}));
    EXPECT_EQ(indexValue(window, 1, "Disk_0"), "1_0.obj");
    EXPECT_EQ(discAt(window, 1, 0).tree.size(), 5);
    EXPECT_EQ(window.currentCategory(), 0);
    // The moved disc's page shows its cover.
    EXPECT_TRUE(window.filesPage(1)->discPage(0)->infoPanel()->coverPage()->hasCover());
}

TEST_F(DiscCommandsTest, AContainerThatCannotBeChangedIsReportedAndTheTabsFollowTheCatalog)
{
    MainWindow& window = makeWindow();
    for (const char* name : {"A", "B"})
        ASSERT_TRUE(scanFolder(window, disc, QLatin1String(name)));
    const QString container = window.document().container().path();
    ASSERT_TRUE(QFile::remove(container));
    ASSERT_TRUE(QDir().mkdir(container)); // a folder where the file was: nothing can replace it

    answers->buttons = {QMessageBox::Yes};
    window.discCommands()->deleteDisc(0, 0);
    EXPECT_EQ(tabs(window, 0), QStringList{"B"});
    EXPECT_TRUE(answers->messages.back().text.startsWith(QStringLiteral("The catalog container cannot be updated.")));
    window.discCommands()->moveDisc(0, 0, 1);
    EXPECT_TRUE(tabs(window, 0).isEmpty());
    EXPECT_EQ(tabs(window, 1), QStringList{"B"});
    EXPECT_EQ(window.filesPage(1)->discPage(0)->disc().name, "B");
}

TEST_F(DiscCommandsTest, CommentsSurviveAnUpdateThatClearsTheDiscComment)
{
    drives.addDrive(QStringLiteral("/dev/sr0"));
    drives.insertDisc(QStringLiteral("/dev/sr0"), disc, QStringLiteral("LABEL"));
    MainWindow& window = makeWindow();
    ASSERT_TRUE(scanFolder(window, disc, QStringLiteral("Disc")));

    answers->comments = {QStringLiteral("about\r\nthe readme"), QStringLiteral("disc note")};
    window.discCommands()->editItemComment(0, 0, kReadme);
    window.discCommands()->editDiscComment(0, 0);
    const Disc& before = discAt(window, 0, 0);
    EXPECT_EQ(before.records.find(before.tree.key(kReadme))->comment, "about\r\nthe readme");
    EXPECT_EQ(before.comment, "disc note");
    DiscPage* page = window.filesPage(0)->discPage(0);
    EXPECT_EQ(page->infoPanel()->itemValue(InfoPanel::CommentsLine), QStringLiteral("about\nthe readme"));

    // The comment is shown again the next time, and changed in place.
    answers->comments = {QStringLiteral("changed")};
    window.discCommands()->editItemComment(0, 0, kReadme);
    EXPECT_EQ(answers->commentsShown[2], QStringLiteral("about\r\nthe readme"));
    const size_t records = discAt(window, 0, 0).records.size();

    write("disc/readme.txt", "rewritten");
    answers->buttons = {QMessageBox::Ok};
    answers->driveRows = {0};
    answers->discNames = {std::nullopt}; // the name stays
    ASSERT_TRUE(waitForScan(window, [&] { window.discCommands()->buildTabMenu(0, 0, &window)
                                              ->findChild<QAction*>(QStringLiteral("actionDiscUpdate"))
                                              ->trigger(); }));
    const Disc& after = discAt(window, 0, 0);
    EXPECT_EQ(after.name, "Disc");
    EXPECT_EQ(after.comment, "");
    EXPECT_EQ(after.records.size(), records);
    EXPECT_EQ(after.records.find(after.tree.key(kReadme))->comment, "changed");
    EXPECT_EQ(after.records.find(after.tree.key(kReadme))->size, 9);
    EXPECT_EQ(entries(window), QStringList{QStringLiteral("0_0.obj")});
    EXPECT_EQ(indexValue(window, 0, "Disk_Count"), "1");
    CatalogContainer container = window.document().container();
    EXPECT_EQ(findFileDetails(container, 0, 0, after.tree.key(kReadme)).record.lines,
              std::vector<std::string>{"rewritten\n"});
}

TEST_F(DiscCommandsTest, AnUpdateRemakesAMissingContainer)
{
    drives.addDrive(QStringLiteral("/dev/sr0"));
    drives.insertDisc(QStringLiteral("/dev/sr0"), disc, QStringLiteral("LABEL"));
    MainWindow& window = makeWindow();
    for (const char* name : {"A", "B"})
        ASSERT_TRUE(scanFolder(window, disc, QLatin1String(name)));
    ASSERT_TRUE(QFile::remove(window.document().container().path()));

    answers->buttons = {QMessageBox::Ok};
    answers->driveRows = {0};
    answers->discNames = {QStringLiteral("B2")};
    ASSERT_TRUE(waitForScan(window, [&] { window.discCommands()->buildTabMenu(0, 1, &window)
                                              ->findChild<QAction*>(QStringLiteral("actionDiscUpdate"))
                                              ->trigger(); }));
    EXPECT_EQ(tabs(window, 0), (QStringList{"A", "B2"}));
    EXPECT_EQ(entries(window), QStringList{QStringLiteral("0_1.obj")});
    EXPECT_EQ(indexValue(window, 0, "Disk_Count"), "2");
    EXPECT_EQ(indexValue(window, 0, "Disk_1"), "0_1.obj");
    EXPECT_EQ(messageTexts(), std::vector<QString>{QStringLiteral("Please insert CD and klick OK when ready.")});
}

TEST_F(DiscCommandsTest, DetailsOfDescriptionsArchivesAndMp3Files)
{
    MainWindow& window = makeWindow();
    ASSERT_TRUE(scanFolder(window, disc, QStringLiteral("Disc")));
    DiscCommands& commands = *window.discCommands();

    commands.showDetails(0, 0, kReadme);
    commands.showDetails(0, 0, kPack);
    ASSERT_EQ(answers->details.size(), 2u);
    EXPECT_EQ(answers->details[0].kind, QStringLiteral("description"));
    EXPECT_EQ(answers->details[0].caption, QStringLiteral("readme.txt"));
    EXPECT_EQ(answers->details[0].lines, (std::vector<std::string>{"first line\n", "second\n"}));
    EXPECT_EQ(answers->details[1].kind, QStringLiteral("archive"));
    EXPECT_EQ(answers->details[1].lines, std::vector<std::string>{"a_b.txt,inner,18"});

    commands.showDetails(0, 0, kPlain);
    EXPECT_EQ(answers->messages.back().text, QStringLiteral("No description for selected file available !"));

    // Selecting an MP3 file shows its data; "Update info" rewrites the stored line.
    DiscPage* page = window.filesPage(0)->discPage(0);
    page->showItemInfo(kSong);
    EXPECT_EQ(page->infoPanel()->itemValue(QStringLiteral("Title:")), QStringLiteral("Title"));
    EXPECT_EQ(page->infoPanel()->itemValue(QStringLiteral("Genre:")), QStringLiteral("Rock"));

    Mp3Fields fields = splitMp3InfoLine("song.mp3~128~44100~Joint-stereo~Fixed~Artist~ ~ ~ ~Rock~");
    answers->mp3Fields.push_back(fields);
    commands.showDetails(0, 0, kSong);
    ASSERT_EQ(answers->details.back().kind, QStringLiteral("mp3"));
    EXPECT_EQ(answers->details.back().lines[0], "song.mp3~128~44100~Joint-stereo~Title~Artist~ ~ ~ ~Rock~");
    EXPECT_EQ(page->infoPanel()->itemValue(QStringLiteral("Title:")), QStringLiteral("Fixed"));
    CatalogContainer container = window.document().container();
    const auto records = container.readDescriptionEntry(0, 0);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 3u);
    EXPECT_EQ((*records)[0].lines, std::vector<std::string>{buildMp3InfoLine(fields)});
    EXPECT_EQ((*records)[2].lines, answers->details[0].lines);

    // A disc the index does not know.
    CatalogContainer(window.document().container()).deleteDisc(0, 0);
    commands.showDetails(0, 0, kReadme);
    EXPECT_EQ(answers->messages.back().text, QStringLiteral("Entry not exists !"));
}

TEST_F(DiscCommandsTest, TheCoverTabStoresAndRemovesTheDiscCover)
{
    MainWindow& window = makeWindow();
    ASSERT_TRUE(scanFolder(window, disc, QStringLiteral("Disc")));
    DiscCoverPage* cover = window.filesPage(0)->discPage(0)->infoPanel()->coverPage();
    EXPECT_FALSE(cover->hasCover());

    answers->coverFiles = {jpeg(QStringLiteral("c.jpg"))};
    cover->findChild<QPushButton*>(QStringLiteral("addCoverButton"))->click();
    EXPECT_TRUE(cover->hasCover());
    EXPECT_EQ(entries(window), (QStringList{"0_0.cov", "0_0.obj"}));

    write("big.jpg", QByteArray(250001, 'x'));
    answers->coverFiles = {file("big.jpg")};
    cover->findChild<QPushButton*>(QStringLiteral("addCoverButton"))->click();
    EXPECT_EQ(answers->messages.back().text, QStringLiteral("File seems to be empty or big ( > 250KB )"));
    EXPECT_TRUE(cover->hasCover());

    cover->findChild<QPushButton*>(QStringLiteral("removeCoverButton"))->click();
    EXPECT_FALSE(cover->hasCover());
    EXPECT_EQ(entries(window), QStringList{"0_0.obj"});
}

TEST_F(DiscCommandsTest, ClosingDuringAScanWaitsForItsEnd)
{
    MainWindow& window = makeWindow();
    window.show();
    answers->folders = {disc};
    answers->discNames = {QStringLiteral("Disc")};
    answers->buttons = {QMessageBox::No}; // "Save file ?" once the scan has ended
    QSignalSpy finished(window.scanCommands(), &ScanCommands::scanFinished);
    action(window, "actionSelectPath")->trigger();
    ASSERT_TRUE(window.isBusy());
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    ASSERT_TRUE(finished.wait(30000));
    for (int i = 0; i < 500 && window.isVisible(); ++i)
        QTest::qWait(10);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(tabs(window, 0), QStringList{QStringLiteral("Disc")});
}

TEST(ScanJobTest, ACancelledScanLeavesNoEntryFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir(dir.path()).mkpath(QStringLiteral("root/sub"));
    const QString entryFile = dir.filePath(QStringLiteral("0_0.obj"));
    FakeDriveAccess drives;
    Disc start;
    start.name = "kept";
    ScanJob job(ScanOptions(), dir.filePath(QStringLiteral("root")), std::move(start), entryFile, drives, nullptr);
    QSignalSpy finished(&job, &ScanJob::finished);
    job.cancel();
    job.start();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_FALSE(job.completed());
    EXPECT_FALSE(QFileInfo::exists(entryFile));
    EXPECT_FALSE(job.isRunning());
}

} // namespace
