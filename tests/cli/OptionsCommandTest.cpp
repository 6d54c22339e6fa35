#include "scan/ScanOptions.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include "CliProcess.h"

using namespace lumidex;

namespace {

using test::CliRun;

class OptionsCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        settingsPath = home.filePath("lumidex.ini");
    }

    CliRun options(const QStringList& args) const
    {
        return test::runCli(QStringList{"options"} + args, home.path());
    }

    QByteArray settingsText() const
    {
        QFile f(settingsPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir home;
    QString settingsPath;
};

} // namespace

TEST_F(OptionsCommand, PrintsTheLoadedValuesOneFieldPerLine)
{
    CliRun r = options({});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 23); // 22 lines and the final line end
    EXPECT_EQ(lines[0], "0\tallFolders\t1");
    EXPECT_EQ(lines[2], "2\tlevels\t32");
    EXPECT_EQ(lines[3], "3\tfilesPerFolder\t2000");
    EXPECT_EQ(lines[4], "4\tuseLabel\t0");
    EXPECT_EQ(lines[10], "10\tbang\t1");
    EXPECT_EQ(lines[21], "21\tmaxSize\t1");
    EXPECT_FALSE(QFile::exists(settingsPath)) << "printing must not write";

    // Stored values are shown as a load corrects them.
    ScanOptions stored;
    stored[ScanOptions::Levels] = 40;
    stored[ScanOptions::UseLabel] = 7;
    CSettingsStore(settingsPath).WriteString("Main", "Scan", CSettingsStore::encodeBinary(stored.toBytes()));
    r = options({});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains("\n2\tlevels\t32\n"));
    EXPECT_TRUE(r.out.contains("\n4\tuseLabel\t1\n"));
}

TEST_F(OptionsCommand, SetStoresWhatWasAskedAndKeepsOtherSettings)
{
    QFile f(settingsPath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Main]\r\nLanguage=2\r\nRecentFiles=1\r\n");
    f.close();

    CliRun r = options({"set", "allFolders=0", "levels=5", "1=0", "filesPerFolder=100", "MAXSIZE=4096", "zip=0"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    r = options({});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith("0\tallFolders\t0\n1\tallFiles\t0\n2\tlevels\t5\n3\tfilesPerFolder\t100\n"))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("\n15\tzip\t0\n"));
    EXPECT_TRUE(r.out.endsWith("\n21\tmaxSize\t4096\n"));

    const QByteArray text = settingsText();
    EXPECT_TRUE(text.startsWith("[Main]\r\nLanguage=2\r\nRecentFiles=1\r\nScan=")) << text.toStdString();
    const ScanOptions loaded = loadScanOptions(CSettingsStore(settingsPath));
    EXPECT_EQ(loaded[ScanOptions::Levels], 5);
    EXPECT_EQ(loaded[ScanOptions::MaxSize], 4096);
}

TEST_F(OptionsCommand, AllFoldersAndAllFilesPinTheirLimits)
{
    // Switching a flag on stores the limit the options sheet would store with it.
    ASSERT_EQ(options({"set", "allFolders=0", "levels=5", "allFiles=0", "filesPerFolder=10"}).status, 0);
    CliRun r = options({"set", "allFolders=1"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    ScanOptions loaded = loadScanOptions(CSettingsStore(settingsPath));
    EXPECT_EQ(loaded[ScanOptions::Levels], 32);
    EXPECT_EQ(loaded[ScanOptions::FilesPerFolder], 10);

    // Another limit asked for while its flag is on would be overridden: refused instead.
    const QByteArray before = settingsText();
    for (const QStringList& args : {QStringList{"set", "levels=5"}, QStringList{"set", "allFiles=1", "3=7"}}) {
        r = options(args);
        EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("nothing was changed")) << r.err.toStdString();
        EXPECT_EQ(settingsText(), before);
    }
    EXPECT_TRUE(options({"set", "levels=5"}).err.contains("allFolders=0"));
    EXPECT_EQ(options({"set", "levels=32", "maxSize=9"}).status, 0) << "the pinned value itself is fine";
}

TEST_F(OptionsCommand, ValuesOutOfRangeAreRefusedWithTheRange)
{
    ASSERT_EQ(options({"set", "eject=0"}).status, 0);
    const QByteArray before = settingsText();
    struct Case {
        QStringList args;
        const char* message;
    };
    const Case cases[] = {
        {{"set", "allFolders=0", "levels=33"}, "levels must be from 0 to 32, not 33"},
        {{"set", "allFiles=0", "filesPerFolder=-1"}, "filesPerFolder must be from 0 to 2000, not -1"},
        {{"set", "useLabel=2"}, "useLabel must be from 0 to 1, not 2"},
        {{"set", "eject=1", "maxSize=0"}, "maxSize must be at least 1, not 0"},
    };
    for (const Case& c : cases) {
        const CliRun r = options(c.args);
        EXPECT_EQ(r.status, 1) << c.message;
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_EQ(settingsText(), before) << c.message;
    }
}

TEST_F(OptionsCommand, MalformedArgumentsAreUsageErrors)
{
    const QStringList cases[] = {
        {"set"},
        {"show"},
        {"set", "levels"},
        {"set", "bogus=1"},
        {"set", "22=1"},
        {"set", "=1"},
        {"set", "levels="},
        {"set", "levels=abc"},
        {"set", "levels=1.5"},
        {"set", "levels= 3"},
        {"set", "maxSize=99999999999"},
        {"set", "eject=0", "5=1"}, // the same field twice
    };
    for (const QStringList& args : cases) {
        const CliRun r = options(args);
        EXPECT_EQ(r.status, 64) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("Usage: lumidex-cli options")) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(settingsPath));
}

TEST_F(OptionsCommand, HelpDescribesBothFormsAndTheFields)
{
    const CliRun r = options({"--help"});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains("options [set FIELD=VALUE...]"));
    EXPECT_TRUE(r.out.contains("levels"));
    EXPECT_TRUE(r.out.contains("maxSize"));
    EXPECT_TRUE(r.out.contains("LUMIDEX_HOME"));
}
