// One transportation problem as plain numbers: the sizes, the stocks, the demands and the unit
// costs. It is what the data entry hands to the store, what a problem file holds, what the
// random fill draws and what the tests and tools pass around; the store itself keeps only the
// one problem being solved.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

class TCalc;

struct TProblem {
    // M suppliers and N consumers, every number 0.
    TProblem() = default;
    TProblem(int M, int N);
    // The numbers as given: M stocks, N demands, M x N costs row by row.
    TProblem(int M, int N, std::vector<double> A, std::vector<double> B, std::vector<double> C)
        : M(M), N(N), A(std::move(A)), B(std::move(B)), C(std::move(C)) {}

    // Rows and columns count from 1, as in the store: stock I, demand J, cost (I, J).
    double& Stock(int I) { return A[std::size_t(I - 1)]; }
    double Stock(int I) const { return A[std::size_t(I - 1)]; }
    double& Demand(int J) { return B[std::size_t(J - 1)]; }
    double Demand(int J) const { return B[std::size_t(J - 1)]; }
    double& Cost(int I, int J) { return C[Index(I, J)]; }
    double Cost(int I, int J) const { return C[Index(I, J)]; }

    int M = 0;
    int N = 0;
    std::vector<double> A; // M stocks
    std::vector<double> B; // N demands
    std::vector<double> C; // M x N costs, row by row

    // Equal sizes and equal numbers (so 0.0 equals -0.0, and a NaN nothing).
    friend bool operator==(const TProblem&, const TProblem&) = default;

private:
    std::size_t Index(int I, int J) const { return std::size_t(I - 1) * std::size_t(N) + (J - 1); }
};

// Writes the problem into the store as the data-entry window's OK does: the sizes, then SetA for
// every stock, SetB for every demand and SetC row by row.
void LoadProblem(TCalc& Store, const TProblem& Problem);

// Rows 1..M and columns 1..N of the store's stocks, demands and costs. Taken after a calculation
// it includes the dummy that balancing added.
TProblem StoredProblem(const TCalc& Store);
// The same into Into, whose lists keep their room: no allocation when they are large enough.
void StoredProblem(const TCalc& Store, TProblem& Into);
