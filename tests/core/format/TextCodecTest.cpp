#include "format/TextCodec.h"

#include <gtest/gtest.h>

using namespace lumidex;

TEST(TextCodec, Utf8IsShownAsUtf8AndEverythingElseAsLegacyText)
{
    struct Case {
        std::string bytes;
        bool utf8;
        QString shown;
    };
    const std::vector<Case> cases = {
        {"plain", true, "plain"},
        {"Gr\xC3\xBC\xC3\x9F" "e", true, QString::fromUtf8("Grüße")},
        {"\xE2\x82\xAC", true, QString::fromUtf8("€")},
        {"Gr\xFC\xDF" "e", false, QString::fromUtf8("Grüße")},
        {"\x80 \x9F", false, QString::fromUtf8("€ Ÿ")},
        {"\xC0\xAF", false, QString::fromUtf8("À¯")},         // overlong
        {"\xED\xA0\x80", false, QString::fromUtf8("í\u00A0€")}, // surrogate
        {"\xE2\x82", false, QString::fromUtf8("â‚")},          // cut short
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(isValidUtf8(c.bytes), c.utf8);
        EXPECT_EQ(decodeCatalogText(c.bytes), c.shown);
    }
    EXPECT_EQ(decodeCatalogText("\xC4\xE8\xF1\xEA", LegacyCodePage::Windows1251), QString::fromUtf8("Диск"));
}
