#pragma once
// How the program reads a number out of text (the count box, the settings record): blanks
// before it are skipped, an optional sign and digits follow, reading stops at the first other
// character, and text that does not start with a number reads as 0.

#include <cstdint>
#include <string_view>

namespace zintrova {

double LeadingNumber(std::string_view text);

// To a 16-bit integer: the nearest one, a half going to the even neighbour; values beyond the
// 16-bit range saturate instead of wrapping.
std::int16_t ToInt16(double value);

inline std::int16_t ReadInt16(std::string_view text)
{
    return ToInt16(LeadingNumber(text));
}

} // namespace zintrova
