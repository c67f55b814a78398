// Arbitrary bytes as the start of the settings file. Whatever they hold, every value the window
// receives lies within its control's range.

#include "settings/record.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace zintrova::settings;

namespace {

void Check(bool ok, const char *what)
{
    if (ok) return;
    std::fprintf(stderr, "record_fuzz: %s\n", what);
    std::abort();
}

bool IsBox(const std::optional<std::int16_t> &v)
{
    return !v || (*v >= 0 && *v <= BoxMax);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const std::string_view head = bytes.substr(0, MaxHead); // what the file reader reads
    const std::string text = RecordText(head);
    Check(text == NoRecord || text.size() <= head.size(), "record text longer than the file");

    const auto a = ToApply(text);
    if (!a) {
        Check(text == NoRecord, "a record was not applied");
        return 0;
    }
    // A five-column field holds -9999 to 99999.
    Check(a->Left >= -9999 && a->Left <= 99999, "left edge");
    Check(a->Top >= -9999 && a->Top <= 99999, "top edge");
    for (const auto &box : a->Set)
        Check(IsBox(box), "set box value");
    Check(IsBox(a->Filter), "filter box value");
    for (std::size_t j = 0; j < 2; ++j)
        Check(a->Len[j] >= LenMin[j] && a->Len[j] <= LenMax[j], "slider value");
    Check(a->Count >= 0 && a->Count <= CountMax, "count");

    // The window after loading: a refused box keeps its design value 1, a count of 0 becomes 1.
    return 0;
}
