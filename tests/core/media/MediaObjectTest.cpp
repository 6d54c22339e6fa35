#include "media/MediaObject.h"
#include "media/MediaTypes.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumidex {
namespace {

using test::hex;
using test::readBytes;
using test::writeBytes;
using F = MediaField;

QByteArray stored(const CMediaObject& media)
{
    return writeBytes([&](ArchiveWriter& out) { media.Serialize(out); });
}

QByteArray strings(const std::vector<std::string>& values)
{
    return writeBytes([&](ArchiveWriter& out) {
        for (const auto& v : values)
            out.writeString(v);
    });
}

// The stored layout of each class: field order and the values of a new object. A slip here
// shifts every later byte of a catalog.
TEST(MediaObject, EachClassStoresItsFieldsInOrderWithInitialValues)
{
    struct Layout {
        int code;
        std::vector<F> fields;
        std::vector<std::string> initial;
    };
    const std::string b = " ";
    const std::vector<Layout> layouts = {
        {0, {F::Title, F::Language, F::Genre, F::Comments}, {b, b, b, b}},
        {1,
            {F::Title, F::Language, F::Genre, F::Comments, F::OriginalTitle, F::Released,
                F::Director, F::Actors, F::Description, F::Duration, F::Year},
            {b, b, b, b, b, b, b, b, b, b, b}},
        {2,
            {F::Title, F::Language, F::Genre, F::Comments, F::OriginalTitle, F::Year, F::Released,
                F::Isbn, F::Description, F::Format},
            {b, b, b, b, "", "", "", "", "", b}},
        {3,
            {F::Title, F::Language, F::Genre, F::Comments, F::OriginalTitle, F::Year, F::Released,
                F::Description, F::SystemRequirements},
            {b, b, b, b, b, b, b, b, b}},
        {4, {F::Title, F::Language, F::Genre, F::Comments, F::Description}, {b, b, b, b, b}},
        {5,
            {F::Title, F::Language, F::Genre, F::Comments, F::OriginalTitle, F::Year, F::Released,
                F::Description, F::SystemRequirements},
            {b, b, b, b, "", "", "", "", b}},
        {6,
            {F::Title, F::Language, F::Genre, F::Comments, F::OriginalTitle, F::Year, F::Released,
                F::Description, F::SystemRequirements},
            {b, b, b, b, "", "", "", "", b}},
    };
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.code);
        const auto media = CMediaObject::create(layout.code);
        EXPECT_EQ(media->typeCode(), layout.code);
        EXPECT_EQ(media->fields(), layout.fields);
        EXPECT_EQ(hex(stored(*media)), hex(strings(layout.initial)));
    }
}

TEST(MediaObject, UnknownTypeCodesGiveABaseObject)
{
    for (int code : {0, 7, 9, -1}) {
        const auto media = CMediaObject::create(code);
        EXPECT_EQ(media->typeCode(), 0) << code;
        EXPECT_EQ(media->fields().size(), 4u) << code;
    }
    EXPECT_EQ(mediaTypeName(0), "undefined");
    EXPECT_EQ(mediaTypeName(9), "undefined");
    EXPECT_EQ(mediaTypeName(4), "General type");
}

TEST(MediaObject, FilmRoundTripKeepsAllElevenFields)
{
    CFilm film;
    int i = 0;
    for (F field : film.fields())
        film.setValue(field, std::string(mediaFieldName(field)) + " " + std::to_string(i++));
    film.setValue(F::Actors, "Tom Hanks\r\nMeg Ryan");
    film.setValue(F::Description, std::string(300, 'd')); // three-byte length prefix
    film.setValue(F::Year, "");

    const QByteArray bytes = stored(film);
    const auto loaded = CMediaObject::create(CFilm::kTypeCode);
    EXPECT_EQ(readBytes(bytes, [&](ArchiveReader& in) { loaded->Serialize(in); }), bytes.size());
    EXPECT_EQ(loaded->typeCode(), 1);
    for (F field : film.fields())
        EXPECT_EQ(loaded->value(field), film.value(field)) << mediaFieldName(field);
    EXPECT_EQ(hex(stored(*loaded)), hex(bytes));
}

TEST(MediaObject, FieldsAClassLacksStayEmpty)
{
    CGeneral general;
    general.setValue(F::Isbn, "123");
    EXPECT_EQ(general.value(F::Isbn), "");
    EXPECT_FALSE(general.hasField(F::Isbn));
    EXPECT_EQ(stored(general), stored(CGeneral()));
}

TEST(MediaObject, GeneralCopyDropsLanguageAndGenre)
{
    CGeneral source;
    source.setValue(F::Title, "T");
    source.setValue(F::Language, "English");
    source.setValue(F::Genre, "Drama");
    source.setValue(F::Comments, "C");
    source.setValue(F::Description, "D");

    CGeneral copy;
    copy.CopyFrom(source);
    EXPECT_EQ(copy.value(F::Title), "T");
    EXPECT_EQ(copy.value(F::Language), " ");
    EXPECT_EQ(copy.value(F::Genre), " ");
    EXPECT_EQ(copy.value(F::Comments), "C");
    EXPECT_EQ(copy.value(F::Description), "D");

    // Through the base interface, as rows are copied between tabs.
    const auto target = CMediaObject::create(CGeneral::kTypeCode);
    static_cast<CMediaObject&>(*target).CopyFrom(source);
    EXPECT_EQ(target->value(F::Language), " ");
}

TEST(MediaObject, CopyFromTakesEveryFieldOfTheSameClass)
{
    CBook source;
    int i = 0;
    for (F field : source.fields())
        source.setValue(field, "v" + std::to_string(i++));
    CBook copy;
    copy.CopyFrom(source);
    EXPECT_EQ(stored(copy), stored(source));
}

TEST(MediaObject, CloneIsDeepAndKeepsTheClass)
{
    CGeneral general;
    general.setValue(F::Title, "original");
    auto clone = general.clone();
    clone->setValue(F::Title, "changed");
    EXPECT_EQ(general.value(F::Title), "original");
    EXPECT_EQ(clone->typeCode(), CGeneral::kTypeCode);
    EXPECT_NE(dynamic_cast<CGeneral*>(clone.get()), nullptr);
}

TEST(MediaObject, MatchLooksAtEveryWordOfEveryField)
{
    struct MatchCase {
        const char* what;
        int code;
        F field;
        const char* text;
        const char* pattern;
        bool matches;
    };
    const MatchCase cases[] = {
        {"star on a one-letter title", 2, F::Title, "A", "*", true},
        {"star on a new book", 2, F::Title, " ", "*", false},
        {"case is significant", 1, F::Comments, "Star Wars", "star*", false},
        {"prefix word", 1, F::Comments, "a starship", "star*", true},
        {"line breaks separate", 1, F::Actors, "Tom Hanks\r\nMeg Ryan", "Meg", true},
        {"tab does not separate", 1, F::Title, "foo\tbar", "bar", false},
        {"own field of the class", 2, F::Isbn, "978-3-16", "978*", true},
        {"last own field", 6, F::SystemRequirements, "Linux", "L?nux", true},
    };
    for (const auto& c : cases) {
        const auto media = CMediaObject::create(c.code);
        media->setValue(c.field, c.text);
        EXPECT_EQ(media->Match(c.pattern, 0), c.matches) << c.what;
    }
}

} // namespace
} // namespace lumidex
