// The basis as a tree, kept from one pivot to the next so that the potentials and the pivot
// cycle cost work in proportion to what a pivot changes rather than a pass over the table.
//
// The basic cells of a spanning-tree basis join the rows and the columns into a tree. Hung from
// row 1, each row or column has one parent, the cell to it is its edge, and its potential is the
// edge's cost minus the parent's potential: the one subtraction the potentials step makes for it,
// whatever order the cells are visited in. So walking the tree outwards from row 1 gives the
// potentials of the plain scan bit for bit, and after a pivot only the side that was hung again
// needs them anew. The path in the tree between a row and a column is the pivot cycle of the
// cell where they meet.
//
// Nodes count from 1 like the store's indices: row I is node I, column J is node Capacity + J;
// node 0 is none. The tree is built from references to the plan's shadow and to the store's
// costs and potentials (costs by CellIndex, potentials from index 1).
// Current(M, N): built or followed for a problem of this size, and no cell has entered or left
// the basis since except through a pivot it followed. (The caches' protocol: CalcUnit.h.)
#pragma once

#include "PlanShadow.h"
#include "StoreLimits.h"

#include <cstdint>

// What the potentials did in one potentials step: every potential computed afresh, or only the
// Count nodes at Nodes moved, rows by Rise and columns by -Rise when Even.
struct TMove {
    static TMove Rebuild() { return {true, 0.0, true, nullptr, 0}; }
    static TMove Partial(const std::int32_t* Nodes, int Count) {
        return {false, 0.0, true, Nodes, Count};
    }

    bool Rebuilt;
    double Rise;
    bool Even;
    const std::int32_t* Nodes;
    int Count;
};

class TBasisTree {
public:
    static constexpr int Nodes = 2 * Capacity;

    TBasisTree(const TPlanShadow& Shadow, const double* C, double* U, double* V)
        : Shadow_(Shadow), C_(C), U_(U), V_(V) {}
    TBasisTree(const TBasisTree&) = delete;
    TBasisTree& operator=(const TBasisTree&) = delete;

    static bool IsRow(int Node) { return Node <= Capacity; }
    static int LineOf(int Node) { return IsRow(Node) ? Node : Node - Capacity; }

    void Invalidate();
    bool Current(int M, int N) const { return Valid_ && FlipCount_ == 0 && M == M_ && N == N_; }

    // A cell entered (Basic) or left the basis.
    void NoteFlip(int I, int J, bool Basic);

    // The tree of the plan's basic cells and every potential, U[1] = 0. Raises TCalcError when
    // the basic cells do not form a spanning tree.
    TMove Build(int M, int N);
    // The potentials a followed pivot left out of date. Only while Current.
    TMove Settle();
    // The pivot cycle of the non-basic cell (Row, Col) into Path[1..Length]. Only while Current.
    void ListPath(int Row, int Col, TCycleCell* Path, std::int32_t& Length);
    // After a pivot on the path ListPath gave last: Entering is basic now and Leaving is not.
    // Anything else since that path leaves the tree out of date.
    void FollowPivot(TCell Entering, TCell Leaving, int M, int N);

private:
    static int RowNode(int I) { return I; }
    static int ColNode(int J) { return Capacity + J; }
    double& Potential(int Node) { return IsRow(Node) ? U_[Node] : V_[Node - Capacity]; }
    double Cost(TCell Cell) const { return C_[CellIndex(Cell.Row, Cell.Col)]; }
    TCell Edge(int Node) const;
    void ListBasicCells(int M, int N);
    void Reach(int Node, int From, TCell Cell, int& Tail);
    void Exchange(TCell Entering, TCell Leaving, int M, int N);
    void Link(int Node, int Above, double Cost);
    void Unlink(int Node);

    const TPlanShadow& Shadow_;
    const double* C_;
    double* U_;
    double* V_;

    std::int32_t Parent_[Nodes + 1]{};
    std::int32_t FirstChild_[Nodes + 1]{};
    std::int32_t NextSibling_[Nodes + 1]{};
    std::int32_t PrevSibling_[Nodes + 1]{};
    std::int32_t Depth_[Nodes + 1]{};
    double ParentCost_[Nodes + 1]{};
    bool Valid_ = false;
    std::int32_t M_ = 0;
    std::int32_t N_ = 0;
    // The cells that entered or left the basis since the tree was last in step (more than two:
    // too many to follow).
    struct TFlip {
        TCell Cell;
        bool Basic;
    };
    TFlip Flips_[2]{};
    std::int32_t FlipCount_ = 0;
    // ListPath gave the cycle now in the store, and nothing has moved the tree since.
    bool Listed_ = false;
    // The nodes a followed pivot hung again, parents first, whose potentials Settle renews.
    std::int32_t Pending_[Nodes]{};
    std::int32_t PendingCount_ = 0;

    // Working data of Build and ListPath; positions in these lists count from 0.
    static constexpr int MaxEntries = 2 * Capacity - 1;
    TCell Entries_[MaxEntries]{};
    std::int32_t RowFirst_[Capacity + 2]{};
    std::int32_t ColFirst_[Capacity + 3]{};
    std::int32_t ColEntries_[MaxEntries]{};
    std::int32_t Walk_[Nodes]{};
    bool Known_[Nodes + 1]{};
};
