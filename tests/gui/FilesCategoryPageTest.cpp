#include "gui/catalog/DiscPage.h"
#include "gui/catalog/DiscTreeModel.h"
#include "gui/catalog/FilesCategoryPage.h"
#include "gui/catalog/InfoPanel.h"

#include "support/CatalogFixtures.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDateTime>
#include <QLocale>
#include <QSignalSpy>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <numeric>

using namespace lumidex;

namespace {

constexpr int32_t kFolder = DiscTree::kFolderImage;
constexpr int32_t kFile = DiscTree::kFileImage;

// Several top-level nodes: a folder 300 levels deep with a file on every level, a wide folder of
// subfolders, an empty folder, and top-level files, one with a legacy (Windows-1252) name.
DiscTree makeMixedTree()
{
    DiscTree t;
    int32_t p = t.append(DiscTree::kNone, "deep", kFolder, kFolder);
    for (int i = 0; i < 300; ++i) {
        t.append(p, "file" + std::to_string(i), kFile, kFile);
        p = t.append(p, "level" + std::to_string(i), kFolder, kFolder);
    }
    const int32_t wide = t.append(DiscTree::kNone, "wide", kFolder, kFolder);
    for (int f = 0; f < 20; ++f) {
        const int32_t folder = t.append(wide, "folder" + std::to_string(f), kFolder, kFolder);
        for (int i = 0; i < 100; ++i)
            t.append(folder, "f" + std::to_string(i) + ".dat", kFile, kFile);
        const int32_t nested = t.append(folder, "nested", kFolder, kFolder);
        for (int i = 0; i < 10; ++i)
            t.append(nested, "n" + std::to_string(i), kFile, kFile);
    }
    t.append(DiscTree::kNone, "empty", kFolder, kFolder);
    t.append(DiscTree::kNone, "readme.txt", kFile, kFile);
    t.append(DiscTree::kNone, "Stra\xDF" "e.txt", kFile, kFile);
    return t;
}

std::vector<QString> tabTexts(const FilesCategoryPage& page)
{
    std::vector<QString> texts;
    for (int i = 0; i < page.tabWidget()->count(); ++i)
        texts.push_back(page.tabWidget()->tabText(i));
    return texts;
}

QString expectedTime(int32_t seconds)
{
    const QDateTime when = QDateTime::fromSecsSinceEpoch(seconds);
    const QLocale locale = QLocale::system();
    return locale.toString(when.date(), QLocale::ShortFormat) + QStringLiteral(", ")
           + locale.toString(when.time(), QLocale::ShortFormat);
}

void clickRow(QTreeView* tree, const QModelIndex& index)
{
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
}

} // namespace

TEST(FilesCategoryPage, TabPerDiscWithDecodedNames)
{
    Catalog catalog = test::makeRichCatalog();
    FilesCategoryPage page(catalog.filesCategories[0]);
    EXPECT_EQ(page.objectName(), QStringLiteral("filesCategoryPage"));
    EXPECT_EQ(tabTexts(page), (std::vector<QString>{"CD1", QString::fromUtf8("Straße")}));
    EXPECT_EQ(page.currentDisc(), 0);

    page.setLegacyCodePage(LegacyCodePage::Windows1251);
    EXPECT_EQ(tabTexts(page), (std::vector<QString>{"CD1", QString::fromUtf8("StraЯe")}));

    FilesCategoryPage empty(catalog.filesCategories[1]);
    EXPECT_EQ(empty.tabWidget()->count(), 0);
    EXPECT_EQ(empty.currentDisc(), -1);
    EXPECT_EQ(empty.discPage(0), nullptr);
    empty.setCurrentDisc(0);
    EXPECT_EQ(empty.currentDisc(), -1);
}

TEST(FilesCategoryPage, MakesDiscPagesWhenFirstShown)
{
    FilesCategory category;
    for (int i = 0; i < 300; ++i) {
        Disc& disc = category.discs.emplace_back();
        disc.name = "Disc " + std::to_string(i);
        test::fillSmallDisc(disc);
    }
    FilesCategoryPage page(category);
    EXPECT_TRUE(page.findChildren<DiscPage*>().isEmpty()); // nothing shown yet
    page.resize(800, 600);
    page.show();
    ASSERT_EQ(page.findChildren<DiscPage*>().size(), 1);
    EXPECT_EQ(&page.findChild<DiscPage*>()->disc(), &category.discs[0]);
    EXPECT_TRUE(page.findChild<DiscPage*>()->isVisible());

    QSignalSpy changed(&page, &FilesCategoryPage::currentDiscChanged);
    page.setCurrentDisc(150);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toInt(), 150);
    EXPECT_EQ(page.findChildren<DiscPage*>().size(), 2);
    DiscPage* shown = page.discPage(150);
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(&shown->disc(), &category.discs[150]);
    EXPECT_EQ(shown->findChild<QTreeView*>(QStringLiteral("discTree"))->model()->rowCount(), 2);

    // Asked for directly, a page is made without its tab being shown.
    DiscPage* other = page.discPage(299);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(&other->disc(), &category.discs[299]);
    EXPECT_EQ(page.discPage(299), other);
    EXPECT_EQ(page.discPage(300), nullptr);
}

TEST(FilesCategoryPage, ReloadFollowsChangedDiscs)
{
    FilesCategory category;
    const auto addDisc = [&](size_t at, const char* name) {
        Disc disc;
        disc.name = name;
        test::fillSmallDisc(disc);
        category.discs.insert(category.discs.begin() + ptrdiff_t(at), std::move(disc));
    };
    for (const char* name : {"one", "two", "three"})
        addDisc(category.discs.size(), name);
    FilesCategoryPage page(category);
    page.show();
    page.setCurrentDisc(2);
    ASSERT_NE(page.discPage(2), nullptr);
    QSignalSpy changed(&page, &FilesCategoryPage::currentDiscChanged);

    // Each change moves discs in memory; after the reload the tabs and the pages follow them.
    const auto expectShown = [&](std::vector<QString> names) {
        EXPECT_EQ(tabTexts(page), names);
        for (size_t i = 0; i < names.size(); ++i) {
            DiscPage* discPage = page.discPage(int(i));
            ASSERT_NE(discPage, nullptr);
            EXPECT_EQ(&discPage->disc(), &category.discs[i]);
            EXPECT_EQ(discPage->model()->rowCount(), 2);
        }
        if (page.currentDisc() >= 0) {
            EXPECT_TRUE(page.discPage(page.currentDisc())->isVisible());
        }
    };
    category.discs.erase(category.discs.begin() + 2); // the current disc
    category.discs.reserve(64);
    page.reload();
    expectShown({"one", "two"});
    EXPECT_EQ(page.currentDisc(), 1);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toInt(), 1);

    addDisc(0, "two"); // a repeated name in front
    page.reload();
    expectShown({"two", "one", "two"});
    addDisc(2, "middle");
    page.reload();
    expectShown({"two", "one", "middle", "two"});
    category.discs.erase(category.discs.begin());
    category.discs[1].name = "renamed";
    page.reload();
    expectShown({"one", "renamed", "two"});
    std::swap(category.discs[0], category.discs[2]);
    page.reload();
    expectShown({"two", "renamed", "one"});
    addDisc(3, "one"); // the same name as its neighbour
    page.reload();
    expectShown({"two", "renamed", "one", "one"});
    category.discs.erase(category.discs.begin() + 2);
    page.reload();
    expectShown({"two", "renamed", "one"});
    EXPECT_EQ(changed.size(), 1);

    category.discs.clear();
    page.reload();
    EXPECT_EQ(page.tabWidget()->count(), 0);
    EXPECT_EQ(page.currentDisc(), -1);
    EXPECT_TRUE(page.findChildren<DiscPage*>().isEmpty());
    ASSERT_EQ(changed.size(), 2);
    EXPECT_EQ(changed[1][0].toInt(), -1);
}

TEST(DiscTreeModel, ConsistentOverMixedTree)
{
    const DiscTree tree = makeMixedTree();
    ASSERT_GT(tree.size(), 2500);
    DiscTreeModel model(tree);
    const QIcon folderIcon = qApp->style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon fileIcon = qApp->style()->standardIcon(QStyle::SP_FileIcon);
    model.setIcons(folderIcon, fileIcon);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    // Walking the model row by row visits the nodes in pre-order, each index knowing its parent.
    std::vector<int32_t> visited;
    std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex index = model.index(row, 0, parent);
            const int32_t node = model.node(index);
            visited.push_back(node);
            ASSERT_EQ(model.parent(index), parent) << node;
            ASSERT_EQ(model.indexOf(node), index) << node;
            walk(index);
        }
    };
    walk({});
    std::vector<int32_t> expected(size_t(tree.size()));
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(visited, expected);

    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.node({}), DiscTree::kNone);
    EXPECT_FALSE(model.indexOf(tree.size()).isValid());
    EXPECT_FALSE(model.indexOf(DiscTree::kNone).isValid());

    const QModelIndex legacy = model.index(4, 0);
    EXPECT_EQ(legacy.data().toString(), QString::fromUtf8("Straße.txt"));
    const auto iconOf = [](const QModelIndex& index) { return index.data(Qt::DecorationRole).value<QIcon>().cacheKey(); };
    EXPECT_EQ(iconOf(legacy), fileIcon.cacheKey());
    EXPECT_EQ(iconOf(model.index(0, 0)), folderIcon.cacheKey());
    EXPECT_EQ(iconOf(model.index(2, 0)), folderIcon.cacheKey()); // an empty folder
    EXPECT_FALSE(model.hasChildren(model.index(2, 0)));
}

TEST(DiscTreeModel, OpensHugeFolderInOnePass)
{
    DiscTree tree;
    const int32_t before = tree.append(DiscTree::kNone, "before", kFile, kFile);
    const int32_t big = tree.append(DiscTree::kNone, "big", kFolder, kFolder);
    for (int i = 0; i < 100000; ++i)
        tree.append(big, "file" + std::to_string(i), kFile, kFile);
    tree.append(DiscTree::kNone, "after", kFile, kFile);
    DiscTreeModel model(tree);

    QTreeView view;
    view.setUniformRowHeights(true);
    view.setModel(&model);
    view.resize(300, 400);
    view.show();
    const QModelIndex folder = model.indexOf(big);
    ASSERT_EQ(folder.row(), 1);
    view.expand(folder);
    view.scrollToBottom();
    QApplication::processEvents();

    EXPECT_EQ(model.rowCount(folder), 100000);
    const QModelIndex last = model.index(99999, 0, folder);
    EXPECT_EQ(last.data().toString(), QStringLiteral("file99999"));
    EXPECT_EQ(model.parent(last), folder);
    EXPECT_EQ(model.indexOf(model.node(last)).row(), 99999);
    EXPECT_EQ(model.index(2, 0).data().toString(), QStringLiteral("after"));
    EXPECT_EQ(model.indexOf(before).row(), 0);
}

TEST(DiscPage, PanelShowsDiscAndSelectedItem)
{
    Catalog catalog = test::makeRichCatalog();
    FilesCategoryPage page(catalog.filesCategories[0]);
    page.resize(900, 600);
    page.show();
    DiscPage* discPage = page.discPage(0);
    ASSERT_NE(discPage, nullptr);
    auto* tree = discPage->findChild<QTreeView*>(QStringLiteral("discTree"));
    auto* panel = discPage->findChild<InfoPanel*>(QStringLiteral("infoPanel"));
    ASSERT_NE(tree, nullptr);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(tree->uniformRowHeights());
    EXPECT_EQ(panel->tabText(0), QStringLiteral("Disc"));
    EXPECT_EQ(panel->tabText(1), QStringLiteral("File/Folder"));
    EXPECT_EQ(panel->tabText(2), QStringLiteral("Cover"));

    // The disc's lines, shown first.
    EXPECT_EQ(panel->currentIndex(), InfoPanel::DiscTab);
    EXPECT_EQ(panel->discValue(InfoPanel::NameLine), QStringLiteral("CD1"));
    EXPECT_EQ(panel->discValue(InfoPanel::SizeLine), QStringLiteral("7.340.032.000 Bytes"));
    EXPECT_EQ(panel->discValue(InfoPanel::CreatedLine), expectedTime(1100000000));
    EXPECT_EQ(panel->discValue(InfoPanel::CommentsLine), QStringLiteral("first disc\nsecond line"));

    // A click on an item shows its lines; keys move the selection and the lines with it.
    tree->expandAll();
    const QModelIndex a1 = discPage->model()->indexOf(1);
    clickRow(tree, a1);
    EXPECT_EQ(discPage->selectedNode(), 1);
    EXPECT_EQ(panel->currentIndex(), InfoPanel::ItemTab);
    EXPECT_EQ(panel->itemValue(InfoPanel::NameLine), QStringLiteral("A1"));
    EXPECT_EQ(panel->itemValue(InfoPanel::SizeLine), QStringLiteral("11 Bytes"));
    EXPECT_EQ(panel->itemValue(InfoPanel::CreatedLine), expectedTime(1100000001));
    EXPECT_EQ(panel->itemValue(InfoPanel::CommentsLine), QString::fromUtf8("Grüße"));
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(panel->itemValue(InfoPanel::NameLine), QStringLiteral("A2"));
    EXPECT_EQ(panel->itemValue(InfoPanel::SizeLine), QStringLiteral("5.000.000.000 Bytes"));
    EXPECT_EQ(panel->itemValue(InfoPanel::CommentsLine), QString());

    // A click below the items shows the disc again; a click on the current item shows it again.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(5, tree->viewport()->height() - 5));
    EXPECT_EQ(panel->currentIndex(), InfoPanel::DiscTab);
    clickRow(tree, discPage->model()->indexOf(2));
    EXPECT_EQ(panel->currentIndex(), InfoPanel::ItemTab);

    // A legacy disc name and an item without a record: only the name is filled in.
    Disc& legacyDisc = catalog.filesCategories[0].discs[1];
    legacyDisc.records.clear();
    DiscPage* second = page.discPage(1);
    EXPECT_EQ(second->infoPanel()->discValue(InfoPanel::NameLine), QString::fromUtf8("Straße"));
    EXPECT_EQ(second->infoPanel()->discValue(InfoPanel::CreatedLine), QString()); // never recorded
    second->showItemInfo(3);
    EXPECT_EQ(second->selectedNode(), 3);
    EXPECT_EQ(second->infoPanel()->itemValue(InfoPanel::NameLine), QStringLiteral("B"));
    EXPECT_EQ(second->infoPanel()->itemValue(InfoPanel::SizeLine), QString());
    EXPECT_EQ(second->infoPanel()->itemValue(InfoPanel::CommentsLine), QString());

    // After the disc changed the page shows it again on the tab it was showing.
    legacyDisc.comment = "new comment";
    second->refreshInfo();
    EXPECT_EQ(second->infoPanel()->currentIndex(), InfoPanel::ItemTab);
    EXPECT_EQ(second->infoPanel()->discValue(InfoPanel::CommentsLine), QStringLiteral("new comment"));
}

TEST(InfoPanel, SizesGroupDigitsInThrees)
{
    EXPECT_EQ(InfoPanel::formatSize(0), QStringLiteral("0 Bytes"));
    EXPECT_EQ(InfoPanel::formatSize(999), QStringLiteral("999 Bytes"));
    EXPECT_EQ(InfoPanel::formatSize(1000), QStringLiteral("1.000 Bytes"));
    EXPECT_EQ(InfoPanel::formatSize(1234567), QStringLiteral("1.234.567 Bytes"));
    EXPECT_EQ(InfoPanel::formatSize(-1234), QStringLiteral("-1.234 Bytes"));
    EXPECT_EQ(InfoPanel::formatSize(std::numeric_limits<int64_t>::max()),
              QStringLiteral("9.223.372.036.854.775.807 Bytes"));
    EXPECT_EQ(InfoPanel::formatSize(std::numeric_limits<int64_t>::min()),
              QStringLiteral("-9.223.372.036.854.775.808 Bytes"));
}
