// Passwords per second for length 40 with every set on, drawn from the system's secure source
// and from a scripted source (the composer alone), and the system source's raw byte rate.

#include "engine/charsets.h"
#include "engine/composer.h"
#include "engine/random_source.h"

#include <benchmark/benchmark.h>
#include <vector>

using namespace zintrova;

namespace {

struct AllSets {
    SetArray BaseSet, UseSet;
    SimilarTable Similar;
    std::string Exclude, Pool;
    AllSets()
    {
        InitSets(BaseSet, Similar);
        BuildPool(BaseSet, Similar, 1, {0, 1, 1, 1}, Exclude, UseSet, Pool);
    }
};

void Compose40(benchmark::State &state, RandomSource &random)
{
    AllSets sets;
    std::int16_t minPerSet = 0;
    for (auto _ : state) {
        std::string p = ComposePassword(40, 40, sets.UseSet, sets.Pool, random, minPerSet);
        benchmark::DoNotOptimize(p);
    }
    state.counters["passwords/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Compose40_System(benchmark::State &state)
{
    Compose40(state, ProgramRandom());
}

void BM_Compose40_Scripted(benchmark::State &state)
{
    std::vector<float> draws(4093);
    for (std::size_t i = 0; i < draws.size(); ++i)
        draws[i] = UnitFromBits(static_cast<std::uint32_t>(i * 2654435761u));
    ScriptedRandom random(std::move(draws));
    Compose40(state, random);
}

void BM_SystemSourceRaw(benchmark::State &state)
{
    std::vector<std::uint32_t> block(1024);
    for (auto _ : state) {
        SystemRandom::FillRaw(block.data(), block.data() + block.size());
        benchmark::DoNotOptimize(block.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * block.size() * 4));
}

} // namespace

BENCHMARK(BM_Compose40_System);
BENCHMARK(BM_Compose40_Scripted);
BENCHMARK(BM_SystemSourceRaw);
BENCHMARK_MAIN();
