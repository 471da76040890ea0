#include "RandomGen.h"

std::uint32_t RandomState = 0;

std::uint32_t RandomBelow(std::uint32_t Range) {
    RandomState = RandomState * 134775813u + 1u;
    return static_cast<std::uint32_t>((std::uint64_t(RandomState) * Range) >> 32);
}

TProblem RandomFill(int M, int N, int MaxA, int MaxB, int MaxC) {
    TProblem Problem(M, N);
    for (double& Stock : Problem.A)
        Stock = RandomBelow(std::uint32_t(MaxA)) + 1;
    for (double& Demand : Problem.B)
        Demand = RandomBelow(std::uint32_t(MaxB)) + 1;
    for (double& Cost : Problem.C)
        Cost = RandomBelow(std::uint32_t(MaxC)) + 1;
    return Problem;
}

TProblem RandomProblem(std::uint32_t Seed, int M, int N, int MaxA, int MaxB, int MaxC) {
    RandomState = Seed;
    return RandomFill(M, N, MaxA, MaxB, MaxC);
}
