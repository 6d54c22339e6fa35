#include "media/WildcardMatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumidex {
namespace {

struct WildcardCase {
    const char* word;
    const char* pattern;
    bool matches;
};

TEST(WildcardMatch, MatchesWholeWordsByteForByte)
{
    const WildcardCase cases[] = {
        {"abc", "abc", true},
        {"abc", "ab", false},            // the whole word must be consumed
        {"ab", "abc", false},            // ... and the whole pattern
        {"abc", "", false},
        {"Star", "star*", false},        // no case folding
        {"starship", "star*", true},
        {"abc", "a?c", true},
        {"a", "?", true},
        {"abc", "?", false},
        {"abc", "*", true},
        {"abc", "*c", true},
        {"abc", "*b", false},
        {"ab", "*a", false},
        {"abcbc", "a*bc", true},         // needs the backtrack past the first "bc"
        {"abcbd", "a*bc", false},
        {"mississippi", "m*iss*ppi", true},
        {"mississippi", "m*iss*x", false},
        {"mississippi", "*sip*", true},
        {"abc", "abc*", true},           // trailing stars match nothing
        {"abc", "abc**", true},
        {"ab", "a**b", true},
        {"abc", "*?", true},
        {"a", "*??", false},
        {"\xC3\xA9t\xC3\xA9", "??t??", true}, // "?" is one byte, not one character
        {"\xC3\xA9t\xC3\xA9", "?t?", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wildcardMatch(c.word, c.pattern), c.matches) << c.word << " vs " << c.pattern;
}

TEST(WildcardMatch, SplitsWordsAtSpaceAndLineBreaksButNotTab)
{
    using Words = std::vector<std::string_view>;
    EXPECT_EQ(splitWords("  Star Wars\r\n\r\nEpisode\tIV \n"), (Words{"Star", "Wars", "Episode\tIV"}));
    EXPECT_EQ(splitWords(""), Words{});
    EXPECT_EQ(splitWords(" \r\n "), Words{});
}

TEST(WildcardMatch, AnyWordOfATextMustMatchWhole)
{
    EXPECT_TRUE(anyWordMatches("Star Wars", "Wars"));
    EXPECT_TRUE(anyWordMatches("Tom Hanks\r\nMeg Ryan", "M?g"));
    EXPECT_FALSE(anyWordMatches("Star Wars", "Star Wars")); // a pattern never spans words
    EXPECT_FALSE(anyWordMatches("Episode\tIV", "IV"));
    EXPECT_FALSE(anyWordMatches(" ", "*"));               // the initial blank has no words
}

} // namespace
} // namespace lumidex
