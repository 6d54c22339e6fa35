#include "settings/AppPaths.h"

#include <QDir>
#include <QStandardPaths>

namespace lumidex {

namespace {

QString homeOverride()
{
    const QString home = qEnvironmentVariable("LUMIDEX_HOME");
    return home.isEmpty() ? QString() : QDir::cleanPath(QDir(home).absolutePath());
}

QString inDataFolder(const QString& name)
{
    return dataFolder() + QLatin1Char('/') + name;
}

} // namespace

QString dataFolder()
{
    const QString home = homeOverride();
    if (!home.isEmpty())
        return home;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/lumidex");
}

QString settingsFilePath()
{
    const QString home = homeOverride();
    if (!home.isEmpty())
        return home + QStringLiteral("/lumidex.ini");
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/lumidex/lumidex.ini");
}

QString workingFolder()
{
    return inDataFolder(QStringLiteral("Catalogs"));
}

QString reportsFolder()
{
    return inDataFolder(QStringLiteral("Reports"));
}

QString workingContainerPath()
{
    return inDataFolder(QStringLiteral("dummy.zip"));
}

QString searchHistoryPath()
{
    return inDataFolder(QStringLiteral("search.dat"));
}

QString defaultComparisonReportPath()
{
    return inDataFolder(QStringLiteral("compare.txt"));
}

bool ensureDataFolders()
{
    QDir dir;
    const bool working = dir.mkpath(workingFolder());
    const bool reports = dir.mkpath(reportsFolder());
    return working && reports;
}

} // namespace lumidex
