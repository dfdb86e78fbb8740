#include "model/Similarity.h"

#include <QList>

#include <algorithm>
#include <limits>
#include <vector>

namespace lingrove::model {

namespace {

// The largest distance that still leaves length-long texts minimum percent
// alike: 100 * (length - d) / length >= minimum.
int allowedDistance(int length, int minimum)
{
    return length * (100 - minimum) / 100;
}

} // namespace

std::optional<int> editDistance(std::u32string_view a, std::u32string_view b, int limit)
{
    if (limit < 0)
        return std::nullopt;
    if (a.size() > b.size())
        std::swap(a, b);
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    if (m - n > limit)
        return std::nullopt;
    if (n == 0)
        return m;
    // Two rows of the table over b. Only cells within limit of the diagonal
    // can stay within limit; every other cell counts as limit + 1.
    const int outside = limit + 1;
    std::vector<int> previous(static_cast<std::size_t>(m) + 2, outside);
    std::vector<int> current(static_cast<std::size_t>(m) + 2, outside);
    for (int j = 0; j <= std::min(m, limit); ++j)
        previous[static_cast<std::size_t>(j)] = j;
    for (int i = 1; i <= n; ++i) {
        const int from = std::max(1, i - limit);
        const int to = std::min(m, i + limit);
        current[static_cast<std::size_t>(from - 1)] = from == 1 && i <= limit ? i : outside;
        int best = current[static_cast<std::size_t>(from - 1)];
        const char32_t c = a[static_cast<std::size_t>(i - 1)];
        for (int j = from; j <= to; ++j) {
            const auto k = static_cast<std::size_t>(j);
            const int cell = std::min({previous[k - 1] + (c != b[k - 1]), previous[k] + 1, current[k - 1] + 1, outside});
            current[k] = cell;
            best = std::min(best, cell);
        }
        current[static_cast<std::size_t>(to) + 1] = outside;
        if (best > limit)
            return std::nullopt;
        std::swap(previous, current);
    }
    const int d = previous[static_cast<std::size_t>(m)];
    return d <= limit ? std::optional<int>(d) : std::nullopt;
}

std::optional<int> similarity(std::u32string_view a, std::u32string_view b, int minimum)
{
    const int longer = static_cast<int>(std::max(a.size(), b.size()));
    if (longer == 0)
        return 100;
    const std::optional<int> d = editDistance(a, b, allowedDistance(longer, minimum));
    if (!d)
        return std::nullopt;
    const int percent = 100 * (longer - *d) / longer;
    return percent >= minimum ? std::optional<int>(percent) : std::nullopt;
}

std::optional<int> similarity(const QString& a, const QString& b, int minimum)
{
    return similarity(codePoints(a), codePoints(b), minimum);
}

std::pair<int, int> similarLengths(int n, int minimum)
{
    if (minimum <= 0)
        return {0, std::numeric_limits<int>::max()};
    // m >= n: m - n <= allowedDistance(m); m <= n: n - m <= allowedDistance(n).
    const int shortest = n - allowedDistance(n, minimum);
    int longest = n;
    while (longest + 1 - n <= allowedDistance(longest + 1, minimum))
        ++longest;
    return {shortest, longest};
}

std::u32string codePoints(const QString& text)
{
    std::u32string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t c : text.toUcs4())
        out.push_back(c);
    return out;
}

} // namespace lingrove::model
