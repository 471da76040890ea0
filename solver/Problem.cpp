#include "Problem.h"

#include "CalcUnit.h"

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
    TProblem Problem(Store.M, Store.N);
    for (int I = 1; I <= Store.M; ++I)
        Problem.Stock(I) = Store.GetA(I);
    for (int J = 1; J <= Store.N; ++J)
        Problem.Demand(J) = Store.GetB(J);
    for (int I = 1; I <= Store.M; ++I)
        for (int J = 1; J <= Store.N; ++J)
            Problem.Cost(I, J) = Store.GetC(I, J);
    return Problem;
}
