#include "engine/charsets.h"

namespace zintrova {

void InitSets(SetArray &BaseSet, SimilarTable &Similar)
{
    static constexpr char low[] = {'a', 'A', '0'};
    static constexpr char high[] = {'z', 'Z', '9'};
    for (int k = 1; k <= 3; ++k) {
        std::string s;
        for (char c = low[k - 1]; c <= high[k - 1]; ++c)
            s += c;
        BaseSet[k] = s;
    }
    // Built in place rather than assigned: GCC 12 warns falsely about assigning short literals.
    Similar = SimilarTable{std::string(),         std::string(),         std::string(),
                           std::string("IlO"),    std::string(),         std::string("l"),
                           std::string("BDIOSZ"), std::string("BDIlOSZ")};
}

int SelectionNumber(const SetValues &setValue)
{
    return (setValue[1] != 0 ? 1 : 0) + (setValue[2] != 0 ? 2 : 0) + (setValue[3] != 0 ? 4 : 0);
}

void BuildPool(const SetArray &BaseSet, const SimilarTable &Similar, int filterValue,
               const SetValues &setValue, std::string &Exclude, SetArray &UseSet, std::string &Pool)
{
    Exclude = filterValue != 0 ? Similar[SelectionNumber(setValue)] : std::string();
    Pool.clear();
    for (int k = 1; k <= 3; ++k) {
        if (setValue[k] == 0) {
            UseSet[k].clear();
            continue;
        }
        std::string s = BaseSet[k];
        // Drop the first occurrence of each look-alike; one not in this set is ignored.
        for (char c : Exclude) {
            const auto at = s.find(c);
            if (at != std::string::npos) s.erase(at, 1);
        }
        UseSet[k] = s;
        Pool += s;
    }
}

} // namespace zintrova
