#include "scan/ScanOptions.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace lumidex;

namespace {

class ScanOptionsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    void storeRaw(const std::string& value)
    {
        ASSERT_TRUE(store.WriteString("Main", "Scan", value));
    }

    QTemporaryDir dir;
    CSettingsStore store{dir.filePath("lumidex.ini")};
};

std::string repeat(const std::string& s, int n)
{
    std::string out;
    while (n-- > 0)
        out += s;
    return out;
}

} // namespace

TEST_F(ScanOptionsTest, DefaultRecordIsStoredAs176Letters)
{
    const ScanOptions defaults;
    EXPECT_EQ(defaults[ScanOptions::Levels], 32);
    EXPECT_EQ(defaults[ScanOptions::FilesPerFolder], 2000);
    EXPECT_EQ(defaults[ScanOptions::UseLabel], 0);
    EXPECT_EQ(defaults[ScanOptions::OpenLast], 0);
    EXPECT_EQ(defaults[ScanOptions::MaxSize], 1);

    ASSERT_TRUE(storeScanOptions(store, defaults));
    // allFolders, allFiles, levels 32, files 2000, label 0, eject 1, open last 0, then fourteen
    // file types and "any size" on, and a maximum size of 1.
    const std::string expected = repeat("BAAAAAAA", 2) + "ACAAAAAA" + "ANHAAAAA" + "AAAAAAAA" + "BAAAAAAA"
        + "AAAAAAAA" + repeat("BAAAAAAA", 15);
    ASSERT_EQ(expected.size(), 176u);
    EXPECT_EQ(store.GetString("Main", "Scan"), expected);

    QFile f(store.filePath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Main]\r\nScan=") + expected.c_str() + "\r\n");
    EXPECT_EQ(loadScanOptions(store), defaults);
}

TEST_F(ScanOptionsTest, StoredRecordRoundTripsLittleEndian)
{
    ScanOptions options;
    for (int i = 0; i < ScanOptionCount; ++i)
        options.values[size_t(i)] = i % 2;
    options[ScanOptions::Levels] = 7;
    options[ScanOptions::FilesPerFolder] = 0;
    options[ScanOptions::MaxSize] = 70000;

    const QByteArray bytes = options.toBytes();
    ASSERT_EQ(bytes.size(), 88);
    EXPECT_EQ(bytes.mid(4 * ScanOptions::MaxSize), QByteArray("\x70\x11\x01\x00", 4));
    EXPECT_EQ(ScanOptions::fromBytes(bytes), options);

    ASSERT_TRUE(storeScanOptions(store, options));
    EXPECT_EQ(loadScanOptions(store), options);
}

TEST_F(ScanOptionsTest, LoadReplacesValuesOutsideTheirRange)
{
    struct Case {
        ScanOptions::Field field;
        int32_t stored;
        int32_t read;
    };
    constexpr int32_t max = std::numeric_limits<int32_t>::max();
    const Case cases[] = {
        {ScanOptions::UseLabel, 7, 1},       // an unusable flag reads as 1 even where the default is 0
        {ScanOptions::OpenLast, -1, 1},
        {ScanOptions::AllFolders, 2, 1},
        {ScanOptions::Mp3, std::numeric_limits<int32_t>::min(), 1},
        {ScanOptions::Levels, 40, 32},
        {ScanOptions::Levels, -1, 32},
        {ScanOptions::FilesPerFolder, -5, 2000},
        {ScanOptions::FilesPerFolder, 2001, 2000},
        {ScanOptions::MaxSize, 0, 1},
        {ScanOptions::MaxSize, -3, 1},
        // Values in range stay, the edges included.
        {ScanOptions::UseLabel, 1, 1},
        {ScanOptions::Eject, 0, 0},
        {ScanOptions::Levels, 0, 0},
        {ScanOptions::FilesPerFolder, 2000, 2000},
        {ScanOptions::MaxSize, max, max},
    };
    for (const Case& c : cases) {
        ScanOptions stored;
        stored[ScanOptions::Eject] = 0; // a non-default neighbour, to see it kept
        stored[c.field] = c.stored;
        storeRaw(CSettingsStore::encodeBinary(stored.toBytes()));

        ScanOptions expected = stored;
        expected[c.field] = c.read;
        EXPECT_EQ(loadScanOptions(store), expected) << scanOptionFields()[size_t(c.field)].name << " " << c.stored;
    }
}

TEST_F(ScanOptionsTest, ValuesThatAreNot88BytesGiveTheDefaults)
{
    ScanOptions custom;
    custom[ScanOptions::Levels] = 5;
    custom[ScanOptions::Zip] = 0;
    const std::string text = CSettingsStore::encodeBinary(custom.toBytes());

    const std::string cases[] = {
        text.substr(0, 174),  // 87 bytes
        text + "AA",          // 89 bytes
        text.substr(0, 175),  // an odd letter short: 87 bytes
        "B",
        "",
    };
    for (const std::string& value : cases) {
        storeRaw(value);
        EXPECT_EQ(loadScanOptions(store), ScanOptions()) << value.size() << " letters";
    }
    // An odd letter more still decodes to 88 bytes.
    storeRaw(text + "Q");
    EXPECT_EQ(loadScanOptions(store), custom);

    // 176 letters of junk decode to 88 bytes of 0xA9; the checks make a usable record of them.
    storeRaw(std::string(176, 'Z'));
    ScanOptions cleaned;
    for (int i = 0; i < ScanOptionCount; ++i)
        cleaned.values[size_t(i)] = scanOptionFields()[size_t(i)].replacement;
    EXPECT_EQ(loadScanOptions(store), cleaned);
    EXPECT_EQ(cleaned[ScanOptions::Levels], 32);
    EXPECT_EQ(cleaned[ScanOptions::UseLabel], 1);
}

TEST(ScanOptions, ConfirmRulesPinTheWalkLimits)
{
    struct Case {
        int32_t allFolders, allFiles, levels, files;
        int32_t storedLevels, storedFiles;
    };
    const Case cases[] = {
        {1, 0, 5, 10, 32, 10},
        {0, 1, 5, 10, 5, 2000},
        {1, 1, 0, 0, 32, 2000},
        {0, 0, 5, 10, 5, 10},
    };
    for (const Case& c : cases) {
        ScanOptions options;
        options[ScanOptions::AllFolders] = c.allFolders;
        options[ScanOptions::AllFiles] = c.allFiles;
        options[ScanOptions::Levels] = c.levels;
        options[ScanOptions::FilesPerFolder] = c.files;
        applyConfirmRules(options);
        EXPECT_EQ(options[ScanOptions::Levels], c.storedLevels);
        EXPECT_EQ(options[ScanOptions::FilesPerFolder], c.storedFiles);
    }
}

TEST(ScanOptions, FieldsAreFoundByNameOrIndex)
{
    EXPECT_EQ(findScanOptionField("levels"), ScanOptions::Levels);
    EXPECT_EQ(findScanOptionField("FILESPERFOLDER"), ScanOptions::FilesPerFolder);
    EXPECT_EQ(findScanOptionField("bang"), ScanOptions::Bang);
    EXPECT_EQ(findScanOptionField("0"), ScanOptions::AllFolders);
    EXPECT_EQ(findScanOptionField("21"), ScanOptions::MaxSize);
    for (const char* unknown : {"22", "-1", "", "lev", "1x", "100"})
        EXPECT_FALSE(findScanOptionField(unknown)) << unknown;

    // Either LHA switch reads both extensions.
    ScanOptions options;
    options[ScanOptions::Lha] = 0;
    EXPECT_TRUE(options.readsLhaArchives());
    options[ScanOptions::Lzh] = 0;
    EXPECT_FALSE(options.readsLhaArchives());
}
