// What the test programs' main() keeps for the tests.
#pragma once

#include <cstdint>

// The generator's seed as every program starts with it, before any test has drawn: a test
// that depends on the generator sets RandSeed to this first, so it draws as a program's
// first draws do whichever tests ran before it.
extern const std::uint32_t StartRandSeed;
