#pragma once
// The program's pseudo-random numbers: the classic 15-bit linear
// congruential generator of the C runtime, our own so that a seed gives the
// same sequence on every machine (book choices, the level-0 second choice).

#include <cstdint>

namespace engine {

class Rand15 {
public:
    static constexpr int Max = 32767;

    explicit Rand15(std::uint32_t seed = 1) : m_next(seed) {}
    void seed(std::uint32_t seed) { m_next = seed; }
    // 0..32767.
    int operator()() {
        m_next = m_next * 1103515245u + 12345u;
        return static_cast<int>((m_next >> 16) & 0x7fffu);
    }

private:
    std::uint32_t m_next;
};

}  // namespace engine
