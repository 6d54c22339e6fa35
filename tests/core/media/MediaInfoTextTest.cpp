#include "media/MediaCategory.h"
#include "media/MediaInfoText.h"
#include "media/MediaTypes.h"

#include <gtest/gtest.h>

namespace lumidex {
namespace {

using F = MediaField;

// A typed row whose every field holds its own name, multi-line fields with a CR LF inside.
MediaRow typedRow(int code)
{
    MediaRow row{{"cell title", "cell language", "cell genre", "cell comments", ""},
        CCatOtherItemData(code)};
    CMediaObject& media = *row.record.media();
    for (F field : media.fields())
        media.setValue(field, mediaFieldName(field));
    for (F field : {F::Description, F::SystemRequirements, F::Comments})
        media.setValue(field, std::string(mediaFieldName(field)) + "\r\nline 2");
    return row;
}

TEST(MediaInfoText, EachTypeShowsItsFieldsWithLineFeeds)
{
    const std::pair<int, const char*> cases[] = {
        {1, "Type: Film\nOriginal title: Original title\nGenre: Genre\n"
            "Description: Description\nline 2\nComments: Comments\nline 2"},
        {2, "Type: Book\nISBN: ISBN\nGenre: Genre\nDescription: Description\nline 2\n"
            "Comments: Comments\nline 2"},
        {3, "Type: Game\nGenre: Genre\nDescription: Description\nline 2\n"
            "System requirements: System requirements\nline 2\nComments: Comments\nline 2"},
        {4, "Type: General type\nDescription: Description\nline 2\nComments: Comments\nline 2"},
        {5, "Type: Multimedia\nDescription: Description\nline 2\n"
            "System requirements: System requirements\nline 2\nComments: Comments\nline 2"},
        {6, "Type: Software\nDescription: Description\nline 2\n"
            "System requirements: System requirements\nline 2\nComments: Comments\nline 2"},
    };
    for (const auto& [code, expected] : cases)
        EXPECT_EQ(InfoText(typedRow(code)).toStdString(), expected) << code;
}

TEST(MediaInfoText, RowsWithoutTypedObjectShowTheirCells)
{
    MediaRow old{{"T", "English", "Drama", "cell comments", ""}, CCatOtherItemData()};
    EXPECT_EQ(InfoText(old).toStdString(), "Type: undefined\nLanguage: English\nGenre: Drama\nComments:\n");

    // A base object (unknown stored type) gives its own Comments.
    MediaRow base = old;
    base.record.setMedia(CMediaObject::create(0));
    base.record.media()->setValue(F::Comments, "a\r\nb");
    EXPECT_EQ(InfoText(base).toStdString(), "Type: undefined\nLanguage: English\nGenre: Drama\nComments:\na\nb");

    // A typed record that lost its object, and a tab of an old catalog with only one column.
    MediaRow orphan{{"T"}, CCatOtherItemData()};
    orphan.record.setTypeCode(CGame::kTypeCode);
    EXPECT_EQ(InfoText(orphan).toStdString(), "Type: undefined\nLanguage: \nGenre: \nComments:\n");
}

TEST(MediaInfoText, ValuesAreDecodedAndInsertedLiterally)
{
    MediaRow row = typedRow(CFilm::kTypeCode);
    row.record.media()->setValue(F::Genre, "Com\xE9" "die");      // Windows-1252
    row.record.media()->setValue(F::OriginalTitle, "100%s %1"); // no second substitution
    const QString text = InfoText(row);
    EXPECT_TRUE(text.contains(QString::fromUtf8("Genre: Comédie\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Original title: 100%s %1\nGenre"))) << text.toStdString();
}

} // namespace
} // namespace lumidex
