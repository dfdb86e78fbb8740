#pragma once
// How alike two texts are, for the dictionary's similar matches: the edit
// distance (insertions, deletions and substitutions of single characters,
// letter case counting) against the length of the longer text, in whole
// percent rounded down. Characters are Unicode code points, so a character
// outside the Basic Multilingual Plane counts once.
#include <QString>

#include <optional>
#include <string_view>

namespace lingrove::model {

// The least similarity, in percent, a similar match must have.
inline constexpr int kMinSimilarity = 70;

// The edit distance of a and b when it is at most limit; nullopt otherwise.
// Takes time in proportion to the shorter length times (2 * limit + 1).
std::optional<int> editDistance(std::u32string_view a, std::u32string_view b, int limit);

// The similarity of a and b in percent when it is at least minimum; nullopt
// otherwise. Two empty texts are 100% alike.
std::optional<int> similarity(std::u32string_view a, std::u32string_view b, int minimum = kMinSimilarity);
std::optional<int> similarity(const QString& a, const QString& b, int minimum = kMinSimilarity);

// The lengths a text of length n may have to be at least minimum percent
// like it: [first, second].
std::pair<int, int> similarLengths(int n, int minimum = kMinSimilarity);

// The code points of text.
std::u32string codePoints(const QString& text);

} // namespace lingrove::model
