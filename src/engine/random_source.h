#pragma once
// Uniform single-precision draws in [0, 1) for the composer.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace zintrova {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Makes sure the next `draws` values can be had. False when they cannot: the caller then
    // draws nothing. A source that cannot fail keeps the default.
    virtual bool Reserve(std::size_t draws)
    {
        (void)draws;
        return true;
    }
    // The next value of the sequence: uniform in [0, 1), never 1.
    virtual float Next() = 0;
};

// Turns 32 random bits into k * 2^-24 with k the top 24 bits. Every such value is exact in a
// float, so the result can never round up to 1.0.
constexpr float UnitFromBits(std::uint32_t word)
{
    return static_cast<float>(word >> 8) * (1.0f / 16777216.0f);
}

// The operating system's cryptographically secure generator: on Linux the kernel's getrandom,
// or /dev/urandom where that call is missing or refused; getentropy on macOS and the BSDs; the
// system generator on Windows. Every fill is checked, and a failed one is reported, never made
// up for by a weaker source. It reads the secure bytes in blocks and uses every 32-bit word
// exactly once, so a password costs no system call per draw.
class SystemRandom final : public RandomSource {
public:
    // Fills [begin, end) with secure random words; false when that could not be done in full.
    using Fill = std::function<bool(std::uint32_t *begin, std::uint32_t *end)>;
    static constexpr std::size_t BlockWords = 1024; // 4 KiB per refill

    // The fill defaults to FillRaw; tests hand in one that fails.
    explicit SystemRandom(Fill fill = FillRaw) : fill_(std::move(fill)) {}
    // Refills the block when fewer than `draws` unused words are left (at most BlockWords).
    bool Reserve(std::size_t draws) override;
    // Only after a successful Reserve is a draw certain. One that cannot be had ends the
    // program rather than hand out a value that did not come from the system.
    float Next() override;
    // Raw words straight from the system source.
    static bool FillRaw(std::uint32_t *begin, std::uint32_t *end);

private:
    Fill fill_;
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
