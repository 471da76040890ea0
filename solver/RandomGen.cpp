#include "RandomGen.h"

std::uint32_t RandomState = 0;

std::uint32_t RandomBelow(std::uint32_t Range) {
    RandomState = RandomState * 134775813u + 1u;
    return static_cast<std::uint32_t>((std::uint64_t(RandomState) * Range) >> 32);
}
