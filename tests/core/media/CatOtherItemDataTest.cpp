#include "media/CatOtherItemData.h"
#include "media/MediaTypes.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace lumidex {
namespace {

using test::fromHex;
using test::hex;
using test::readBytes;
using test::writeBytes;
using F = MediaField;

QByteArray stored(const CCatOtherItemData& record)
{
    return writeBytes([&](ArchiveWriter& out) { record.Serialize(out); });
}

// Loads `bytes` into `record` and checks that exactly the record's bytes were taken.
void load(const QByteArray& bytes, CCatOtherItemData& record)
{
    EXPECT_EQ(readBytes(bytes, [&](ArchiveReader& in) { record.Serialize(in); }), bytes.size());
}

TEST(CatOtherItemData, ConstructorsCreateTheMediaObjectOnlyForKnownCodes)
{
    const CCatOtherItemData fresh;
    EXPECT_EQ(fresh.status(), -1);
    EXPECT_EQ(fresh.typeCode(), 0);
    EXPECT_EQ(fresh.media(), nullptr);
    EXPECT_TRUE(fresh.isOldFormat());

    for (int code = 1; code <= 6; ++code) {
        const CCatOtherItemData record(code);
        ASSERT_NE(record.media(), nullptr) << code;
        EXPECT_EQ(record.media()->typeCode(), code);
    }
    for (int code : {0, 7, -3}) {
        const CCatOtherItemData record(code);
        EXPECT_EQ(record.typeCode(), code);
        EXPECT_EQ(record.media(), nullptr) << code;
    }
}

TEST(CatOtherItemData, StoresItsFieldsThenTheMediaObject)
{
    CCatOtherItemData record(CGeneral::kTypeCode);
    record.setStatus(100);
    record.setCoverEntryName(CCatOtherItemData::makeCoverEntryName(0, 12));
    record.media()->setValue(F::Title, "A");

    const QByteArray bytes = stored(record);
    EXPECT_EQ(hex(bytes),
        hex(fromHex("64000000 04000000 09 5F305F31322E636F76 0B000000"
                    "0141 0120 0120 0120 0120")));

    CCatOtherItemData loaded;
    load(bytes, loaded);
    EXPECT_EQ(loaded.status(), 100);
    EXPECT_EQ(loaded.typeCode(), 4);
    EXPECT_EQ(loaded.coverEntryName(), "_0_12.cov");
    ASSERT_NE(loaded.media(), nullptr);
    EXPECT_NE(dynamic_cast<const CGeneral*>(loaded.media()), nullptr);
    EXPECT_EQ(hex(stored(loaded)), hex(bytes));
}

TEST(CatOtherItemData, RecordWithoutMediaObjectEndsWithMinusEleven)
{
    const QByteArray bytes = stored(CCatOtherItemData());
    EXPECT_EQ(hex(bytes), "FF FF FF FF 00 00 00 00 00 F5 FF FF FF");

    // Loading "no media object" into a record that has one drops it.
    CCatOtherItemData record(CFilm::kTypeCode);
    load(bytes, record);
    EXPECT_EQ(record.media(), nullptr);
    EXPECT_TRUE(record.isOldFormat());
}

TEST(CatOtherItemData, UnknownTypeCodeIsStoredAsZeroAndLoadsAsBaseObject)
{
    CCatOtherItemData record(9);
    record.setMedia(CMediaObject::create(9));
    record.media()->setValue(F::Title, "T");

    const QByteArray bytes = stored(record);
    EXPECT_EQ(hex(bytes.mid(4, 4)), "00 00 00 00");
    EXPECT_EQ(hex(bytes.mid(9, 4)), "0B 00 00 00");

    CCatOtherItemData loaded;
    load(bytes, loaded);
    EXPECT_EQ(loaded.typeCode(), 0);
    ASSERT_NE(loaded.media(), nullptr);
    EXPECT_EQ(loaded.media()->typeCode(), 0);
    EXPECT_EQ(loaded.media()->value(F::Title), "T");
    EXPECT_FALSE(loaded.isOldFormat());
}

TEST(CatOtherItemData, MediaObjectOfAnotherClassIsStoredAsTheClassTheCodeNames)
{
    // A Film under an unknown code: the loader reads a base object (four fields), so only four
    // fields may be written or the rest of the stream is misread.
    CCatOtherItemData record(9);
    record.setMedia(std::make_unique<CFilm>());
    record.media()->setValue(F::Title, "T");
    record.media()->setValue(F::Director, "D");

    const QByteArray bytes = writeBytes([&](ArchiveWriter& out) {
        record.Serialize(out);
        out.writeInt32(0x12345678);
    });
    CCatOtherItemData loaded;
    int32_t after = 0;
    readBytes(bytes, [&](ArchiveReader& in) {
        loaded.Serialize(in);
        after = in.readInt32();
    });
    EXPECT_EQ(after, 0x12345678);
    EXPECT_EQ(loaded.media()->value(F::Title), "T");
}

TEST(CatOtherItemData, AnyMarkerButMinusElevenLoadsAMediaObject)
{
    CCatOtherItemData loaded;
    load(fromHex("00000000 03000000 00 00000000 01 47 00 00 00 00 00 00 00 00"), loaded);
    ASSERT_NE(loaded.media(), nullptr);
    EXPECT_EQ(loaded.media()->typeCode(), CGame::kTypeCode);
    EXPECT_EQ(loaded.media()->value(F::Title), "G");
}

TEST(CatOtherItemData, CopiesAreDeep)
{
    CCatOtherItemData original(CFilm::kTypeCode);
    original.media()->setValue(F::Title, "original");

    CCatOtherItemData copy(original);
    copy.media()->setValue(F::Title, "copy");
    CCatOtherItemData assigned;
    assigned = original;
    assigned.media()->setValue(F::Title, "assigned");

    EXPECT_EQ(original.media()->value(F::Title), "original");
    EXPECT_EQ(copy.media()->typeCode(), CFilm::kTypeCode);
    EXPECT_EQ(stored(CCatOtherItemData(original)), stored(original));

    CCatOtherItemData moved(std::move(copy));
    EXPECT_EQ(moved.media()->value(F::Title), "copy");
}

TEST(CatOtherItemData, TruncatedRecordThrowsAtEveryCut)
{
    CCatOtherItemData record(CBook::kTypeCode);
    record.setCoverEntryName("_1_2.cov");
    const QByteArray bytes = stored(record);
    for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
        CCatOtherItemData loaded;
        EXPECT_THROW(readBytes(bytes.left(cut), [&](ArchiveReader& in) { loaded.Serialize(in); }),
            ArchiveError)
            << "cut at " << cut;
    }
}

} // namespace
} // namespace lumidex
