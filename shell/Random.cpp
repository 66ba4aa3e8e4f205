// The process-wide pseudo-random generator.
#include "shell/Random.h"

// A fixed seed on purpose: a run must be repeatable from its start.
std::uint32_t RandSeed = 1;

int random(int n)
{
    if (n <= 0)
        return 0;
    // The minimal standard generator: state * 48271 mod (2^31 - 1).
    RandSeed = static_cast<std::uint32_t>(std::uint64_t(RandSeed) * 48271 % 2147483647);
    return static_cast<int>(RandSeed % static_cast<unsigned>(n));
}
