#include "settings/AppPaths.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumidex;

namespace {

// Sets or clears an environment variable for one test and puts the old value back.
class EnvOverride {
public:
    EnvOverride(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~EnvOverride()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

TEST(AppPaths, LumidexHomeHoldsDataAndSettings)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString home = dir.filePath("home");
    EnvOverride env("LUMIDEX_HOME", QFile::encodeName(home));

    EXPECT_EQ(dataFolder(), home);
    EXPECT_EQ(settingsFilePath(), home + "/lumidex.ini");
    EXPECT_EQ(CSettingsStore().filePath(), home + "/lumidex.ini");
    EXPECT_EQ(workingFolder(), home + "/Catalogs");
    EXPECT_EQ(reportsFolder(), home + "/Reports");
    EXPECT_EQ(workingContainerPath(), home + "/dummy.zip");
    EXPECT_EQ(searchHistoryPath(), home + "/search.dat");

    ASSERT_TRUE(ensureDataFolders());
    EXPECT_TRUE(QFileInfo(home + "/Catalogs").isDir());
    EXPECT_TRUE(QFileInfo(home + "/Reports").isDir());
    EXPECT_TRUE(ensureDataFolders()) << "existing folders are fine";
}

TEST(AppPaths, RelativeHomeIsMadeAbsolute)
{
    EnvOverride env("LUMIDEX_HOME", "rel/../portable");
    EXPECT_EQ(dataFolder(), QDir::current().absoluteFilePath("portable"));
}

TEST(AppPaths, WithoutLumidexHomeTheXdgLocationsAreUsed)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const QByteArray& home : {QByteArray(), QByteArray("")}) {
        EnvOverride unset("LUMIDEX_HOME", home); // empty counts as not set
        EnvOverride data("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
        EnvOverride config("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
        EXPECT_EQ(dataFolder(), dir.filePath("data/lumidex"));
        EXPECT_EQ(workingFolder(), dir.filePath("data/lumidex/Catalogs"));
        EXPECT_EQ(settingsFilePath(), dir.filePath("config/lumidex/lumidex.ini"));
    }
}
