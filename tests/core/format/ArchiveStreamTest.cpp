#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace lumidex;
using lumidex::test::fromHex;
using lumidex::test::hex;

namespace {

struct StringCase {
    size_t length;
    const char* prefix; // hex of the length prefix
};

class StringEncoding : public ::testing::TestWithParam<StringCase> {};

TEST_P(StringEncoding, PrefixAndRoundTrip)
{
    const auto [length, prefix] = GetParam();
    std::string s(length, 'x');
    for (size_t i = 0; i < length; ++i)
        s[i] = char('a' + i % 26);
    const QByteArray bytes = test::writeBytes([&](ArchiveWriter& w) { w.writeString(s); });
    const QByteArray expectedPrefix = fromHex(prefix);
    ASSERT_EQ(size_t(bytes.size()), expectedPrefix.size() + length);
    EXPECT_EQ(hex(bytes.left(expectedPrefix.size())), hex(expectedPrefix));

    std::string back;
    const int64_t consumed = test::readBytes(bytes, [&](ArchiveReader& r) { back = r.readString(); });
    EXPECT_EQ(back, s);
    EXPECT_EQ(consumed, bytes.size());
}

INSTANTIATE_TEST_SUITE_P(LengthForms, StringEncoding,
                         ::testing::Values(StringCase{0, "00"}, StringCase{3, "03"}, StringCase{254, "FE"},
                                           StringCase{255, "FF FF 00"}, StringCase{300, "FF 2C 01"},
                                           StringCase{65533, "FF FD FF"},
                                           StringCase{65534, "FF FF FF FE FF 00 00"},
                                           StringCase{70000, "FF FF FF 70 11 01 00"}),
                         [](const auto& info) { return "Length" + std::to_string(info.param.length); });

TEST(ArchiveStream, PrimitivesHaveTheirLittleEndianLayout)
{
    const QByteArray bytes = test::writeBytes([](ArchiveWriter& w) {
        w.writeInt32(-11);
        w.writeUInt16(0x1234);
        w.writeByte(0xAB);
        w.writeInt64(0x0000000123456789LL);
        w.writeStringList({"a", "b"});
        w.writeCount(0xFFFF);
        w.writeCount(0xFFFE);
    });
    EXPECT_EQ(hex(bytes), "F5 FF FF FF 34 12 AB 89 67 45 23 01 00 00 00 02 00 01 61 01 62 "
                          "FF FF FF FF 00 00 FE FF");

    test::readBytes(bytes, [](ArchiveReader& r) {
        EXPECT_EQ(r.readInt32(), -11);
        EXPECT_EQ(r.readUInt16(), 0x1234);
        EXPECT_EQ(r.readByte(), 0xAB);
        EXPECT_EQ(r.readInt64(), 0x0000000123456789LL);
        EXPECT_EQ(r.readStringList(), (std::vector<std::string>{"a", "b"}));
        EXPECT_EQ(r.readCount(), 0xFFFFu);
        EXPECT_EQ(r.readCount(), 0xFFFEu);
        EXPECT_EQ(r.remaining(), 0);
    });
}

TEST(ArchiveStream, NegativeSixtyFourBitValuesSurvive)
{
    const QByteArray bytes = test::writeBytes([](ArchiveWriter& w) { w.writeInt64(-2); });
    EXPECT_EQ(hex(bytes), "FE FF FF FF FF FF FF FF");
    test::readBytes(bytes, [](ArchiveReader& r) { EXPECT_EQ(r.readInt64(), -2); });
}

TEST(ArchiveStream, ReadsPastTheEndFailWithTheOffset)
{
    struct Case {
        const char* bytes;
        std::function<void(ArchiveReader&)> read;
    };
    const std::vector<Case> cases = {
        {"01 02 03", [](ArchiveReader& r) { r.readInt32(); }},
        {"05 61 62", [](ArchiveReader& r) { r.readString(); }},
        // A 4 GiB string length in a tiny file must fail before anything is allocated.
        {"FF FF FF FF FF FF FF 61", [](ArchiveReader& r) { r.readString(); }},
        {"FF FF FF FF FF 7F", [](ArchiveReader& r) { r.readStringList(); }},
        // 0xFFFE after 0xFF is no length form this stream knows.
        {"FF FE FF 00 00", [](ArchiveReader& r) { r.readString(); }},
        {"00 00 00", [](ArchiveReader& r) { r.skip(4); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_THROW(test::readBytes(fromHex(c.bytes), c.read), ArchiveError);
    }
    try {
        test::readBytes(fromHex("00 00 00 00 01"), [](ArchiveReader& r) {
            r.readInt32();
            r.readInt32();
        });
        FAIL() << "no error";
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.offset(), 4);
    }
}

TEST(ArchiveStream, ReadsAcrossBufferBoundaries)
{
    // More than the reader's buffer, with strings straddling its refills.
    std::vector<std::string> strings;
    for (int i = 0; i < 40000; ++i)
        strings.push_back(std::string(size_t(i % 300), char('A' + i % 26)));
    const QByteArray bytes = test::writeBytes([&](ArchiveWriter& w) {
        for (const auto& s : strings)
            w.writeString(s);
        w.writeString(std::string(600000, 'z'));
    });
    ASSERT_GT(bytes.size(), 1 << 20);
    test::readBytes(bytes, [&](ArchiveReader& r) {
        for (const auto& s : strings)
            ASSERT_EQ(r.readString(), s);
        EXPECT_EQ(r.readString(), std::string(600000, 'z'));
        r.seek(0);
        EXPECT_EQ(r.readString(), "");
        EXPECT_EQ(r.readString(), "B");
    });
}

} // namespace
