#include "PlainSolver.h"

#include <algorithm>

void TPlainSolver::Balance() {
    double SumA = 0.0, SumB = 0.0;
    for (double Value : A)
        SumA = SumA + Value;
    for (double Value : B)
        SumB = SumB + Value;
    if (SumA - SumB > 0.0001) {
        std::vector<double> Wider;
        for (int I = 0; I < M; ++I) {
            Wider.insert(Wider.end(), C.begin() + I * N, C.begin() + (I + 1) * N);
            Wider.push_back(0.0);
        }
        C = Wider;
        ++N;
        B.push_back(SumA - SumB);
    } else if (SumB - SumA > 0.0001) {
        ++M;
        A.push_back(SumB - SumA);
        C.insert(C.end(), std::size_t(N), 0.0);
    }
}

void TPlainSolver::InitialPlan() {
    std::vector<double> a = A, b = B;
    X.assign(std::size_t(M) * N, -1.0);
    int I = 1, J = 1;
    while (I <= M && J <= N) {
        if (a[I - 1] > b[J - 1]) {
            x(I, J) = b[J - 1];
            a[I - 1] = a[I - 1] - b[J - 1];
            b[J - 1] = 0;
            ++J;
        } else {
            x(I, J) = a[I - 1];
            b[J - 1] = b[J - 1] - a[I - 1];
            a[I - 1] = 0;
            ++I;
        }
    }
    if (J > N)
        for (int R = I + 1; R <= M; ++R)
            x(R, N) = 0.0;
    if (I > M)
        for (int K = J + 1; K <= N; ++K)
            x(M, K) = 0.0;
}

bool TPlainSolver::CalcPotentials() {
    struct TItem {
        int Row, Col;
        double Residual;
    };
    std::vector<TItem> List;
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J)
            if (x(I, J) > -0.0001)
                List.push_back({I, J, c(I, J)});
    const int Count = M + N - 1;
    if (int(List.size()) != Count)
        return false;
    std::vector<double> P(std::size_t(M + N) + 1, 0.0);
    P[1] = 0;
    for (auto& Item : List)
        if (Item.Row == 1)
            Item.Row = 0;
    auto IndexSum = [&List] {
        long Sum = 0;
        for (const auto& Item : List)
            Sum += Item.Row + Item.Col;
        return Sum;
    };
    int k = 0;
    while (IndexSum() != 0) {
        ++k;
        if (k > Count)
            return false; // the literal scan would run off the list here
        TItem& E = List[k - 1];
        if (E.Row > 0 && E.Col <= 0) {
            const int r = E.Row;
            P[r] = E.Residual;
            for (auto& Item : List)
                if (Item.Row == r) {
                    Item.Residual = Item.Residual - P[r];
                    Item.Row = 0;
                }
            k = 0;
        } else if (E.Row <= 0 && E.Col > 0) {
            const int cc = E.Col;
            P[M + cc] = E.Residual;
            for (auto& Item : List)
                if (Item.Col == cc) {
                    Item.Residual = Item.Residual - P[M + cc];
                    Item.Col = 0;
                }
            k = 0;
        }
    }
    U.assign(P.begin() + 1, P.begin() + 1 + M);
    V.assign(P.begin() + 1 + M, P.begin() + 1 + M + N);
    return true;
}

void TPlainSolver::FindEnteringCell(int& Row, int& Col) const {
    Row = 1;
    Col = 1;
    double Best = U[0] + V[0] - c(1, 1);
    for (int I = 1; I <= M; ++I)
        for (int J = 1; J <= N; ++J) {
            const double d = U[I - 1] + V[J - 1] - c(I, J);
            if (d > Best) {
                Best = d;
                Row = I;
                Col = J;
            }
        }
    if (Best < 0.0001)
        Row = Col = 0;
}

void TPlainSolver::TraceCycle(int Col, int Row, int BackDir) {
    if (!Cycle.empty() && Row == EnterRow_ && Col == EnterCol_) {
        Found_ = true;
        return;
    }
    Cycle.push_back({Row, Col});
    static const int DRow[5] = {0, -1, 0, 1, 0};
    static const int DCol[5] = {0, 0, -1, 0, 1};
    for (int d = 1; d <= 4; ++d) {
        if (d == BackDir)
            continue;
        int r = Row, cc = Col;
        bool Inside = false;
        for (;;) {
            r += DRow[d];
            cc += DCol[d];
            if (cc < 1 || cc > N || r < 1 || r > M)
                break;
            if (x(r, cc) >= 0 || (r == EnterRow_ && cc == EnterCol_)) {
                Inside = true;
                break;
            }
        }
        if (Inside) {
            TraceCycle(cc, r, d <= 2 ? d + 2 : d - 2);
            if (Found_)
                return;
        }
    }
    Cycle.pop_back();
}

bool TPlainSolver::FindCycle(int Row, int Col) {
    Cycle.clear();
    Found_ = false;
    EnterRow_ = Row;
    EnterCol_ = Col;
    TraceCycle(Col, Row, 0);
    if (!Found_)
        return false;
    Cycle.push_back({Row, Col});
    auto Pass = [this](bool Columns) {
        std::size_t i = 0;
        while (i + 2 < Cycle.size()) {
            auto Key = [Columns](TCell P) { return Columns ? P.Col : P.Row; };
            if (Key(Cycle[i]) == Key(Cycle[i + 1]) && Key(Cycle[i + 1]) == Key(Cycle[i + 2]))
                Cycle.erase(Cycle.begin() + long(i) + 1);
            else
                ++i;
        }
    };
    Pass(true);
    Pass(false);
    Cycle.pop_back();
    return true;
}

void TPlainSolver::Pivot() {
    const int L = int(Cycle.size());
    Theta = x(Cycle[1].Row, Cycle[1].Col);
    int Leaves = 2;
    for (int k = 2; k <= 2 * (L / 2); k += 2) {
        const double Value = x(Cycle[k - 1].Row, Cycle[k - 1].Col);
        if (Value < Theta) {
            Theta = Value;
            Leaves = k;
        }
    }
    for (int k = 1; k <= L; ++k) {
        double& Cell = x(Cycle[k - 1].Row, Cycle[k - 1].Col);
        Cell = k % 2 == 1 ? Cell + Theta : Cell - Theta;
    }
    Leaving = Cycle[Leaves - 1];
    x(Leaving.Row, Leaving.Col) = -1.0;
}

int TPlainSolver::Solve(int MaxPivots, bool& Optimal) {
    Balance();
    InitialPlan();
    int Pivots = 0, Row = 0, Col = 0;
    Optimal = false;
    while (Pivots < MaxPivots) {
        if (!CalcPotentials())
            return -1;
        FindEnteringCell(Row, Col);
        if (Row == 0) {
            Optimal = true;
            return Pivots;
        }
        if (!FindCycle(Row, Col))
            return -1;
        x(Row, Col) = 0;
        Pivot();
        ++Pivots;
    }
    return Pivots;
}
