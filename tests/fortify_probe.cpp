// A call whose size the compiler knows but cannot prove safe, built with the program's flags: a
// fortified build leaves it to a run-time check through __memcpy_chk.
#include <cstddef>
#include <cstring>

char FortifyProbeBuffer[8];

void FortifyProbe(const char *from, std::size_t size)
{
    std::memcpy(FortifyProbeBuffer, from, size);
}
