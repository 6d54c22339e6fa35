#pragma once

// The main window under test: scripted answers to every question it asks, a made-up machine
// for its CD drives, and a settings folder of its own.
#include "gui/app/CategoryBar.h"
#include "gui/app/MainWindow.h"
#include "gui/app/UserPrompts.h"

#include "catalog/CatalogDocument.h"
#include "scan/FakeDriveAccess.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lumidex::test {

struct Message {
    QMessageBox::Icon icon;
    QString text;
};

// The answers a test gives to the window's questions, and a record of what was asked.
struct Answers {
    std::vector<Message> messages;
    std::deque<QMessageBox::StandardButton> buttons;
    std::deque<QString> savePaths;
    std::deque<std::optional<NewCategoryChoice>> wizards;
    std::vector<bool> wizardMediaFlags;
    std::deque<std::optional<QString>> names;
    std::vector<std::pair<QString, QString>> nameDialogs; // caption, prompt

    std::deque<std::optional<QString>> discNames;
    std::vector<std::pair<QString, QString>> discNamePrompts; // prompt, preset name
    std::deque<std::optional<std::pair<QString, int>>> numberedNames;
    std::vector<std::pair<QString, int>> numberedPrompts;
    std::deque<std::optional<int>> driveRows;
    std::vector<std::vector<DriveEntry>> driveLists;
    std::deque<QString> folders;
    std::deque<QString> coverFiles;
    std::deque<std::optional<QString>> comments;
    std::vector<QString> commentsShown;
    std::vector<int> jumps;
    std::vector<QStringList> quickJumpLists;
    struct Details {
        QString kind; // "description", "archive" or "mp3"
        QString caption;
        std::vector<std::string> lines;
    };
    std::vector<Details> details;
    std::deque<std::optional<Mp3Fields>> mp3Fields;
};

class ScriptedPrompts : public UserPrompts {
public:
    explicit ScriptedPrompts(std::shared_ptr<Answers> answers)
        : m_answers(std::move(answers))
    {
    }

    QMessageBox::StandardButton ask(QWidget*, QMessageBox::Icon icon, const QString& text,
                                    QMessageBox::StandardButtons) override
    {
        m_answers->messages.push_back({icon, text});
        if (m_answers->buttons.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return QMessageBox::Cancel;
        }
        const QMessageBox::StandardButton button = m_answers->buttons.front();
        m_answers->buttons.pop_front();
        return button;
    }
    void tell(QWidget*, QMessageBox::Icon icon, const QString& text) override
    {
        m_answers->messages.push_back({icon, text});
    }
    QString openCatalogPath(QWidget*, const QString&) override { return {}; }
    QString saveCatalogPath(QWidget*, const QString&) override
    {
        if (m_answers->savePaths.empty())
            return {};
        const QString path = m_answers->savePaths.front();
        m_answers->savePaths.pop_front();
        return path;
    }
    std::optional<NewCategoryChoice> newCategory(QWidget*, bool mediaCategoryExists) override
    {
        m_answers->wizardMediaFlags.push_back(mediaCategoryExists);
        if (m_answers->wizards.empty())
            return std::nullopt;
        auto choice = m_answers->wizards.front();
        m_answers->wizards.pop_front();
        return choice;
    }
    std::optional<QString> categoryName(QWidget*, const QString& caption, const QString& prompt,
                                        const QString&) override
    {
        m_answers->nameDialogs.emplace_back(caption, prompt);
        if (m_answers->names.empty())
            return std::nullopt;
        auto name = m_answers->names.front();
        m_answers->names.pop_front();
        return name;
    }
    std::optional<QImage> categoryIcon(QWidget*) override { return std::nullopt; }
    std::optional<ScanOptions> scanOptions(QWidget*, const ScanOptions&) override { return std::nullopt; }

    std::optional<QString> discName(QWidget*, const QString& prompt, const QString& name) override
    {
        m_answers->discNamePrompts.push_back({prompt, name});
        return next(m_answers->discNames);
    }
    std::optional<std::pair<QString, int>> numberedName(QWidget*, const QString& baseName, int counter,
                                                        const QPoint&) override
    {
        m_answers->numberedPrompts.push_back({baseName, counter});
        return next(m_answers->numberedNames);
    }
    std::optional<int> driveRow(QWidget*, const std::vector<DriveEntry>& drives) override
    {
        m_answers->driveLists.push_back(drives);
        return next(m_answers->driveRows);
    }
    QString folder(QWidget*) override { return next(m_answers->folders).value_or(QString()); }
    QString coverFile(QWidget*) override { return next(m_answers->coverFiles).value_or(QString()); }
    std::optional<QString> comment(QWidget*, const QString& comment) override
    {
        m_answers->commentsShown.push_back(comment);
        return next(m_answers->comments);
    }
    void quickJump(QWidget*, const QStringList& discNames, int, const std::function<void(int)>& jump) override
    {
        m_answers->quickJumpLists.push_back(discNames);
        for (int disc : m_answers->jumps)
            jump(disc);
    }
    void showDescription(QWidget*, const QString& caption, const std::vector<std::string>& lines,
                         LegacyCodePage) override
    {
        m_answers->details.push_back({QStringLiteral("description"), caption, lines});
    }
    void showArchiveList(QWidget*, const QString& caption, const std::vector<std::string>& lines,
                         LegacyCodePage) override
    {
        m_answers->details.push_back({QStringLiteral("archive"), caption, lines});
    }
    std::optional<Mp3Fields> mp3Info(QWidget*, const QString& caption, const std::string& line,
                                     LegacyCodePage) override
    {
        m_answers->details.push_back({QStringLiteral("mp3"), caption, {line}});
        return next(m_answers->mp3Fields);
    }

private:
    template <typename T>
    static std::optional<T> next(std::deque<std::optional<T>>& queue)
    {
        if (queue.empty())
            return std::nullopt;
        std::optional<T> value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
    template <typename T>
    static std::optional<T> next(std::deque<T>& queue)
    {
        if (queue.empty())
            return std::nullopt;
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }

    std::shared_ptr<Answers> m_answers;
};

inline std::string bytes(const QString& text)
{
    return QFile::encodeName(text).toStdString();
}

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        m_hadHome = qEnvironmentVariableIsSet("LUMIDEX_HOME");
        m_previousHome = qgetenv("LUMIDEX_HOME");
        // Every window of a test keeps its settings and working container in the test's folder.
        qputenv("LUMIDEX_HOME", QFile::encodeName(m_home.path()));
    }

    void TearDown() override
    {
        m_window.reset();
        if (m_hadHome)
            qputenv("LUMIDEX_HOME", m_previousHome);
        else
            qunsetenv("LUMIDEX_HOME");
    }

    // The window gets the scripted answers and `drives` (kept here, so that tests can change
    // the machine while the window runs).
    MainWindow& makeWindow()
    {
        auto access = std::make_unique<FakeDriveAccess>();
        *access = drives;
        driveAccess = access.get();
        m_window = std::make_unique<MainWindow>(1, std::make_unique<ScriptedPrompts>(answers), std::move(access));
        return *m_window;
    }

    QString home(const QString& name) const { return m_home.filePath(name); }

    // A catalog file written by core, with its container beside it.
    QString writeCatalog(const QString& name, Catalog catalog)
    {
        CatalogDocument document(home(QStringLiteral("fixture.zip")));
        EXPECT_EQ(document.resetToNew(), QString());
        document.catalog() = std::move(catalog);
        const QString path = home(name);
        EXPECT_EQ(document.save(path), QString());
        return path;
    }

    static bool open(MainWindow& window, const QString& path)
    {
        QSignalSpy opened(&window, &MainWindow::catalogOpened);
        window.openCatalog(path);
        if (!opened.wait(20000)) {
            ADD_FAILURE() << "the open did not finish";
            return false;
        }
        return opened.first().first().toBool();
    }

    static CategoryBar* bar(MainWindow& window) { return window.findChild<CategoryBar*>(QStringLiteral("categoryBar")); }
    static QStackedWidget* pages(MainWindow& window)
    {
        return window.findChild<QStackedWidget*>(QStringLiteral("pageArea"));
    }
    static QString title(MainWindow& window)
    {
        return window.findChild<QLabel*>(QStringLiteral("categoryTitle"))->text();
    }

    static QStringList barNames(MainWindow& window)
    {
        QStringList names;
        for (int i = 0; i < bar(window)->count(); ++i)
            names << bar(window)->item(i)->text();
        return names;
    }

    static QStringList menuTexts(QMenu* menu)
    {
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return texts;
    }

    std::vector<QString> messageTexts() const
    {
        std::vector<QString> texts;
        for (const Message& m : answers->messages)
            texts.push_back(m.text);
        return texts;
    }

    std::shared_ptr<Answers> answers = std::make_shared<Answers>();
    FakeDriveAccess drives;               // the machine a window made next will see
    FakeDriveAccess* driveAccess = nullptr; // the machine the current window sees

private:
    QTemporaryDir m_home;
    bool m_hadHome = false;
    QByteArray m_previousHome;
    std::unique_ptr<MainWindow> m_window;
};


} // namespace lumidex::test
