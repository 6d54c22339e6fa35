#pragma once

#include <string_view>
#include <vector>

namespace lumidex {

// Whole-word wildcard match: "?" is any one byte, "*" any run of bytes including none, every
// other byte must be equal (no case folding). The whole word must be consumed.
bool wildcardMatch(std::string_view word, std::string_view pattern);

// Words of a text: runs of bytes between space, CR and LF. A tab belongs to its word.
// The views point into `text`; there are no empty words.
std::vector<std::string_view> splitWords(std::string_view text);

// True when some word of `text` matches `pattern` whole. A text of blanks has no words.
bool anyWordMatches(std::string_view text, std::string_view pattern);

} // namespace lumidex
