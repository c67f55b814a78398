#pragma once
// Uniform single-precision draws in [0, 1) for the composer.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zintrova {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // The next value of the sequence: uniform in [0, 1), never 1.
    virtual float Next() = 0;
};

// Turns 32 random bits into k * 2^-24 with k the top 24 bits. Every such value is exact in a
// float, so the result can never round up to 1.0.
constexpr float UnitFromBits(std::uint32_t word)
{
    return static_cast<float>(word >> 8) * (1.0f / 16777216.0f);
}

// The operating system's cryptographically secure generator (the kernel's getrandom on Linux,
// Qt's system source elsewhere). It reads the secure bytes in
// blocks and uses every 32-bit word exactly once, so a password costs no system call per draw.
class SystemRandom final : public RandomSource {
public:
    float Next() override;
    // Raw words straight from the system source (for measuring its rate).
    static void FillRaw(std::uint32_t *begin, std::uint32_t *end);

private:
    static constexpr std::size_t BlockWords = 1024; // 4 KiB per refill
    std::array<std::uint32_t, BlockWords> block_{};
    std::size_t next_ = BlockWords;
};

// The one source of the whole program.
RandomSource &ProgramRandom();

// Replays a fixed list of draws, then starts over; counts what was drawn. For tests and for
// measuring the composer apart from the system source.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> draws) : draws_(std::move(draws)) {}
    float Next() override;
    std::size_t Count() const { return count_; }

private:
    std::vector<float> draws_;
    std::size_t count_ = 0;
};

} // namespace zintrova
