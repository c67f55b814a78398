#pragma once
// The alphabet that passwords are drawn from: three fixed base sets, a table of look-alike
// characters to leave out for each combination of sets, and the working sets and pool.

#include <array>
#include <string>

namespace zintrova {

// Index 1 lower case, 2 upper case, 3 digits; index 0 is unused so that a set's index is the
// same number as its check box's index everywhere in the program.
using SetArray = std::array<std::string, 4>;
// Look-alikes by selection number: lower + 2 * upper + 4 * digits.
using SimilarTable = std::array<std::string, 8>;
// Check-box values of the three sets, index 1..3 (0 off, 1 on, 2 greyed).
using SetValues = std::array<int, 4>;

void InitSets(SetArray &BaseSet, SimilarTable &Similar);

// A check box counts as on for any non-zero value, so that a greyed box (2) selects its set
// and its look-alikes alike.
int SelectionNumber(const SetValues &setValue);

// Rebuilds Exclude, UseSet and Pool from the check-box values.
void BuildPool(const SetArray &BaseSet, const SimilarTable &Similar, int filterValue,
               const SetValues &setValue, std::string &Exclude, SetArray &UseSet,
               std::string &Pool);

} // namespace zintrova
