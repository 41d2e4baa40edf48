#include "Random.h"

#include <cstdint>

namespace {
// A linear congruential generator; its upper bits give the 15-bit draws.
std::uint32_t state = 1;
} // namespace

void SeedRandom(unsigned seed) {
    state = seed;
}

int NextRandom() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

double RandomRange(double a, double b) {
    return a + b * NextRandom() / 32767.0;
}
