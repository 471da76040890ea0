#include "BasisTree.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A tree over a plan given as its basic cells, with its own costs and potentials.
struct TTreeSetup {
    std::unique_ptr<TPlanShadow> Shadow = std::make_unique<TPlanShadow>();
    std::vector<double> C = std::vector<double>(std::size_t(Capacity) * Capacity, 0.0);
    std::vector<double> U = std::vector<double>(Capacity + 1, 0.0);
    std::vector<double> V = std::vector<double>(Capacity + 1, 0.0);
    std::unique_ptr<TBasisTree> Tree =
        std::make_unique<TBasisTree>(*Shadow, C.data(), U.data(), V.data());
    int M, N;

    TTreeSetup(int Rows, int Cols, const std::vector<TCell>& Basic) : M(Rows), N(Cols) {
        for (int I = 1; I <= M; ++I)
            for (int J = 1; J <= N; ++J) {
                Shadow->Record(I, J, 0.0, NonBasic);
                C[CellIndex(I, J)] = double(3 * I + 7 * J % 5);
            }
        for (TCell Cell : Basic)
            Shadow->Record(Cell.Row, Cell.Col, NonBasic, 1.0);
    }
    // X of a cell changed as the store tells its caches.
    void Flip(int I, int J, double Old, double New) {
        if (Shadow->Record(I, J, Old, New))
            Tree->NoteFlip(I, J, New > BasicThreshold);
    }
};

// A 3 x 3 staircase: (1,1) (1,2) (2,2) (2,3) (3,3).
const std::vector<TCell> Staircase = {{1, 1}, {1, 2}, {2, 2}, {2, 3}, {3, 3}};

TEST(BasisTree, BuildGivesPotentialsThatPriceEveryBasicCellAtZero) {
    TTreeSetup S(3, 3, Staircase);
    const TMove Move = S.Tree->Build(3, 3);
    EXPECT_TRUE(Move.Rebuilt);
    EXPECT_TRUE(S.Tree->Current(3, 3));
    EXPECT_FALSE(S.Tree->Current(3, 4));
    EXPECT_EQ(S.U[1], 0.0);
    for (TCell Cell : Staircase)
        EXPECT_EQ(S.U[Cell.Row] + S.V[Cell.Col], S.C[CellIndex(Cell.Row, Cell.Col)]);
    S.Flip(3, 1, NonBasic, 0.0);
    EXPECT_FALSE(S.Tree->Current(3, 3));
}

TEST(BasisTree, RefusesWhatIsNoSpanningTree) {
    TTreeSetup Few(3, 3, {{1, 1}, {1, 2}, {2, 2}, {2, 3}});
    EXPECT_THROW(Few.Tree->Build(3, 3), TCalcError);
    TTreeSetup Many(3, 3, {{1, 1}, {1, 2}, {2, 2}, {2, 3}, {3, 3}, {3, 1}});
    EXPECT_THROW(Many.Tree->Build(3, 3), TCalcError);
    // Five cells, but rows 1 and 2 with columns 1 and 2 hold a cycle and row 3 is cut off.
    TTreeSetup Cut(3, 3, {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 3}});
    EXPECT_THROW(Cut.Tree->Build(3, 3), TCalcError);
    EXPECT_FALSE(Cut.Tree->Current(3, 3));
}

// Entering (3,1) on the staircase: the path runs (3,1) (1,1) (1,2) (2,2) (2,3) (3,3); with
// (2,2) leaving, the tree follows and its potentials match a tree built afresh.
TEST(BasisTree, FollowsAPivotOnItsPathAndOnlyThat) {
    for (const bool Expected : {true, false}) {
        TTreeSetup S(3, 3, Staircase);
        S.Tree->Build(3, 3);
        TCycleCell Path[8];
        std::int32_t Length = 0;
        S.Tree->ListPath(3, 1, Path, Length);
        ASSERT_EQ(Length, 6);
        EXPECT_EQ(Path[1].Row * 10 + Path[1].Col, 31);
        EXPECT_EQ(Path[2].Row * 10 + Path[2].Col, 11);
        EXPECT_EQ(Path[6].Row * 10 + Path[6].Col, 33);
        S.Flip(3, 1, NonBasic, 0.0);
        if (!Expected) // a change the pivot did not make
            S.Flip(3, 2, NonBasic, 0.0);
        S.Flip(2, 2, 1.0, NonBasic);
        S.Tree->FollowPivot({3, 1}, {2, 2}, 3, 3);
        ASSERT_EQ(S.Tree->Current(3, 3), Expected);
        if (!Expected)
            continue;
        const TMove Move = S.Tree->Settle();
        EXPECT_FALSE(Move.Rebuilt);
        EXPECT_TRUE(Move.Even);
        EXPECT_GT(Move.Count, 0);
        TTreeSetup Fresh(3, 3, {{1, 1}, {1, 2}, {2, 3}, {3, 3}, {3, 1}});
        Fresh.Tree->Build(3, 3);
        for (int K = 1; K <= 3; ++K) {
            EXPECT_EQ(S.U[K], Fresh.U[K]) << K;
            EXPECT_EQ(S.V[K], Fresh.V[K]) << K;
        }
    }
}

} // namespace
