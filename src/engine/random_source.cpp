#include "engine/random_source.h"

#include <QRandomGenerator>
#include <cerrno>

#if defined(__linux__)
#include <sys/random.h>
#endif

namespace zintrova {

float SystemRandom::Next()
{
    if (next_ == BlockWords) {
        FillRaw(block_.data(), block_.data() + block_.size());
        next_ = 0;
    }
    const std::uint32_t word = block_[next_];
    block_[next_++] = 0; // a used word is not kept around in memory
    return UnitFromBits(word);
}

namespace {

// The kernel's generator straight through getrandom(2). Qt's system source prefers the CPU's
// RDRAND instruction where present, which is many times slower on virtual machines; the kernel
// source is just as secure. Returns false where the call is unavailable.
bool FillFromKernel(std::uint32_t *begin, std::uint32_t *end)
{
#if defined(__linux__)
    auto *p = reinterpret_cast<unsigned char *>(begin);
    std::size_t left = static_cast<std::size_t>(end - begin) * sizeof(std::uint32_t);
    while (left > 0) {
        const ssize_t got = getrandom(p, left, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += got;
        left -= static_cast<std::size_t>(got);
    }
    return true;
#else
    (void)begin;
    (void)end;
    return false;
#endif
}

} // namespace

void SystemRandom::FillRaw(std::uint32_t *begin, std::uint32_t *end)
{
    if (FillFromKernel(begin, end)) return;
    // system(), never global(): global() is a seeded pseudo-random engine.
    QRandomGenerator::system()->fillRange(begin, static_cast<qsizetype>(end - begin));
}

RandomSource &ProgramRandom()
{
    static SystemRandom source;
    return source;
}

float ScriptedRandom::Next()
{
    const float r = draws_.empty() ? 0.0f : draws_[count_ % draws_.size()];
    ++count_;
    return r;
}

} // namespace zintrova
