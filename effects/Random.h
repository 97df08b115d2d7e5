// The program's one random generator: a 32-bit linear congruential sequence.
// Each draw first steps seed := seed * 134775813 + 1 (mod 2^32). The window
// owns the single instance and hands it to whatever draws; its seed comes
// from the window's clock (app/Platform.h) or, in tests, is set directly.
#pragma once
#include <cstdint>

namespace corvane {

class RandomGenerator
{
public:
    explicit RandomGenerator(uint32_t seed = 0)
        : m_seed(seed)
    {
    }

    uint32_t seed() const { return m_seed; }
    void setSeed(uint32_t seed) { m_seed = seed; }

    // Uniform integer in 0..n-1 (0 when n is 0): high 32 bits of seed * n.
    uint32_t next(uint32_t n)
    {
        step();
        return uint32_t((uint64_t(m_seed) * n) >> 32);
    }
    // Signed convenience for callers that compute ranges as int; n <= 0 gives 0.
    int random(int n) { return n <= 0 ? (step(), 0) : int(next(uint32_t(n))); }

    // Uniform real in [0, 1): seed / 2^32.
    double real()
    {
        step();
        return m_seed / 4294967296.0;
    }

private:
    void step() { m_seed = m_seed * 134775813u + 1u; }
    uint32_t m_seed;
};

} // namespace corvane
