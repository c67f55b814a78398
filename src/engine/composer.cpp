#include "engine/composer.h"

#include <algorithm>
#include <cmath>

namespace zintrova {

namespace {

// A position 0..n-1 from a draw in [0, 1). The clamp only guards against a source that breaks
// its contract; a correct draw never reaches n.
std::size_t Pick(float r, std::size_t n)
{
    const auto i = static_cast<std::size_t>(std::floor(static_cast<double>(r) * n));
    return std::min(i, n - 1);
}

// Inserts c before one of the characters already placed, never after the last one.
void Insert(std::string &password, char c, RandomSource &random)
{
    const float r = random.Next();
    const std::size_t m = password.size();
    const std::size_t at = m == 0 ? 0 : Pick(r, m);
    password.insert(password.begin() + static_cast<std::ptrdiff_t>(at), c);
}

} // namespace

std::int16_t MinPerSetFor(int L)
{
    if (L < 8) return 1;
    if (L < 15) return 2;
    if (L < 25) return 3;
    if (L < 32) return 4;
    return 5;
}

std::string ComposePassword(int minValue, int maxValue, const SetArray &UseSet,
                            const std::string &Pool, RandomSource &random, std::int16_t &MinPerSet)
{
    // The one string the password is made in, and the one returned: every way out returns this
    // object, so it is built in the caller's place and no copy of it stays behind here. Reserved
    // at full length, it never moves while it grows.
    std::string password;
    if (Pool.empty()) return password;
    const int lo = std::clamp(minValue, 3, 40);
    const int span = std::max(maxValue - lo, 0);
    // Every draw the longest password of the range could take must be there before the first
    // one is made: a source that fails gives no password at all, never one made of its gaps.
    if (!random.Reserve(1 + 2 * static_cast<std::size_t>(lo + span))) return password;
    const int L = lo + static_cast<int>(Pick(random.Next(), static_cast<std::size_t>(span) + 1));
    MinPerSet = MinPerSetFor(L);

    password.reserve(static_cast<std::size_t>(L));
    for (int k = 1; k <= 3; ++k) {
        const std::string &set = UseSet[k];
        if (set.empty()) continue;
        for (int i = 0; i < MinPerSet; ++i) {
            const char c = set[Pick(random.Next(), set.size())];
            Insert(password, c, random);
        }
    }
    while (static_cast<int>(password.size()) < L) {
        const char c = Pool[Pick(random.Next(), Pool.size())];
        Insert(password, c, random);
    }
    return password;
}

} // namespace zintrova
