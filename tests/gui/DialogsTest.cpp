#include "gui/app/CategoryWizard.h"
#include "catalog/CategoryIcons.h"
#include "gui/settings/LanguageDialog.h"
#include "gui/settings/OptionsSheet.h"
#include "gui/widgets/ProgressDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "ChildLookup.h"

namespace lumidex {
namespace {

// Answers every message box that opens while it lives, remembering captions and texts.
class MessageBoxCatcher {
public:
    MessageBoxCatcher()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(widget);
                if (box && box->isVisible()) {
                    captions << box->windowTitle();
                    texts << box->text();
                    box->accept();
                }
            }
        });
        m_timer.start();
    }

    QStringList captions;
    QStringList texts;

private:
    QTimer m_timer;
};

using test::child;

// ------------------------------------------------------------------------------------------------
// Options sheet

TEST(OptionsSheetTest, DefaultsAndAnEditedRecordComeBackUnchanged)
{
    EXPECT_EQ(OptionsSheet(ScanOptions()).options(), ScanOptions());

    ScanOptions edited;
    edited[ScanOptions::AllFolders] = 0;
    edited[ScanOptions::Levels] = 5;
    edited[ScanOptions::AllFiles] = 0;
    edited[ScanOptions::FilesPerFolder] = 7;
    edited[ScanOptions::UseLabel] = 1;
    edited[ScanOptions::Eject] = 0;
    edited[ScanOptions::OpenLast] = 1;
    edited[ScanOptions::Rar] = 0;
    edited[ScanOptions::Me] = 0;
    edited[ScanOptions::AnySize] = 0;
    edited[ScanOptions::MaxSize] = 123456;
    EXPECT_EQ(OptionsSheet(edited).options(), edited);
}

TEST(OptionsSheetTest, EachCheckBoxSetsItsOwnField)
{
    const std::pair<const char*, ScanOptions::Field> boxes[] = {
        {"scanAllFolders", ScanOptions::AllFolders},
        {"scanAllFiles", ScanOptions::AllFiles},
        {"useLabel", ScanOptions::UseLabel},
        {"eject", ScanOptions::Eject},
        {"openLast", ScanOptions::OpenLast},
        {"zip", ScanOptions::Zip},
        {"rar", ScanOptions::Rar},
        {"arj", ScanOptions::Arj},
        {"cab", ScanOptions::Cab},
        {"lha", ScanOptions::Lha},
        {"lzh", ScanOptions::Lzh},
        {"txt", ScanOptions::Txt},
        {"nfo", ScanOptions::Nfo},
        {"diz", ScanOptions::Diz},
        {"bang", ScanOptions::Bang},
        {"me", ScanOptions::Me},
        {"lst", ScanOptions::Lst},
        {"mp3", ScanOptions::Mp3},
        {"anySize", ScanOptions::AnySize},
    };
    for (const auto& [name, field] : boxes) {
        SCOPED_TRACE(name);
        const ScanOptions initial;
        OptionsSheet sheet(initial);
        auto* box = child<QCheckBox>(sheet, name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->isChecked(), initial.isOn(field));
        box->click();
        for (int f = 0; f < ScanOptions::FieldCount; ++f) {
            const auto other = ScanOptions::Field(f);
            if (other == field) {
                EXPECT_EQ(sheet.options()[other], initial.isOn(field) ? 0 : 1);
            } else if (other != ScanOptions::Levels && other != ScanOptions::FilesPerFolder) {
                EXPECT_EQ(sheet.options()[other], initial[other]) << "field " << f;
            }
        }
    }
}

TEST(OptionsSheetTest, ScanAllOverridesTheLimitsAndTheLimitComesBackAsTheMaximum)
{
    ScanOptions limited;
    limited[ScanOptions::AllFolders] = 0;
    limited[ScanOptions::Levels] = 3;
    limited[ScanOptions::AllFiles] = 0;
    limited[ScanOptions::FilesPerFolder] = 10;

    OptionsSheet sheet(limited);
    child<QSpinBox>(sheet, "levelSpin")->setValue(5);
    child<QCheckBox>(sheet, "scanAllFolders")->click();
    child<QCheckBox>(sheet, "scanAllFiles")->click();
    const ScanOptions confirmed = sheet.options();
    EXPECT_EQ(confirmed[ScanOptions::AllFolders], 1);
    EXPECT_EQ(confirmed[ScanOptions::Levels], 32);
    EXPECT_EQ(confirmed[ScanOptions::AllFiles], 1);
    EXPECT_EQ(confirmed[ScanOptions::FilesPerFolder], 2000);

    OptionsSheet again(confirmed);
    child<QCheckBox>(again, "scanAllFolders")->click();
    child<QCheckBox>(again, "scanAllFiles")->click();
    EXPECT_EQ(child<QSpinBox>(again, "levelSpin")->value(), 32);
    EXPECT_EQ(child<QSpinBox>(again, "filesSpin")->value(), 2000);
    EXPECT_EQ(again.options()[ScanOptions::Levels], 32);
}

TEST(OptionsSheetTest, ToggledBoxesDisableTheirFieldsAndTheSpinsKeepTheirRanges)
{
    ScanOptions options;
    options[ScanOptions::AllFolders] = 0;
    options[ScanOptions::AnySize] = 0;
    OptionsSheet sheet(options);
    auto* level = child<QSpinBox>(sheet, "levelSpin");
    auto* files = child<QSpinBox>(sheet, "filesSpin");
    auto* maxSize = child<QSpinBox>(sheet, "maxSize");

    // As opened: the checked box disables its field, the cleared ones leave theirs enabled.
    EXPECT_TRUE(level->isEnabled());
    EXPECT_FALSE(files->isEnabled());
    EXPECT_TRUE(maxSize->isEnabled());

    child<QCheckBox>(sheet, "scanAllFolders")->click();
    child<QCheckBox>(sheet, "scanAllFiles")->click();
    child<QCheckBox>(sheet, "anySize")->click();
    EXPECT_FALSE(level->isEnabled());
    EXPECT_TRUE(files->isEnabled());
    EXPECT_FALSE(maxSize->isEnabled());

    EXPECT_EQ(level->minimum(), 0);
    EXPECT_EQ(level->maximum(), 32);
    EXPECT_EQ(files->minimum(), 0);
    EXPECT_EQ(files->maximum(), 2000);
    EXPECT_EQ(maxSize->minimum(), 1);
    EXPECT_EQ(maxSize->maximum(), 1000000);
}

// ------------------------------------------------------------------------------------------------
// Category wizard and rename dialog

TEST(CategoryWizardTest, FirstPageRefusesABlankNameAndOffersMediaOnlyOnce)
{
    CWizardCategory wizard(false);
    wizard.show();
    EXPECT_TRUE(child<QRadioButton>(wizard, "filesKind")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(wizard, "mediaKind")->isEnabled());

    for (const char* name : {"", "   "}) {
        child<QLineEdit>(wizard, "nameEdit")->setText(QString::fromLatin1(name));
        MessageBoxCatcher catcher;
        wizard.next();
        EXPECT_EQ(wizard.currentId(), 0);
        EXPECT_EQ(catcher.captions, QStringList{"Error"});
        EXPECT_EQ(catcher.texts, QStringList{"Enter the valid name "});
    }

    CWizardCategory second(true);
    second.show();
    EXPECT_FALSE(child<QRadioButton>(second, "mediaKind")->isEnabled());
    EXPECT_EQ(second.kind(), CategoryKind::Files);
}

TEST(CategoryWizardTest, DeliversNameKindAndIconOnlyWithAnIconChosen)
{
    CWizardCategory wizard(false);
    wizard.show();
    child<QLineEdit>(wizard, "nameEdit")->setText(QStringLiteral("  Games "));
    child<QRadioButton>(wizard, "mediaKind")->click();

    wizard.accept(); // there is no Finish on the first page
    EXPECT_TRUE(wizard.isVisible());

    wizard.next();
    ASSERT_EQ(wizard.currentId(), 1);
    {
        MessageBoxCatcher catcher;
        wizard.accept();
        EXPECT_TRUE(wizard.isVisible());
        EXPECT_EQ(catcher.captions, QStringList{" "});
        EXPECT_EQ(catcher.texts, QStringList{"Please select an icon"});
    }

    auto* list = child<QListWidget>(wizard, "iconList");
    ASSERT_EQ(list->count(), 3);
    list->setCurrentRow(2);
    wizard.accept();
    EXPECT_FALSE(wizard.isVisible());
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    EXPECT_EQ(wizard.categoryName(), QStringLiteral("Games"));
    EXPECT_EQ(wizard.kind(), CategoryKind::Media);
    EXPECT_EQ(wizard.icon(), builtInCategoryIcon(BuiltInIcon::Media));
}

TEST(CategoryWizardTest, IconFilesJoinTheListAndUnreadableOnesAreReported)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString png = dir.filePath(QStringLiteral("red.png"));
    QImage red(64, 64, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(png));

    CWizardCategory wizard(false);
    wizard.show();
    auto* list = child<QListWidget>(wizard, "iconList");
    {
        MessageBoxCatcher catcher;
        EXPECT_FALSE(wizard.addIconFile(dir.filePath(QStringLiteral("missing.png"))));
        EXPECT_EQ(catcher.texts, QStringList{"There are no icons available for the file specified."});
    }
    EXPECT_EQ(list->count(), 3);
    EXPECT_TRUE(wizard.icon().isNull());

    ASSERT_TRUE(wizard.addIconFile(png));
    ASSERT_TRUE(wizard.addIconFile(png)); // chosen again: still one entry
    EXPECT_EQ(list->count(), 4);
    const QImage icon = wizard.icon();
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(icon.pixelColor(16, 16), QColor(Qt::red));
}

TEST(RenameDialogTest, OkNeedsANameOfAtMost24Characters)
{
    CRenameDialog dialog(QStringLiteral("Name exists"), QStringLiteral("Select another name"), QStringLiteral("Music"));
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Name exists"));
    EXPECT_EQ(child<QLabel>(dialog, "promptLabel")->text(), QStringLiteral("Select another name"));
    auto* edit = child<QLineEdit>(dialog, "nameEdit");
    QPushButton* ok = child<QDialogButtonBox>(dialog, "buttons")->button(QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.name(), QStringLiteral("Music"));
    EXPECT_TRUE(ok->isEnabled());

    for (const char* blank : {"", "  "}) {
        edit->setText(QString::fromLatin1(blank));
        EXPECT_FALSE(ok->isEnabled());
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
    }

    edit->clear();
    QTest::keyClicks(edit, QString(30, QLatin1Char('x')));
    EXPECT_EQ(dialog.name(), QString(24, QLatin1Char('x')));
    ok->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    CRenameDialog plain({}, {}, {});
    EXPECT_EQ(plain.windowTitle(), QStringLiteral("Rename"));
    EXPECT_EQ(child<QLabel>(plain, "promptLabel")->text(), QStringLiteral("Enter new Category Name"));
}

// ------------------------------------------------------------------------------------------------
// Language dialog and progress window

TEST(LanguageDialogTest, RadioButtonsGiveTheLanguageCodes)
{
    LanguageDialog dialog;
    EXPECT_EQ(dialog.language(), 1);
    EXPECT_FALSE(dialog.storeChoice());
    child<QRadioButton>(dialog, "russian")->click();
    EXPECT_EQ(dialog.language(), 2);
    child<QRadioButton>(dialog, "german")->click();
    EXPECT_EQ(dialog.language(), 3);
    child<QRadioButton>(dialog, "english")->click();
    EXPECT_EQ(dialog.language(), 1);
    child<QCheckBox>(dialog, "dontShowAgain")->click();
    EXPECT_TRUE(dialog.storeChoice());
}

TEST(ProgressDialogTest, StepsStopAtTheEndOfTheRangeAndEscDoesNotCloseIt)
{
    ProgressDialog progress;
    progress.show();
    auto* bar = child<QProgressBar>(progress, "progressBar");
    progress.setRange(2);
    progress.step();
    progress.step();
    progress.step();
    EXPECT_EQ(bar->value(), 2);
    progress.setRange(5);
    EXPECT_EQ(bar->value(), 0);
    progress.setRange(0); // nothing to count: a bar, not a busy indicator
    EXPECT_GT(bar->maximum(), bar->minimum());

    QTest::keyClick(&progress, Qt::Key_Escape);
    EXPECT_TRUE(progress.isVisible());
}

} // namespace
} // namespace lumidex
