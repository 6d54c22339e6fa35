#include "format/IniFile.h"

#include <gtest/gtest.h>

using namespace lumidex;

TEST(IniFile, EditsInPlaceKeepingEverythingElse)
{
    const std::string text = "; settings\r\n[Main]\r\nLanguage = 2\r\nOther=x\r\n\r\n[category0]\r\nDisk_Count=1\r\n";
    IniFile ini = IniFile::parse(text);
    EXPECT_EQ(ini.text(), text);
    EXPECT_EQ(ini.value("MAIN", "language"), "2");
    EXPECT_EQ(ini.value("Category0", "DISK_COUNT"), "1");
    EXPECT_FALSE(ini.value("Main", "Missing"));
    EXPECT_FALSE(ini.value("Nowhere", "Language"));

    ini.setValue("main", "Language", "1");
    ini.setValue("Main", "Scan", "BAAA");
    ini.setValue("Category1", "Disk_Count", "0");
    EXPECT_EQ(ini.text(), "; settings\r\n[Main]\r\nLanguage=1\r\nOther=x\r\nScan=BAAA\r\n\r\n[category0]\r\n"
                          "Disk_Count=1\r\n[Category1]\r\nDisk_Count=0\r\n");

    EXPECT_TRUE(ini.removeKey("Main", "other"));
    EXPECT_FALSE(ini.removeKey("Main", "other"));
    EXPECT_TRUE(ini.renameSection("Category1", "Category0b"));
    EXPECT_TRUE(ini.removeSection("CATEGORY0"));
    EXPECT_EQ(ini.sections(), (std::vector<std::string>{"Main", "Category0b"}));
    EXPECT_EQ(ini.keys("Main"), (std::vector<std::string>{"Language", "Scan"}));
}

TEST(IniFile, LineEndingsAndOddLines)
{
    IniFile ini = IniFile::parse("[A]\nk=v\nno equals sign\n[broken\n=empty key\n");
    EXPECT_EQ(ini.value("A", "k"), "v");
    EXPECT_EQ(ini.value("A", ""), "empty key");
    ini.setValue("B", "x", "1");
    EXPECT_EQ(ini.text(), "[A]\nk=v\nno equals sign\n[broken\n=empty key\n[B]\nx=1\n");
    EXPECT_EQ(IniFile().text(), "");
    IniFile fresh;
    fresh.setValue("Main", "Language", "0");
    EXPECT_EQ(fresh.text(), "[Main]\r\nLanguage=0\r\n");
}
