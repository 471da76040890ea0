#include "Problem.h"

#include "CalcUnit.h"

#include <algorithm>
#include <cstddef>
#include <span>

TProblem::TProblem(int Rows, int Cols)
    : M(Rows), N(Cols), A(std::size_t(Rows)), B(std::size_t(Cols)),
      C(std::size_t(Rows) * std::size_t(Cols)) {}

void LoadProblem(TCalc& Store, const TProblem& Problem) {
    Store.M = Problem.M;
    Store.N = Problem.N;
    for (int I = 1; I <= Problem.M; ++I)
        Store.SetA(I, Problem.Stock(I));
    for (int J = 1; J <= Problem.N; ++J)
        Store.SetB(J, Problem.Demand(J));
    for (int I = 1; I <= Problem.M; ++I)
        for (int J = 1; J <= Problem.N; ++J)
            Store.SetC(I, J, Problem.Cost(I, J));
}

TProblem StoredProblem(const TCalc& Store) {
    TProblem Problem;
    StoredProblem(Store, Problem);
    return Problem;
}

void StoredProblem(const TCalc& Store, TProblem& Into) {
    Into.M = Store.M;
    Into.N = Store.N;
    Into.A.resize(std::size_t(Store.M));
    Into.B.resize(std::size_t(Store.N));
    Into.C.resize(std::size_t(Store.M) * std::size_t(Store.N));
    for (int I = 1; I <= Store.M; ++I)
        Into.Stock(I) = Store.GetA(I);
    for (int J = 1; J <= Store.N; ++J)
        Into.Demand(J) = Store.GetB(J);
    for (int I = 1; I <= Store.M; ++I) {
        const std::span<const double> Row = Store.CostRow(I);
        std::copy(Row.begin(), Row.end(), Into.C.begin() + std::ptrdiff_t(I - 1) * Store.N);
    }
}
