#include "catalog/FileObject.h"
#include "search/ACData.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace lumidex;

TEST(FileObject, StoresKeyNameLineCountAndLines)
{
    CFileObject object;
    object.key = "[1,5]\n";
    object.name = "readme.txt";
    object.lines = {"hello\n", "world\n"};
    const QByteArray bytes = test::writeBytes([&](ArchiveWriter& w) { object.Serialize(w); });
    EXPECT_EQ(test::hex(bytes), "06 5B 31 2C 35 5D 0A 0A 72 65 61 64 6D 65 2E 74 78 74 02 00 00 00 "
                                "02 00 06 68 65 6C 6C 6F 0A 06 77 6F 72 6C 64 0A");

    CFileObject back;
    test::readBytes(bytes, [&](ArchiveReader& r) { back.Serialize(r); });
    EXPECT_EQ(back.key, object.key);
    EXPECT_EQ(back.name, object.name);
    EXPECT_EQ(back.lines, object.lines);
    EXPECT_EQ(back.loadedLineCount, 2);
}

TEST(FileObject, TheListCountDecidesHowManyLinesAreRead)
{
    const QByteArray bytes = test::writeBytes([](ArchiveWriter& w) {
        w.writeString("[0,0]\n");
        w.writeString("a.txt");
        w.writeInt32(99);
        w.writeStringList({"x\n"});
        w.writeString("next record");
    });
    CFileObject back;
    std::string after;
    test::readBytes(bytes, [&](ArchiveReader& r) {
        back.Serialize(r);
        after = r.readString();
    });
    EXPECT_EQ(back.loadedLineCount, 99);
    EXPECT_EQ(back.lines.size(), 1u);
    EXPECT_EQ(after, "next record");
}

TEST(ACData, PlainIntCountAndAppendingLoad)
{
    CACData data;
    data.strings = {"*.mp3", "alien"};
    const QByteArray bytes = test::writeBytes([&](ArchiveWriter& w) { data.Serialize(w); });
    EXPECT_EQ(test::hex(bytes), "62 04 00 00 02 00 00 00 05 2A 2E 6D 70 33 05 61 6C 69 65 6E");

    CACData back;
    back.strings = {"kept"};
    test::readBytes(bytes, [&](ArchiveReader& r) { back.Serialize(r); });
    EXPECT_EQ(back.value, 1122);
    EXPECT_EQ(back.strings, (std::vector<std::string>{"kept", "*.mp3", "alien"}));

    for (const char* hostile : {"62 04 00 00 FF FF FF 7F 00", "62 04 00 00 FE FF FF FF"}) {
        CACData bad;
        EXPECT_THROW(test::readBytes(test::fromHex(hostile), [&](ArchiveReader& r) { bad.Serialize(r); }),
                     ArchiveError);
    }
}
