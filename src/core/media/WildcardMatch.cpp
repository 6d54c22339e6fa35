#include "media/WildcardMatch.h"

namespace lumidex {

namespace {

bool isSeparator(char c)
{
    return c == ' ' || c == '\r' || c == '\n';
}

// Calls `onWord` for each word until it returns true; returns whether one did.
template <typename F>
bool forEachWord(std::string_view text, F&& onWord)
{
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isSeparator(text[i]))
            ++i;
        const size_t start = i;
        while (i < text.size() && !isSeparator(text[i]))
            ++i;
        if (i > start && onWord(text.substr(start, i - start)))
            return true;
    }
    return false;
}

} // namespace

bool wildcardMatch(std::string_view word, std::string_view pattern)
{
    // One backtrack point is enough: a later star supersedes the earlier one, because whatever
    // the earlier star would have to absorb the later one can absorb as well.
    constexpr size_t kNone = std::string_view::npos;
    size_t w = 0;
    size_t p = 0;
    size_t starPattern = kNone; // pattern position after the last star
    size_t starWord = 0;        // word position to retry from after a mismatch
    while (w < word.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            if (++p == pattern.size())
                return true;
            starPattern = p;
            starWord = w + 1;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == word[w])) {
            ++p;
            ++w;
        } else if (starPattern != kNone) {
            p = starPattern;
            w = starWord++;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string_view> splitWords(std::string_view text)
{
    std::vector<std::string_view> words;
    forEachWord(text, [&](std::string_view word) {
        words.push_back(word);
        return false;
    });
    return words;
}

bool anyWordMatches(std::string_view text, std::string_view pattern)
{
    return forEachWord(text, [&](std::string_view word) { return wildcardMatch(word, pattern); });
}

} // namespace lumidex
