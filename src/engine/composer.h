#pragma once
// Composes one password with a guaranteed share of every set that is on.

#include "engine/charsets.h"
#include "engine/random_source.h"

#include <cstdint>
#include <string>

namespace zintrova {

// Characters each set that is on contributes at least, for a password of length L.
std::int16_t MinPerSetFor(int L);

// Composes a password whose length lies between the two slider values (the minimum clamped to
// 3..40, a maximum below it giving the minimum). Returns the empty string, with MinPerSet
// untouched and nothing drawn, when Pool is empty or when the random source cannot reserve the
// draws of the longest password in the range; otherwise writes MinPerSet. Draws 1 + 2 * L
// values: one for the length, then for every character one to pick it and one to place it.
std::string ComposePassword(int minValue, int maxValue, const SetArray &UseSet,
                            const std::string &Pool, RandomSource &random, std::int16_t &MinPerSet);

} // namespace zintrova
