#include "Problems.h"

#include "CalcUnit.h"
#include "RandomGen.h"

TReferenceProblem RandomProblem(std::uint32_t Seed, int M, int N, int MaxA, int MaxB, int MaxC) {
    TReferenceProblem P;
    P.M = M;
    P.N = N;
    RandomState = Seed;
    RandomFill(
        M, N, MaxA, MaxB, MaxC, [&P](int, std::uint32_t Value) { P.A.push_back(Value); },
        [&P](int, std::uint32_t Value) { P.B.push_back(Value); },
        [&P](int, int, std::uint32_t Value) { P.C.push_back(Value); });
    return P;
}

void LoadProblem(TCalc& Store, const TReferenceProblem& Problem) {
    Store.M = Problem.M;
    Store.N = Problem.N;
    for (int I = 1; I <= Problem.M; ++I)
        Store.SetA(I, Problem.A[std::size_t(I - 1)]);
    for (int J = 1; J <= Problem.N; ++J)
        Store.SetB(J, Problem.B[std::size_t(J - 1)]);
    for (int I = 1; I <= Problem.M; ++I)
        for (int J = 1; J <= Problem.N; ++J)
            Store.SetC(I, J, Problem.C[std::size_t(I - 1) * std::size_t(Problem.N) + (J - 1)]);
}
