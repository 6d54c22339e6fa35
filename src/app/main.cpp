#include "gui/app/MainWindow.h"
#include "gui/settings/LanguageDialog.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QTranslator>

#include <memory>

namespace {

// One Lumidex per user session: the lock file in the runtime folder is held while the program
// runs (a lock left by a crashed process is taken over). Null when another instance holds it.
std::unique_ptr<QLockFile> lockInstance()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        folder = QDir::tempPath();
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(QStringLiteral("lumidex.lock")));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

// The interface language, 1 English, 2 Russian, 3 German: from the settings, else asked.
int settleLanguage()
{
    using namespace lumidex;
    CSettingsStore store;
    const int stored = store.GetInt(settingsKeys::Main, settingsKeys::Language, -1);
    if (stored >= 0 && stored <= 2)
        return stored + 1;
    LanguageDialog dialog;
    if (dialog.exec() != QDialog::Accepted)
        return 1;
    const int language = dialog.language();
    if (dialog.storeChoice())
        store.WriteInt(settingsKeys::Main, settingsKeys::Language, language - 1);
    return language;
}

// Russian and German texts come from lumidex_ru.qm and lumidex_de.qm when they are installed;
// without them the program stays in English.
void installTranslations(QApplication& app, int language)
{
    if (language != 2 && language != 3)
        return;
    const QString suffix = language == 2 ? QStringLiteral("ru") : QStringLiteral("de");
    const QString programFolder = QApplication::applicationDirPath();
    auto* own = new QTranslator(&app);
    for (const QString& folder : {programFolder, programFolder + QStringLiteral("/translations"),
                                  programFolder + QStringLiteral("/../share/lumidex/translations")}) {
        if (own->load(QStringLiteral("lumidex_") + suffix, folder)) {
            QApplication::installTranslator(own);
            break;
        }
    }
    auto* qt = new QTranslator(&app);
    if (qt->load(QStringLiteral("qtbase_") + suffix, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qt);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumidex"));
    QApplication::setApplicationVersion(QStringLiteral("1.122"));
    QApplication::setDesktopFileName(QStringLiteral("lumidex"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/lumidex.png")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Lumidex, a catalog of discs and media."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("catalog"), QStringLiteral("A catalog file (*.sav) to open."),
                                 QStringLiteral("[catalog]"));
    parser.process(app);

    const std::unique_ptr<QLockFile> instance = lockInstance();
    if (!instance)
        return 0;

    const int language = settleLanguage();
    installTranslations(app, language);

    lumidex::MainWindow window(language);
    window.show();
    const QStringList files = parser.positionalArguments();
    window.startUp(files.isEmpty() ? QString() : files.constFirst());
    return QApplication::exec();
}
