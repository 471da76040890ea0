// The program's random numbers: a 32-bit linear congruential generator whose whole state is one
// word, so that a fill seeded with the same value writes the same numbers.
#pragma once

#include <cstdint>

extern std::uint32_t RandomState;

// A whole number from 0 to Range - 1 (Range at least 1): the upper half of the 64-bit product
// of the advanced state and Range.
std::uint32_t RandomBelow(std::uint32_t Range);
