// A deliberately plain transcription of the solver's steps on ordinary arrays: every step as
// its description words it (the potentials scan restarting after each new potential, slides
// that visit every cell, the recursive cycle search, the deletion passes). The tests run it
// beside TCalc and demand the same plans, potentials and pivot counts, bit for bit.
#pragma once

#include "Problem.h"
#include "StoreLimits.h"

#include <cstdint>
#include <vector>

struct TPlainSolver {
    TPlainSolver() = default;
    // The problem's sizes and numbers, before balancing.
    explicit TPlainSolver(const TProblem& Problem)
        : M(Problem.M), N(Problem.N), A(Problem.A), B(Problem.B), C(Problem.C) {}

    int M = 0, N = 0;
    std::vector<double> A, B, C, X, U, V; // C and X row-major, M x N, 0-based
    std::vector<TCell> Cycle;             // 1-based
    // What the last Pivot moved round the cycle, and the cell that left the basis.
    double Theta = 0.0;
    TCell Leaving{0, 0};

    double& x(int I, int J) { return X[std::size_t(I - 1) * N + (J - 1)]; }
    double c(int I, int J) const { return C[std::size_t(I - 1) * N + (J - 1)]; }

    void Balance();
    void InitialPlan();
    // False when the basis is not a spanning tree (the literal scan would never finish).
    bool CalcPotentials();
    void FindEnteringCell(int& Row, int& Col) const;
    // False when no cycle was found.
    bool FindCycle(int Row, int Col);
    void Pivot();

    // Balance, InitialPlan and at most MaxPivots pivots; returns the pivots made, -1 on a
    // broken basis. Optimal tells whether the last test found the plan optimal.
    int Solve(int MaxPivots, bool& Optimal);

private:
    int EnterRow_ = 0, EnterCol_ = 0;
    bool Found_ = false;
    void TraceCycle(int Col, int Row, int BackDir);
};
