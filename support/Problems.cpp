#include "Problems.h"

#include "RandomGen.h"

TProblem RandomProblem(std::uint32_t Seed, int M, int N, int MaxA, int MaxB, int MaxC) {
    RandomState = Seed;
    return RandomFill(M, N, MaxA, MaxB, MaxC);
}
