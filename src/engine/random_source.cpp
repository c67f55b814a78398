#include "engine/random_source.h"

#include <QRandomGenerator>

namespace zintrova {

float SystemRandom::Next() {
    if (next_ == BlockWords) {
        FillRaw(block_.data(), block_.data() + block_.size());
        next_ = 0;
    }
    const std::uint32_t word = block_[next_];
    block_[next_++] = 0; // a used word is not kept around in memory
    return UnitFromBits(word);
}

void SystemRandom::FillRaw(std::uint32_t *begin, std::uint32_t *end) {
    // system(), not global(): global() is a seeded pseudo-random engine.
    QRandomGenerator::system()->fillRange(begin, static_cast<qsizetype>(end - begin));
}

RandomSource &ProgramRandom() {
    static SystemRandom source;
    return source;
}

float ScriptedRandom::Next() {
    const float r = draws_.empty() ? 0.0f : draws_[count_ % draws_.size()];
    ++count_;
    return r;
}

} // namespace zintrova
