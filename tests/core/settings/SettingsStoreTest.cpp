#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

using namespace lumidex;

namespace {

QByteArray int32Bytes(int32_t v)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToLittleEndian(v, bytes.data());
    return bytes;
}

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // A folder that does not exist yet: the first write creates it.
        path = dir.filePath("config/lumidex.ini");
    }

    void writeFile(const QByteArray& text)
    {
        QDir().mkpath(dir.filePath("config"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QByteArray fileText() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
    QString path;
};

} // namespace

TEST_F(SettingsStoreTest, NewFileGetsItsFolderAndCrLfLines)
{
    CSettingsStore store(path);
    EXPECT_EQ(store.GetInt("Main", "Language", 7), 7);
    EXPECT_EQ(store.GetString("Main", "OpenAtStart", "none"), "none");
    EXPECT_FALSE(store.GetBinary("Main", "Scan"));
    EXPECT_FALSE(QFile::exists(path)) << "reading must not create the file";

    // Removing a key from a missing file has nothing to do and creates nothing.
    EXPECT_TRUE(store.WriteString("Main", "OpenAtStart", std::nullopt));
    EXPECT_FALSE(QFile::exists(path));

    EXPECT_TRUE(store.WriteInt("Main", "Language", 1));
    EXPECT_TRUE(store.WriteString("Main", "OpenAtStart", "/home/u/My discs.sav"));
    EXPECT_EQ(fileText(), "[Main]\r\nLanguage=1\r\nOpenAtStart=/home/u/My discs.sav\r\n");
    // A second store sees what the first wrote: nothing is cached.
    EXPECT_EQ(CSettingsStore(path).GetInt("Main", "Language", 0), 1);
}

TEST_F(SettingsStoreTest, WritesKeepEverythingElseAndMatchNamesIgnoringCase)
{
    writeFile("; kept comment\n[MAIN]\nlanguage=2\nunknown = x y\n\n[Other]\nLanguage=9\n");
    CSettingsStore store(path);
    EXPECT_EQ(store.GetInt("Main", "Language", 0), 2);
    EXPECT_EQ(store.GetInt("other", "LANGUAGE", 0), 9);

    EXPECT_TRUE(store.WriteInt("Main", "LANGUAGE", -1));
    EXPECT_TRUE(store.WriteString("main", "RecentFile1", "a.sav"));
    EXPECT_TRUE(store.WriteString("Main", "Unknown", std::nullopt));
    // The existing LF line ends stay; the replaced key takes the name as written now.
    EXPECT_EQ(fileText(), "; kept comment\n[MAIN]\nLANGUAGE=-1\nRecentFile1=a.sav\n\n[Other]\nLanguage=9\n");
    EXPECT_EQ(store.GetInt("Main", "Language", 0), -1);
}

TEST_F(SettingsStoreTest, IntegersReadAsTheOldProgramReadThem)
{
    struct Case {
        const char* stored;
        int32_t expected;
    };
    const Case cases[] = {
        {"Language=2", 2},         {"Language = -17 ", -17}, {"Language=12abc", 12},
        {"Language=abc", 0},       {"Language=", 42},        {"Other=5", 42},
        {"Language=99999999999", std::numeric_limits<int32_t>::max()},
        {"Language=-99999999999", std::numeric_limits<int32_t>::min()},
        {"Language=-2147483648", std::numeric_limits<int32_t>::min()},
    };
    for (const Case& c : cases) {
        writeFile(QByteArray("[Main]\r\n") + c.stored + "\r\n");
        EXPECT_EQ(CSettingsStore(path).GetInt("Main", "Language", 42), c.expected) << c.stored;
    }
}

TEST_F(SettingsStoreTest, StringsAreReadBackUpTo4095Bytes)
{
    CSettingsStore store(path);
    const std::string ascii(5000, 'x');
    ASSERT_TRUE(store.WriteString("Main", "Long", ascii));
    EXPECT_EQ(store.GetString("Main", "Long"), std::string(4095, 'x'));

    // A UTF-8 character straddling the limit is dropped whole, not cut in half...
    const std::string utf8 = std::string(4094, 'x') + "\xC3\xBC" + "yy";
    ASSERT_TRUE(store.WriteString("Main", "Long", utf8));
    EXPECT_EQ(store.GetString("Main", "Long"), std::string(4094, 'x'));
    // ...while legacy text is bytes, each a character of its own ("\xA9" is a Windows-1252 sign
    // that looks like a UTF-8 continuation byte).
    const std::string legacy = std::string(4094, 'x') + "\xA9\xA9\xA9";
    ASSERT_TRUE(store.WriteString("Main", "Long", legacy));
    EXPECT_EQ(store.GetString("Main", "Long"), legacy.substr(0, 4095));

    ASSERT_TRUE(store.WriteString("Main", "Empty", ""));
    EXPECT_EQ(store.GetString("Main", "Empty", "default"), "");
}

TEST_F(SettingsStoreTest, TextThatWouldBreakTheFileIsRefused)
{
    CSettingsStore store(path);
    ASSERT_TRUE(store.WriteInt("Main", "Language", 1));
    const QByteArray before = fileText();
    EXPECT_FALSE(store.WriteString("Main", "OpenAtStart", "/tmp/a\n[Main]\nLanguage=2"));
    EXPECT_FALSE(store.WriteString("Main", "OpenAtStart", "a\rb"));
    EXPECT_FALSE(store.WriteString("Main", "OpenAtStart", std::string_view("a\0b", 3)));
    EXPECT_FALSE(store.WriteInt("Main", "Key=Value", 1));
    EXPECT_FALSE(store.WriteInt("Main", "", 1));
    EXPECT_FALSE(store.WriteInt("Ma]in", "Key", 1));
    EXPECT_EQ(fileText(), before);
}

TEST_F(SettingsStoreTest, WriteFailsWhereNoFolderCanBeMade)
{
    // The parent of the file is a regular file.
    writeFile("[Main]\r\nLanguage=2\r\n");
    CSettingsStore store(path + "/lumidex.ini");
    EXPECT_FALSE(store.WriteInt("Main", "Language", 1));
    EXPECT_EQ(store.GetInt("Main", "Language", 5), 5);
    EXPECT_EQ(fileText(), "[Main]\r\nLanguage=2\r\n");
}

TEST_F(SettingsStoreTest, AnUnreadableFileIsNotReplaced)
{
    // Rewriting it would keep only the new key and lose every other setting.
    writeFile("[Main]\r\nLanguage=2\r\nRecentFiles=3\r\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly)) {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        GTEST_SKIP() << "file permissions are not enforced for this user";
    }
    CSettingsStore store(path);
    EXPECT_EQ(store.GetInt("Main", "Language", 5), 5);
    EXPECT_FALSE(store.WriteInt("Main", "Language", 1));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_EQ(fileText(), "[Main]\r\nLanguage=2\r\nRecentFiles=3\r\n");
}

TEST_F(SettingsStoreTest, BinaryValuesAreLetterPairsLowNibbleFirst)
{
    struct Case {
        QByteArray bytes;
        const char* text;
    };
    const Case cases[] = {
        {int32Bytes(1), "BAAAAAAA"},
        {int32Bytes(32), "ACAAAAAA"},
        {int32Bytes(2000), "ANHAAAAA"},
        {int32Bytes(-1), "PPPPPPPP"},
        {QByteArray("\x5A\x0F\xF0", 3), "KFPAAP"},
    };
    CSettingsStore store(path);
    for (const Case& c : cases) {
        EXPECT_EQ(CSettingsStore::encodeBinary(c.bytes), c.text);
        ASSERT_TRUE(store.WriteBinary("Main", "Scan", c.bytes));
        EXPECT_TRUE(fileText().contains(QByteArray("\r\nScan=") + c.text + "\r\n")) << fileText().toStdString();
        EXPECT_EQ(store.GetBinary("Main", "Scan"), c.bytes) << c.text;
    }
}

TEST_F(SettingsStoreTest, BinaryReadingTakesAnyLettersWithoutFailing)
{
    struct Case {
        const char* text;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"BAA", QByteArray("\x01", 1)},    // the unpaired last letter is ignored
        {"B", QByteArray()},               // present, but not one whole byte
        {"ZZ", QByteArray("\xA9", 1)},     // 25 + 16 * 25 = 425, modulo 256
        {"aa", QByteArray("\x20", 1)},     // 32 + 16 * 32 = 544, modulo 256
        {"0P", QByteArray("\xDF", 1)},     // '0' is below 'A': -17 + 240
        {"\xFF\xFF", QByteArray("\x9E", 1)},
    };
    for (const Case& c : cases) {
        writeFile(QByteArray("[Main]\r\nScan=") + c.text + "\r\n");
        const auto bytes = CSettingsStore(path).GetBinary("Main", "Scan");
        ASSERT_TRUE(bytes) << c.text;
        EXPECT_EQ(*bytes, c.bytes) << c.text;
    }
    writeFile("[Main]\r\nScan=\r\n");
    EXPECT_FALSE(CSettingsStore(path).GetBinary("Main", "Scan"));
}

TEST_F(SettingsStoreTest, IntListsParseLikeTheOldProgram)
{
    struct Case {
        const char* stored;
        bool complete;
        std::vector<int32_t> values;
    };
    const Case cases[] = {
        {"205,138,109", true, {205, 138, 109}},
        {"1,2,", true, {1, 2}},             // a final comma closes the list
        {"1,,2", true, {1, 0, 2}},          // an empty piece is 0
        {",5", true, {0, 5}},
        {" 7, -3x,abc", true, {7, -3, 0}},  // blanks skipped, conversion stops at junk
        {"1,2,3,", true, {1, 2, 3}},        // exactly full
        {"1,2,3,4", false, {1, 2, 3}},      // more than fit: the first ones are kept
        {"1,2,3,,", false, {1, 2, 3}},
        {"", false, {}},
    };
    for (const Case& c : cases) {
        writeFile(QByteArray("[Main]\r\nCompareColor1=") + c.stored + "\r\n");
        std::array<int32_t, 3> values{-9, -9, -9};
        size_t count = 99;
        EXPECT_EQ(CSettingsStore(path).GetIntList("Main", "CompareColor1", values, count), c.complete) << c.stored;
        ASSERT_EQ(count, c.values.size()) << c.stored;
        EXPECT_TRUE(std::equal(c.values.begin(), c.values.end(), values.begin())) << c.stored;
    }
    std::array<int32_t, 3> values{};
    size_t count = 99;
    EXPECT_FALSE(CSettingsStore(path).GetIntList("Main", "Missing", values, count));
    EXPECT_EQ(count, 0u);
}

TEST_F(SettingsStoreTest, IntListsAreWrittenUpTo512Characters)
{
    CSettingsStore store(path);
    ASSERT_TRUE(store.WriteIntList("Main", "CompareColor2", std::array<int32_t, 3>{0, 0, 128}));
    EXPECT_EQ(store.GetString("Main", "CompareColor2"), "0,0,128");

    // 42 values of 12 characters with their commas and one of 8 make exactly 512.
    std::vector<int32_t> list(42, std::numeric_limits<int32_t>::min());
    list.push_back(1234567);
    ASSERT_TRUE(store.WriteIntList("Main", "Long", list));
    EXPECT_EQ(store.GetString("Main", "Long").size(), 511u);

    // One more digit is too long: nothing is written and the old value stays.
    list.back() = 12345678;
    EXPECT_FALSE(store.WriteIntList("Main", "CompareColor2", list));
    EXPECT_EQ(store.GetString("Main", "CompareColor2"), "0,0,128");

    // No values: an empty value, which reads as no list.
    ASSERT_TRUE(store.WriteIntList("Main", "CompareColor2", {}));
    EXPECT_EQ(store.GetString("Main", "CompareColor2", "missing"), "");
}
