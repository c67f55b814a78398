// zintrova_compose N: N passwords of length 40 from every set, filter on, one per line.

#include "engine/charsets.h"
#include "engine/composer.h"
#include "engine/random_source.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char **argv)
{
    using namespace zintrova;
    const long n = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1;
    SetArray BaseSet, UseSet;
    SimilarTable Similar;
    std::string Exclude, Pool;
    InitSets(BaseSet, Similar);
    BuildPool(BaseSet, Similar, 1, {0, 1, 1, 1}, Exclude, UseSet, Pool);
    std::int16_t minPerSet = 0;
    for (long i = 0; i < n; ++i) {
        std::string p = ComposePassword(40, 40, UseSet, Pool, ProgramRandom(), minPerSet);
        p += '\n';
        std::fwrite(p.data(), 1, p.size(), stdout);
    }
    return 0;
}
