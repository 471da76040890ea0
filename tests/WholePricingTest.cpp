#include "WholePricing.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace {

struct TPricingSetup {
    std::vector<double> C = std::vector<double>(std::size_t(Capacity) * Capacity, 0.0);
    std::vector<double> U = std::vector<double>(Capacity + 1, 0.0);
    std::vector<double> V = std::vector<double>(Capacity + 1, 0.0);
    std::unique_ptr<TWholePricing> Pricing =
        std::make_unique<TWholePricing>(C.data(), U.data(), V.data());

    // The plain rule: the largest U + V - C, the first in row-major order; (0, 0) below 0.0001.
    void Plain(int M, int N, int& Row, int& Col) const {
        Row = 1;
        Col = 1;
        double Best = U[1] + V[1] - C[CellIndex(1, 1)];
        for (int I = 1; I <= M; ++I)
            for (int J = 1; J <= N; ++J)
                if (U[I] + V[J] - C[CellIndex(I, J)] > Best) {
                    Best = U[I] + V[J] - C[CellIndex(I, J)];
                    Row = I;
                    Col = J;
                }
        if (Best < Tolerance)
            Row = Col = 0;
    }
};

TEST(WholePricing, UsableOnlyForWholeCostsOfASmallSpanBesideTheDummy) {
    TPricingSetup S;
    for (int I = 1; I <= 4; ++I)
        for (int J = 1; J <= 3; ++J)
            S.C[CellIndex(I, J)] = 100000.0 + I * J;
    S.Pricing->Prepare(4, 3, 2); // column 3 is no dummy: its costs are not 0
    EXPECT_TRUE(S.Pricing->Usable(4, 3));
    EXPECT_FALSE(S.Pricing->Usable(4, 4));
    for (int I = 1; I <= 4; ++I)
        S.C[CellIndex(I, 4)] = 0.0;
    S.Pricing->Prepare(4, 4, 0);
    EXPECT_FALSE(S.Pricing->Usable(4, 4)); // the zeros widen the span
    S.Pricing->Invalidate();
    S.Pricing->Prepare(4, 4, 2);
    EXPECT_TRUE(S.Pricing->Usable(4, 4));
    S.C[CellIndex(2, 2)] = 100000.5;
    S.Pricing->Invalidate();
    EXPECT_FALSE(S.Pricing->Usable(4, 4));
    S.Pricing->Prepare(4, 4, 2);
    EXPECT_FALSE(S.Pricing->Usable(4, 4));
}

// Random whole potentials over costs far above a dummy row or column, then potentials moved as
// a pivot moves them and the search run again on its raised bounds: always the plain answer.
TEST(WholePricing, FindsThePlainCellWithADummyLineAndAfterMoves) {
    std::mt19937 Rng(17);
    for (int Kind = 0; Kind <= 2; ++Kind)
        for (int Trial = 0; Trial < 30; ++Trial) {
            TPricingSetup S;
            const int M = 2 + int(Rng() % 40), N = 2 + int(Rng() % 40);
            for (int I = 1; I <= M; ++I)
                for (int J = 1; J <= N; ++J) {
                    const bool Dummy = (Kind == 1 && I == M) || (Kind == 2 && J == N);
                    S.C[CellIndex(I, J)] = Dummy ? 0.0 : 50000.0 + double(Rng() % 6);
                }
            for (int I = 1; I <= M; ++I)
                S.U[I] = double(Rng() % 5);
            for (int J = 1; J <= N; ++J)
                S.V[J] = 50000.0 + double(Rng() % 5) - (Kind == 2 && J == N ? 49999.0 : 0.0);
            S.Pricing->Prepare(M, N, Kind);
            ASSERT_TRUE(S.Pricing->Usable(M, N));
            for (int Move = 0; Move < 6; ++Move) {
                int Row, Col, PlainRow, PlainCol;
                ASSERT_TRUE(S.Pricing->Find(M, N, Row, Col));
                S.Plain(M, N, PlainRow, PlainCol);
                ASSERT_EQ(Row * 1000 + Col, PlainRow * 1000 + PlainCol)
                    << "kind " << Kind << " trial " << Trial << " move " << Move;
                std::vector<std::int32_t> Nodes;
                for (int I = 1; I <= M; ++I)
                    if (Rng() % 3 == 0)
                        Nodes.push_back(I);
                for (int J = 1; J <= N; ++J)
                    if (Rng() % 3 == 0)
                        Nodes.push_back(Capacity + J);
                const double Rise = double(int(Rng() % 7) - 3);
                for (int Node : Nodes)
                    (TBasisTree::IsRow(Node) ? S.U : S.V)[TBasisTree::LineOf(Node)] +=
                        TBasisTree::IsRow(Node) ? Rise : -Rise;
                S.Pricing->Follow({false, Rise, true, Nodes.data(), int(Nodes.size())});
            }
        }
}

} // namespace
