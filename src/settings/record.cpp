#include "settings/record.h"

#include "engine/number.h"

#include <algorithm>
#include <cmath>

namespace zintrova::settings {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A 32-bit integer from a field: the fields hold at most five characters, so the value always
// fits; rounding as for 16-bit values, to the nearest, halves to the even neighbour.
std::int32_t ToInt32(double value)
{
    return static_cast<std::int32_t>(std::nearbyint(value));
}

std::optional<std::int16_t> BoxValue(std::int16_t v)
{
    if (v < 0 || v > BoxMax) return std::nullopt;
    return v;
}

} // namespace

std::string_view FieldText(std::string_view record, Field f)
{
    const std::size_t start = f.Column - 1;
    if (start >= record.size()) return {};
    return record.substr(start, f.Width);
}

double ReadField(std::string_view record, Field f)
{
    return LeadingNumber(FieldText(record, f));
}

Record DecodeRecord(std::string_view record)
{
    Record r;
    r.Left = ToInt32(ReadField(record, LeftField));
    r.Top = ToInt32(ReadField(record, TopField));
    for (int i = 1; i <= 3; ++i)
        r.Set[i - 1] = ToInt16(ReadField(record, SetField(i)));
    r.Filter = ToInt16(ReadField(record, FilterField));
    for (int j = 0; j < 2; ++j)
        r.Len[j] = ToInt32(ReadField(record, LenField(j)));
    r.Count = ToInt16(ReadField(record, CountField));
    return r;
}

std::string FormatNumber(std::int64_t value, int digits)
{
    const bool negative = value < 0;
    // Built from the magnitude as unsigned, so that the smallest 64-bit value is written too.
    std::uint64_t magnitude =
        negative ? std::uint64_t{0} - static_cast<std::uint64_t>(value) : std::uint64_t(value);
    std::string text;
    do {
        text.insert(text.begin(), char('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (text.size() < static_cast<std::size_t>(std::max(digits, 0)))
        text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
    if (negative) text.insert(text.begin(), '-');
    return text;
}

std::string EncodeRecord(const Record &r)
{
    const auto held = [](std::int64_t v, std::int64_t hi) {
        return std::clamp<std::int64_t>(v, 0, hi);
    };
    std::string line;
    line.reserve(RecordLength);
    line += FormatNumber(held(r.Left, 99999), 5);
    line += FormatNumber(held(r.Top, 99999), 5);
    for (std::int16_t v : r.Set)
        line += FormatNumber(held(v, 9), 1);
    line += FormatNumber(held(r.Filter, 9), 1);
    for (std::int32_t v : r.Len)
        line += FormatNumber(held(v, 99), 2);
    line += FormatNumber(held(r.Count, CountMax), 3);
    return line;
}

std::string RecordText(std::string_view head)
{
    if (head.empty()) return std::string(NoRecord);
    std::size_t i = 0;
    while (i < head.size() && IsBlank(head[i]))
        ++i;
    std::size_t end = i;
    while (end < head.size() && head[end] != ',' && head[end] != '\r' && head[end] != '\n')
        ++end;
    return std::string(head.substr(i, end - i));
}

std::optional<Applied> ToApply(std::string_view recordText)
{
    if (recordText == NoRecord) return std::nullopt;
    const Record r = DecodeRecord(recordText);
    Applied a;
    a.Left = r.Left;
    a.Top = r.Top;
    for (std::size_t i = 0; i < 3; ++i)
        a.Set[i] = BoxValue(r.Set[i]);
    a.Filter = BoxValue(r.Filter);
    for (std::size_t j = 0; j < 2; ++j)
        a.Len[j] = std::clamp(r.Len[j], LenMin[j], LenMax[j]);
    a.Count = std::clamp<std::int16_t>(r.Count, 0, CountMax);
    return a;
}

} // namespace zintrova::settings
