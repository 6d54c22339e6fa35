#include "catalog/DiscEdits.h"
#include "gui/covers/CoverPicture.h"
#include "gui/covers/DiscCoverPage.h"
#include "gui/covers/FullSizeCoverDialog.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace lumidex {
namespace {

const QString kRejected = QStringLiteral("File seems to be empty or big ( > 250KB )");

QImage solid(QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QByteArray jpeg(QSize size, QColor color)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    solid(size, color).save(&buffer, "JPG");
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <typename T>
T* child(const QObject& parent, const char* name)
{
    T* found = parent.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void triggerMenuEntry(CoverPicture& picture, const char* action)
{
    std::unique_ptr<QMenu> menu(picture.buildContextMenu());
    ASSERT_NE(menu, nullptr);
    QAction* entry = child<QAction>(*menu, action);
    ASSERT_NE(entry, nullptr);
    entry->trigger();
}

// ------------------------------------------------------------------------------------------------
// The picture widget

TEST(CoverPictureTest, LargePicturesShrinkKeepingTheirShapeAndAllAreCentred)
{
    struct Case {
        QSize picture;
        QRect drawn;
    };
    const Case cases[] = {
        {{400, 200}, {0, 25, 100, 50}},
        {{200, 400}, {25, 0, 50, 100}},
        {{300, 300}, {0, 0, 100, 100}},
        {{50, 40}, {25, 30, 50, 40}},
        {{100, 100}, {0, 0, 100, 100}},
    };
    CoverPicture widget;
    widget.resize(100, 100);
    EXPECT_TRUE(widget.pictureRect().isNull());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picture.width() << "x" << c.picture.height());
        widget.setPicture(solid(c.picture, Qt::red));
        EXPECT_EQ(widget.pictureRect(), c.drawn);
    }

    // What is painted is where pictureRect says.
    widget.setPicture(solid({400, 200}, Qt::red));
    const QImage painted = widget.grab().toImage();
    EXPECT_EQ(painted.pixelColor(50, 50), QColor(Qt::red));
    EXPECT_EQ(painted.pixelColor(1, 26), QColor(Qt::red));
    EXPECT_NE(painted.pixelColor(50, 10), QColor(Qt::red));
    EXPECT_NE(painted.pixelColor(50, 90), QColor(Qt::red));
}

TEST(CoverPictureTest, MenuOnlyWithAPictureAndItsEntriesEmitTheirSignals)
{
    CoverPicture widget;
    QSignalSpy copy(&widget, &CoverPicture::copyRequested);
    QSignalSpy fullSize(&widget, &CoverPicture::fullSizeRequested);
    EXPECT_EQ(widget.buildContextMenu(), nullptr);

    ASSERT_TRUE(widget.setPictureData(jpeg({30, 20}, Qt::blue)));
    EXPECT_EQ(widget.picture().size(), QSize(30, 20));
    triggerMenuEntry(widget, "actionCopyCover");
    EXPECT_EQ(copy.count(), 1);
    EXPECT_EQ(fullSize.count(), 0);
    triggerMenuEntry(widget, "actionFullSize");
    EXPECT_EQ(copy.count(), 1);
    EXPECT_EQ(fullSize.count(), 1);

    // Bytes that do not decode replace the picture with none.
    EXPECT_FALSE(widget.setPictureData("not a picture"));
    EXPECT_FALSE(widget.hasPicture());
    EXPECT_EQ(widget.buildContextMenu(), nullptr);
}

// ------------------------------------------------------------------------------------------------
// The full-size view

TEST(CoverFullSizeDialogTest, SmallPictureAtItsOwnSizeInAWindowSixPixelsLarger)
{
    FullSizeCoverDialog dialog(solid({120, 80}, Qt::green));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Cover"));
    EXPECT_EQ(dialog.size(), QSize(126, 86));
    dialog.show();
    auto* label = child<QLabel>(dialog, "fullSizeCover");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->pixmap().size(), QSize(120, 80));
    EXPECT_EQ(label->mapTo(&dialog, QPoint(0, 0)), QPoint(2, 2));
    const QRect available = dialog.screen()->availableGeometry();
    EXPECT_LE((dialog.geometry().center() - available.center()).manhattanLength(), 2);
}

TEST(CoverFullSizeDialogTest, PictureLargerThanTheScreenScrollsInsideIt)
{
    const QRect available = QApplication::primaryScreen()->availableGeometry();
    for (const QSize extra : {QSize(500, 300), QSize(200, -available.height() / 2)}) {
        const QSize size = available.size() + extra;
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        FullSizeCoverDialog dialog(solid(size, Qt::green));
        EXPECT_TRUE(available.contains(dialog.geometry())) << dialog.geometry().x() << "," << dialog.geometry().y();
        auto* scroll = child<QScrollArea>(dialog, "fullSizeScroll");
        ASSERT_NE(scroll, nullptr);
        EXPECT_EQ(child<QLabel>(dialog, "fullSizeCover")->pixmap().size(), size);
    }
}

// ------------------------------------------------------------------------------------------------
// The Cover tab

class CoverPageTest : public ::testing::Test {
protected:
    CoverPageTest()
    {
        page.setFileChooser([this](QWidget*) { return chosenFile; });
        page.setFolderChooser([this](QWidget*) { return chosenFolder; });
        page.setMessageHandler([this](QWidget*, const QString& text) { messages << text; });
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    QString makeFolder(const QString& name)
    {
        EXPECT_TRUE(QDir(dir.path()).mkpath(name));
        return dir.filePath(name);
    }
    void addCover(const QString& file)
    {
        chosenFile = file;
        child<QPushButton>(page, "addCoverButton")->click();
    }
    void copyTo(const QString& folder)
    {
        chosenFolder = folder;
        triggerMenuEntry(*page.picture(), "actionCopyCover");
    }
    bool removeEnabled() const { return child<QPushButton>(page, "removeCoverButton")->isEnabled(); }

    QTemporaryDir dir;
    DiscCoverPage page;
    QString chosenFile;
    QString chosenFolder;
    QStringList messages;
    QSignalSpy added{&page, &DiscCoverPage::coverAdded};
    QSignalSpy removed{&page, &DiscCoverPage::coverRemoved};
};

TEST_F(CoverPageTest, AddCoverShowsTheChosenFileAndReportsIt)
{
    EXPECT_FALSE(removeEnabled());
    addCover(QString());
    EXPECT_EQ(added.count(), 0);
    EXPECT_FALSE(page.hasCover());

    writeFile(path("front.JPG"), jpeg({60, 40}, Qt::blue));
    addCover(path("front.JPG"));
    ASSERT_EQ(added.count(), 1);
    EXPECT_EQ(added.at(0).at(0).toString(), path("front.JPG"));
    EXPECT_EQ(page.picture()->picture().size(), QSize(60, 40));
    EXPECT_TRUE(removeEnabled());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CoverPageTest, UnusableFilesAreRefusedAndWhatWasShownStays)
{
    const QByteArray stored = jpeg({30, 30}, Qt::yellow);
    QByteArray tooBig = jpeg({40, 40}, Qt::red);
    tooBig.append(kMaxCoverBytes + 1 - tooBig.size(), '\0');
    writeFile(path("empty.jpg"), {});
    writeFile(path("x.jpg"), "just some text\n");
    writeFile(path("big.jpg"), tooBig);

    for (const bool coverShown : {true, false}) {
        for (const char* name : {"empty.jpg", "x.jpg", "big.jpg", "missing.jpg"}) {
            SCOPED_TRACE(testing::Message() << name << (coverShown ? " over a cover" : " without cover"));
            if (coverShown)
                page.showStoredCover(stored, QStringLiteral("0_3.cov"));
            else
                page.showNoCover();
            messages.clear();
            addCover(path(QLatin1String(name)));
            EXPECT_EQ(messages, QStringList{kRejected});
            EXPECT_EQ(added.count(), 0);
            EXPECT_EQ(page.hasCover(), coverShown);
            EXPECT_EQ(removeEnabled(), coverShown);
        }
    }
    // The stored cover is still the one a copy writes.
    const QString out = makeFolder("out");
    page.showStoredCover(stored, QStringLiteral("0_3.cov"));
    addCover(path("x.jpg"));
    copyTo(out);
    EXPECT_EQ(readFile(out + "/cover.jpg"), stored);
}

TEST_F(CoverPageTest, TheSizeLimitIsExactly250000Bytes)
{
    const QByteArray picture = jpeg({50, 50}, Qt::cyan);
    ASSERT_LT(picture.size(), kMaxCoverBytes);
    for (const qint64 size : {kMaxCoverBytes, kMaxCoverBytes + 1}) {
        SCOPED_TRACE(size);
        // Bytes after the end marker: decoders ignore them, so only the size can refuse the file.
        QByteArray padded = picture;
        padded.append(size - picture.size(), '\0');
        ASSERT_FALSE(QImage::fromData(padded).isNull());
        const QString file = path(QStringLiteral("padded%1.jpg").arg(size));
        writeFile(file, padded);

        messages.clear();
        added.clear();
        addCover(file);
        const bool accepted = size <= kMaxCoverBytes;
        EXPECT_EQ(added.count(), accepted ? 1 : 0);
        EXPECT_EQ(messages, accepted ? QStringList() : QStringList{kRejected});
    }
}

TEST_F(CoverPageTest, CopyWritesStoredBytesAsCoverJpgAndNeverOverwritesIt)
{
    const QString out = makeFolder("out");
    const QByteArray first = jpeg({20, 20}, Qt::red);
    const QByteArray second = jpeg({20, 20}, Qt::green);
    const QByteArray third = jpeg({20, 20}, Qt::blue);

    page.showStoredCover(first, QStringLiteral("0_3.cov"));
    copyTo(QString());
    EXPECT_TRUE(QDir(out).isEmpty());
    copyTo(out);
    EXPECT_EQ(readFile(out + "/cover.jpg"), first);

    page.showStoredCover(second, QStringLiteral("0_3.cov"));
    copyTo(out);
    EXPECT_EQ(readFile(out + "/cover.jpg"), first);
    EXPECT_EQ(readFile(out + "/0_3.cov"), second);

    page.showStoredCover(third, QStringLiteral("0_3.cov"));
    copyTo(out);
    EXPECT_EQ(readFile(out + "/cover.jpg"), first);
    EXPECT_EQ(readFile(out + "/0_3.cov"), third);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CoverPageTest, CopyAfterAddWritesTheChosenFileUnderItsOwnName)
{
    const QString out = makeFolder("out");
    const QByteArray front = jpeg({40, 30}, Qt::magenta);
    writeFile(path("front.jpg"), front);
    writeFile(out + "/front.jpg", "an older file");
    page.showStoredCover(jpeg({20, 20}, Qt::red), QStringLiteral("0_3.cov"));
    addCover(path("front.jpg"));

    copyTo(out);
    EXPECT_EQ(readFile(out + "/front.jpg"), front);
    EXPECT_FALSE(QFile::exists(out + "/cover.jpg"));

    // Into the chosen file's own folder: the file replaces itself and stays whole.
    copyTo(dir.path());
    EXPECT_EQ(readFile(path("front.jpg")), front);

    // A stored cover shown afterwards is copied as the stored cover again.
    page.showStoredCover(front, QStringLiteral("0_3.cov"));
    copyTo(out);
    EXPECT_EQ(readFile(out + "/cover.jpg"), front);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CoverPageTest, CopyStaysInsideTheFolderAndReportsFailures)
{
    const QString out = makeFolder("out");
    const QByteArray stored = jpeg({20, 20}, Qt::red);
    writeFile(out + "/cover.jpg", "someone else's cover");
    page.showStoredCover(stored, QStringLiteral("../escape.cov"));
    copyTo(out);
    EXPECT_EQ(readFile(out + "/escape.cov"), stored);
    EXPECT_FALSE(QFile::exists(path("escape.cov")));
    EXPECT_TRUE(messages.isEmpty());

    const QString missing = path("missing");
    copyTo(missing);
    EXPECT_EQ(messages, QStringList{QStringLiteral("The cover cannot be copied to %1").arg(missing)});
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(CoverPageTest, RemoveCoverClearsThePageAndReportsIt)
{
    const QByteArray stored = jpeg({20, 20}, Qt::red);
    page.showStoredCover(stored, QStringLiteral("0_3.cov"));
    ASSERT_TRUE(removeEnabled());
    child<QPushButton>(page, "removeCoverButton")->click();
    EXPECT_EQ(removed.count(), 1);
    EXPECT_FALSE(page.hasCover());
    EXPECT_FALSE(removeEnabled());
    EXPECT_EQ(page.picture()->buildContextMenu(), nullptr);

    // An owner that cannot remove the cover shows it again from the signal, and that stays.
    QObject::connect(&page, &DiscCoverPage::coverRemoved, &page,
                     [&] { page.showStoredCover(stored, QStringLiteral("0_3.cov")); });
    page.showStoredCover(stored, QStringLiteral("0_3.cov"));
    child<QPushButton>(page, "removeCoverButton")->click();
    EXPECT_TRUE(page.hasCover());
    EXPECT_TRUE(removeEnabled());
}

TEST_F(CoverPageTest, StoredBytesThatDoNotDecodeShowNoCoverSilently)
{
    page.showStoredCover(jpeg({20, 20}, Qt::red), QStringLiteral("0_3.cov"));
    page.showStoredCover("broken", QStringLiteral("0_3.cov"));
    EXPECT_FALSE(page.hasCover());
    EXPECT_FALSE(removeEnabled());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CoverPageTest, FullSizeEntryOpensThePictureAtItsOwnSize)
{
    page.showStoredCover(jpeg({90, 70}, Qt::red), QStringLiteral("0_3.cov"));
    QSize shown;
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<FullSizeCoverDialog*>(widget);
            if (dialog && dialog->isVisible()) {
                shown = dialog->findChild<QLabel*>(QStringLiteral("fullSizeCover"))->pixmap().size();
                dialog->reject();
            }
        }
    });
    closer.start();
    triggerMenuEntry(*page.picture(), "actionFullSize");
    EXPECT_EQ(shown, QSize(90, 70));
}

} // namespace
} // namespace lumidex
