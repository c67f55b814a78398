#pragma once
// The settings record: one line of 21 fixed-width digit columns. A field is known only by its
// columns (numbered from 1):
//
//   1-5    left edge of the main window, in twips      written as "00000"
//   6-10   top edge of the main window, in twips       written as "00000"
//   11-13  the character-set boxes cbSet(1..3)         written as "0" each
//   14     the look-alike filter box                   written as "0"
//   15-16  the minimum length slider                   written as "00"
//   17-18  the maximum length slider                   written as "00"
//   19-21  the password count                          written as "000"
//
// Example: 015000120011110608025 is left 1500, top 1200, all sets and the filter on, lengths 6
// to 8 and a count of 25. Plain C++: no widgets and no files.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zintrova::settings {

// The record text before anything has been read. A record that is still exactly this after
// reading the file means that there are no settings.
inline constexpr std::string_view NoRecord = "-";
inline constexpr std::size_t RecordLength = 21;

struct Field {
    std::size_t Column; // from 1
    std::size_t Width;
};
inline constexpr Field LeftField{1, 5};
inline constexpr Field TopField{6, 5};
// i = 1, 2, 3, the index of cbSet.
constexpr Field SetField(int i)
{
    return {static_cast<std::size_t>(10 + i), 1};
}
inline constexpr Field FilterField{14, 1};
// j = 0 (minimum) or 1 (maximum), the index of sldLen.
constexpr Field LenField(int j)
{
    return {static_cast<std::size_t>(15 + 2 * j), 2};
}
inline constexpr Field CountField{19, 3};

// The characters at the field's columns; fewer, or none, where the record is shorter.
std::string_view FieldText(std::string_view record, Field f);
// The field read as a number: blanks skipped, an optional sign and digits; 0 when the field
// does not start with a number.
double ReadField(std::string_view record, Field f);

// Every value of a record, converted as the loader converts them.
struct Record {
    std::int32_t Left = 0; // twips
    std::int32_t Top = 0;
    std::array<std::int16_t, 3> Set{}; // cbSet(1..3).Value
    std::int16_t Filter = 0;           // cbFilter.Value
    std::array<std::int32_t, 2> Len{}; // sldLen(0..1).Value
    std::int16_t Count = 0;            // the number the count text starts with
    bool operator==(const Record &) const = default;
};

Record DecodeRecord(std::string_view record);

// The value as a whole number of at least `digits` digits, padded with leading zeros; a value
// with more digits keeps them all, a negative one is written with a leading minus sign.
std::string FormatNumber(std::int64_t value, int digits);

// The record line, without its line end. Each value is first held to what its columns can
// show (positions 0..99999, boxes 0..9, lengths 0..99, count 0..999), so the line is always 21
// digits: a window partly beyond the screen's left or top edge cannot shift the later fields.
std::string EncodeRecord(const Record &r);

// The most that is read from the file: the record needs 21 characters, and a huge or endless
// file must not hold up the start.
inline constexpr std::size_t MaxHead = 4096;

// The record text found at the start of a file: the first field of the first line, that is the
// text after any leading blanks up to the first comma or line end (CR or LF). A file with
// nothing in it leaves NoRecord.
std::string RecordText(std::string_view head);

// The ranges of the controls that receive the values.
inline constexpr std::array<std::int32_t, 2> LenMin{3, 6};
inline constexpr std::array<std::int32_t, 2> LenMax{40, 40};
// The most passwords one copy makes: the count box and the record's field hold three digits.
inline constexpr std::int16_t CountMax = 999;
inline constexpr std::int16_t BoxMax = 2; // 0 off, 1 on, 2 greyed

// What the loader hands to the window for a record text; nothing at all for NoRecord.
struct Applied {
    std::int32_t Left = 0; // twips, as read, also beyond the screen's edges
    std::int32_t Top = 0;
    // A box takes 0, 1 or 2; any other value is refused and the box keeps its own (empty here).
    std::array<std::optional<std::int16_t>, 3> Set;
    std::optional<std::int16_t> Filter;
    // Held to the sliders' ranges: a slider never holds a value outside its range.
    std::array<std::int32_t, 2> Len{};
    // 0..999: the count box never receives a sign. A 0 becomes "1" when the window has loaded.
    std::int16_t Count = 0;
};

std::optional<Applied> ToApply(std::string_view recordText);

} // namespace zintrova::settings
