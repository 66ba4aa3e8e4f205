// The process-wide pseudo-random generator.
#pragma once

#include <cstdint>

// An integer in 0..n-1 from one process-wide generator that is never seeded, so every
// run repeats the same sequence; 0 when n is 0 (or negative).
// This overloads the C library's random() (no arguments), which it neither calls nor
// affects: random() with no argument still reaches libc's own generator.
int random(int n);

// The generator's state (a multiplicative congruential generator, 1 at start). The
// programs never set it; tests save and restore it to know the draws to come.
extern std::uint32_t RandSeed;
