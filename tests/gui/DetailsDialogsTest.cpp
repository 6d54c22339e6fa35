#include "gui/details/ArchiveListDialog.h"
#include "gui/details/DescriptionDialog.h"
#include "gui/details/Mp3InfoDialog.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFontComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include "ChildLookup.h"

namespace lumidex {
namespace {

using test::child;

// ------------------------------------------------------------------------------------------------
// Description

TEST(DetailsDescriptionDialogTest, ShowsEachStoredLineOnItsOwnLineDecoded)
{
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        LegacyCodePage legacy;
        QString shown;
    };
    const Case cases[] = {
        {"plain", {"A\n", "B\n"}, LegacyCodePage::Windows1252, QStringLiteral("A\nB")},
        {"last line without LF", {"A\n", "B"}, LegacyCodePage::Windows1252, QStringLiteral("A\nB")},
        {"empty lines kept", {"A\n", "\n", "B\n"}, LegacyCodePage::Windows1252, QStringLiteral("A\n\nB")},
        {"empty file", {"\n"}, LegacyCodePage::Windows1252, QString()},
        {"Windows-1252", {"caf\xe9\n"}, LegacyCodePage::Windows1252, QStringLiteral("caf\u00e9")},
        {"Windows-1251", {"\xe4\xe0\n"}, LegacyCodePage::Windows1251, QStringLiteral("\u0434\u0430")},
        {"UTF-8", {"caf\xc3\xa9\n"}, LegacyCodePage::Windows1252, QStringLiteral("caf\u00e9")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DescriptionDialog dialog(QStringLiteral("readme.nfo"), c.lines, c.legacy);
        EXPECT_EQ(dialog.text(), c.shown);
    }

    DescriptionDialog dialog(QStringLiteral("readme.nfo"), {"A\n"}, LegacyCodePage::Windows1252);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("readme.nfo"));
    auto* edit = child<QPlainTextEdit>(dialog, "descriptionText");
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST(DetailsDescriptionDialogTest, ACharacterSplitBetweenStoredPiecesStaysWhole)
{
    // A long UTF-8 line stored as a 255-byte piece plus LF, the cut falling inside a "д".
    std::string first;
    for (int i = 0; i < 127; ++i)
        first += "\xd0\xb4";
    first += "\xd0\n";
    ASSERT_EQ(first.size(), 256u);
    const std::vector<std::string> lines = {first, "\xb4" "end\n", "caf\xc3\xa9\n"};

    DescriptionDialog dialog(QStringLiteral("long.txt"), lines, LegacyCodePage::Windows1251);
    EXPECT_EQ(dialog.text(),
              QString(127, QChar(0x0434)) + QStringLiteral("\n\u0434end\ncaf\u00e9"));
}

TEST(DetailsDescriptionDialogTest, OpensMonospacedAndTheChoicesChangeFamilyAndSizeApart)
{
    DescriptionDialog dialog(QStringLiteral("art.nfo"), {"+--+\n"}, LegacyCodePage::Windows1252);
    EXPECT_EQ(dialog.textFont().pointSize(), 12);
    const QFontMetrics metrics(dialog.textFont()); // QFontInfo::fixedPitch() misses some monospaced fonts
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('W')))
        << dialog.textFont().family().toStdString();

    auto* sizes = child<QComboBox>(dialog, "sizeCombo");
    auto* fonts = child<QFontComboBox>(dialog, "fontCombo");
    ASSERT_TRUE(sizes && fonts);
    EXPECT_EQ(sizes->currentText(), QStringLiteral("12"));
    ASSERT_GE(fonts->count(), 2);

    sizes->setCurrentIndex(sizes->findText(QStringLiteral("20")));
    EXPECT_EQ(dialog.textFont().pointSize(), 20);
    const QString before = dialog.textFont().family();

    const int other = fonts->currentIndex() == 0 ? 1 : 0;
    fonts->setCurrentIndex(other);
    EXPECT_EQ(dialog.textFont().family(), fonts->itemText(other));
    EXPECT_NE(dialog.textFont().family(), before);
    EXPECT_EQ(dialog.textFont().pointSize(), 20);

    sizes->setCurrentIndex(sizes->findText(QStringLiteral("9")));
    EXPECT_EQ(dialog.textFont().family(), fonts->itemText(other));
    EXPECT_EQ(dialog.textFont().pointSize(), 9);
}

// ------------------------------------------------------------------------------------------------
// Archive listing

QStringList rowTexts(const QTreeView& view, int row)
{
    const QAbstractItemModel* model = view.model();
    return {model->index(row, 0).data().toString(), model->index(row, 1).data().toString(),
            model->index(row, 2).data().toString()};
}

QStringList columnTexts(const QTreeView& view, int column)
{
    QStringList texts;
    for (int row = 0; row < view.model()->rowCount(); ++row)
        texts << view.model()->index(row, column).data().toString();
    return texts;
}

void clickHeader(QTreeView& view, int column)
{
    QHeaderView* header = view.header();
    const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
}

TEST(DetailsArchiveListDialogTest, SplitsEachLineIntoFilePathAndSize)
{
    const std::vector<std::string> lines = {
        "readme.txt, ,42\n", "a,b,c,12", "Error,Error,Error", "lonely\n", "name,folder", "", "caf\xe9,docs,7\n",
    };
    ArchiveListDialog dialog(QStringLiteral("demo.zip"), lines, LegacyCodePage::Windows1252);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("demo.zip"));
    const QTreeView& view = *dialog.list();
    ASSERT_EQ(view.model()->rowCount(), int(lines.size()));

    const QStringList expected[] = {
        {"readme.txt", " ", "42"}, {"a", "b", "12"},         {"Error", "Error", "Error"}, {"lonely", "", ""},
        {"name", "folder", ""},    {"", "", ""},             {QStringLiteral("caf\u00e9"), "docs", "7"},
    };
    for (int row = 0; row < int(lines.size()); ++row)
        EXPECT_EQ(rowTexts(view, row), expected[row]) << "row " << row;

    const QStringList headers = {view.model()->headerData(0, Qt::Horizontal).toString(),
                                 view.model()->headerData(1, Qt::Horizontal).toString(),
                                 view.model()->headerData(2, Qt::Horizontal).toString()};
    EXPECT_EQ(headers, QStringList({"File", "Path", "Size"}));
    EXPECT_EQ(view.columnWidth(0), 160);
    EXPECT_EQ(view.columnWidth(1), 120);
}

TEST(DetailsArchiveListDialogTest, HeaderClicksSortWithOneDirectionForAllColumnsStartingDescending)
{
    const std::vector<std::string> lines = {"b,x,9\n", "A,y,100\n", "C,z,junk\n"};
    ArchiveListDialog dialog(QStringLiteral("demo.zip"), lines, LegacyCodePage::Windows1252);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTreeView& view = *dialog.list();
    QHeaderView* header = view.header();

    clickHeader(view, 0); // File, case ignored: a case-sensitive sort would give b, C, A
    EXPECT_EQ(columnTexts(view, 0), QStringList({"C", "b", "A"}));
    EXPECT_EQ(header->sortIndicatorSection(), 0);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);

    clickHeader(view, 2); // Size, numeric, a non-number as 0; the direction carries over and flips
    EXPECT_EQ(columnTexts(view, 2), QStringList({"junk", "9", "100"}));
    EXPECT_EQ(header->sortIndicatorSection(), 2);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);

    clickHeader(view, 2);
    EXPECT_EQ(columnTexts(view, 2), QStringList({"100", "9", "junk"}));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);

    // Rows move whole.
    EXPECT_EQ(rowTexts(view, 0), QStringList({"A", "y", "100"}));
}

TEST(DetailsArchiveListDialogTest, ALargeListingOpensAndSortsQuickly)
{
    constexpr int count = 100000;
    std::vector<std::string> lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines.push_back("file" + std::to_string(i) + ".dat,folder" + std::to_string(i % 97) + "," +
                        std::to_string((i * 7919) % count) + "\n");

    // Generous bounds: they only catch work that grows faster than the listing.
    QElapsedTimer timer;
    timer.start();
    ArchiveListDialog dialog(QStringLiteral("big.zip"), lines, LegacyCodePage::Windows1252);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTreeView& view = *dialog.list();
    clickHeader(view, 2);
    clickHeader(view, 0);
    EXPECT_LT(timer.elapsed(), 10000);

    ASSERT_EQ(view.model()->rowCount(), count);
    EXPECT_EQ(view.model()->index(0, 0).data().toString(), QStringLiteral("file0.dat"));
    EXPECT_EQ(view.model()->index(count - 1, 0).data().toString(), QStringLiteral("file99999.dat"));
}

// ------------------------------------------------------------------------------------------------
// MP3 info

const char* const kEditNames[Mp3FieldCount] = {"fileNameEdit", "bitrateEdit", "frequencyEdit", "modeEdit",
                                                "titleEdit",    "artistEdit",  "albumEdit",     "yearEdit",
                                                "commentEdit",  "genreEdit"};

QLineEdit* fieldEdit(const QDialog& dialog, int field)
{
    return child<QLineEdit>(dialog, kEditNames[field]);
}

TEST(DetailsMp3InfoDialogTest, TheStoredLineFillsTheTenFields)
{
    const std::string line = "caf\xe9.mp3~128~44100~Joint-stereo~Caf\xe9~Artist~Album~1999~Comment~Rock~";
    Mp3InfoDialog dialog(QStringLiteral("disc 1"), line, LegacyCodePage::Windows1252);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("MP3 Info - disc 1"));

    const QString shown[Mp3FieldCount] = {QStringLiteral("caf\u00e9.mp3"), "128", "44100", "Joint-stereo",
                                          QStringLiteral("Caf\u00e9"), "Artist", "Album", "1999", "Comment", "Rock"};
    for (int field = 0; field < Mp3FieldCount; ++field) {
        QLineEdit* edit = fieldEdit(dialog, field);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), shown[field]) << kEditNames[field];
        EXPECT_EQ(edit->isReadOnly(), field < Mp3Field::Title) << kEditNames[field];
    }
}

TEST(DetailsMp3InfoDialogTest, EmptyLineLeavesTheFieldsEmptyAndCancelRejects)
{
    Mp3InfoDialog dialog(QStringLiteral("disc"), std::string(), LegacyCodePage::Windows1252);
    for (int field = 0; field < Mp3FieldCount; ++field)
        EXPECT_TRUE(fieldEdit(dialog, field)->text().isEmpty()) << kEditNames[field];
    EXPECT_EQ(dialog.fields()[Mp3Field::FileName], "");

    child<QPushButton>(dialog, "cancelButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(DetailsMp3InfoDialogTest, TypedTildesBecomeUnderscoresAndYearTakesDigitsOnly)
{
    // A stored blank is an empty value: the year field must take digits from the start.
    Mp3InfoDialog dialog(QStringLiteral("disc"), "a.mp3~128~44100~Mono~ ~ ~ ~ ~ ~ ~", LegacyCodePage::Windows1252);
    QLineEdit* title = fieldEdit(dialog, Mp3Field::Title);
    EXPECT_TRUE(title->text().isEmpty());

    QTest::keyClicks(title, QStringLiteral("A~B"));
    EXPECT_EQ(title->text(), QStringLiteral("A_B"));

    title->setCursorPosition(1);
    QTest::keyClicks(title, QStringLiteral("~"));
    EXPECT_EQ(title->text(), QStringLiteral("A__B"));
    EXPECT_EQ(title->cursorPosition(), 2);

    QLineEdit* genre = fieldEdit(dialog, Mp3Field::Genre);
    genre->setText(QStringLiteral("Drum~Bass")); // pasted text too
    EXPECT_EQ(genre->text(), QStringLiteral("Drum_Bass"));

    QLineEdit* year = fieldEdit(dialog, Mp3Field::Year);
    QTest::keyClicks(year, QStringLiteral("19x995"));
    EXPECT_EQ(year->text(), QStringLiteral("1999"));
}

TEST(DetailsMp3InfoDialogTest, UpdateInfoGivesCatalogBytesAndKeepsTheReadOnlyFieldsAsStored)
{
    const std::string longTitle(40, 'T'); // longer than a tag holds: not cut by just opening
    const std::string line =
        "caf\xe9.mp3~128~44100~ ~" + longTitle + "~Artist~Album~1999~Comment~Rock~";
    Mp3InfoDialog dialog(QStringLiteral("disc"), line, LegacyCodePage::Windows1252);

    fieldEdit(dialog, Mp3Field::Artist)->clear();
    QLineEdit* album = fieldEdit(dialog, Mp3Field::Album);
    album->clear();
    album->insert(QStringLiteral("Caf\u00e9"));
    child<QPushButton>(dialog, "updateButton")->click();

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const Mp3Fields fields = dialog.fields();
    const Mp3Fields expected = {"caf\xe9.mp3", "128", "44100", " ", longTitle, " ", "Caf\xc3\xa9", "1999", "Comment",
                                "Rock"};
    EXPECT_EQ(fields, expected);
    EXPECT_EQ(fieldEdit(dialog, Mp3Field::Artist)->text(), QStringLiteral(" "));
}

} // namespace
} // namespace lumidex
