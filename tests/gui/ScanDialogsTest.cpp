#include "gui/catalog/CommentsDialog.h"
#include "gui/catalog/QuickJumpDialog.h"
#include "gui/scan/DiscNameDialog.h"
#include "gui/scan/ItemNameDialog.h"
#include "gui/scan/SelectDriveDialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace lumidex;

namespace {

TEST(ScanDialogs, ItemNameNeedsANameOfAtMost25Characters)
{
    ItemNameDialog dialog(QStringLiteral("Set new CD name"));
    dialog.show();
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("nameEdit"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible()); // nothing entered: stays open
    QTest::keyClicks(edit, QStringLiteral("A name that is far longer than allowed"));
    EXPECT_EQ(dialog.name().size(), ItemNameDialog::kMaxLength);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(ScanDialogs, DiscNameKeepsTheCounterInRange)
{
    DiscNameDialog dialog(QStringLiteral("CD"), 7);
    auto* counter = dialog.findChild<QSpinBox*>(QStringLiteral("counterSpin"));
    counter->setValue(-3);
    EXPECT_EQ(dialog.counter(), 0);
    counter->setValue(99999);
    EXPECT_EQ(dialog.counter(), DiscNameDialog::kMaxCounter);
    dialog.findChild<QLineEdit*>(QStringLiteral("baseNameEdit"))->setText(QStringLiteral("Games"));
    dialog.findChild<QPushButton*>(QStringLiteral("setButton"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.baseName(), QStringLiteral("Games"));
}

TEST(ScanDialogs, SelectDriveChoosesOnlyByDoubleClick)
{
    SelectDriveDialog dialog({{QStringLiteral("VENDOR PRODUCT 1.0"), QStringLiteral("/dev/sr0")},
                              {QString(), QStringLiteral("/dev/sr1")}});
    dialog.show();
    QListWidget* list = dialog.list();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral(" (/dev/sr0)\tVENDOR PRODUCT 1.0"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral(" (/dev/sr1)\t"));
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    emit list->itemDoubleClicked(list->item(1));
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(dialog.chosenRow(), 1);
}

TEST(ScanDialogs, QuickJumpReportsEveryChoiceAndClosesOnDoubleClick)
{
    QuickJumpDialog dialog({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}, 0);
    QSignalSpy chosen(&dialog, &QuickJumpDialog::discChosen);
    dialog.show();
    dialog.list()->setCurrentRow(2);
    EXPECT_TRUE(dialog.isVisible());
    emit dialog.list()->itemDoubleClicked(dialog.list()->item(1));
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(chosen.size(), 2);
    EXPECT_EQ(chosen[0][0].toInt(), 2);
    EXPECT_EQ(chosen[1][0].toInt(), 1);
}

TEST(ScanDialogs, CommentsShowLinesAndStoreThemWithCrLf)
{
    CommentsDialog dialog(QStringLiteral("one\r\ntwo"));
    auto* edit = dialog.findChild<QPlainTextEdit*>(QStringLiteral("commentEdit"));
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("one\ntwo"));
    edit->setPlainText(QStringLiteral("one\ntwo\nthree"));
    EXPECT_EQ(dialog.comment(), QStringLiteral("one\r\ntwo\r\nthree"));
}

} // namespace
