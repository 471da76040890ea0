#include "BasisTree.h"

#include <algorithm>
#include <cassert>

void TBasisTree::Invalidate() {
    Valid_ = false;
    Listed_ = false;
}

void TBasisTree::NoteFlip(int I, int J, bool Basic) {
    if (FlipCount_ < 2)
        Flips_[FlipCount_] = {{I, J}, Basic};
    FlipCount_ = std::min(FlipCount_ + 1, 3);
}

// The basic cell joining a node to its parent.
TCell TBasisTree::Edge(int Node) const {
    const int Up = Parent_[Node];
    return IsRow(Node) ? TCell{Node, Up - Capacity} : TCell{Up, Node - Capacity};
}

// The basic cells in row-major order, then, by a counting sort, each column's cells in that
// order: column J's at ColEntries_[ColFirst_[J] .. ColFirst_[J + 1] - 1].
void TBasisTree::ListBasicCells(int M, int N) {
    const int Need = M + N - 1;
    int Count = 0;
    for (int I = 1; I <= M; ++I) {
        RowFirst_[I] = Count;
        Shadow_.ForEachBasic(I, N, [&](int J) {
            if (Count == Need)
                throw TCalcError("The plan has more basic cells than a spanning tree");
            Entries_[Count++] = {I, J};
        });
    }
    RowFirst_[M + 1] = Count;
    if (Count != Need)
        throw TCalcError("The plan has fewer basic cells than a spanning tree");
    std::fill(ColFirst_, ColFirst_ + N + 3, 0);
    for (int K = 0; K < Count; ++K)
        ++ColFirst_[Entries_[K].Col + 2];
    for (int J = 1; J <= N + 2; ++J)
        ColFirst_[J] += ColFirst_[J - 1];
    for (int K = 0; K < Count; ++K)
        ColEntries_[ColFirst_[Entries_[K].Col + 1]++] = K;
}

// A walk outwards from row 1 over the cells of each newly known row or column.
TMove TBasisTree::Build(int M, int N) {
    Invalidate();
    FlipCount_ = 0;
    PendingCount_ = 0;
    ListBasicCells(M, N);
    std::fill(Known_, Known_ + Nodes + 1, false);
    for (int I = 1; I <= M; ++I)
        FirstChild_[RowNode(I)] = 0;
    for (int J = 1; J <= N; ++J)
        FirstChild_[ColNode(J)] = 0;
    const int Root = RowNode(1);
    Potential(Root) = 0.0;
    Known_[Root] = true;
    Parent_[Root] = 0;
    Depth_[Root] = 0;
    int Head = 0, Tail = 0;
    Walk_[Tail++] = Root;
    while (Head < Tail) {
        const int Node = Walk_[Head++];
        const int Line = LineOf(Node);
        if (IsRow(Node)) {
            for (int Q = RowFirst_[Line]; Q < RowFirst_[Line + 1]; ++Q)
                Reach(ColNode(Entries_[Q].Col), Node, Entries_[Q], Tail);
        } else {
            for (int Q = ColFirst_[Line]; Q < ColFirst_[Line + 1]; ++Q)
                Reach(RowNode(Entries_[ColEntries_[Q]].Row), Node, Entries_[ColEntries_[Q]], Tail);
        }
    }
    if (Tail != M + N)
        throw TCalcError("The plan's basic cells do not connect every row and column");
    Valid_ = true;
    M_ = M;
    N_ = N;
    return TMove::Rebuild();
}

void TBasisTree::Reach(int Node, int From, TCell Cell, int& Tail) {
    if (Known_[Node])
        return;
    Known_[Node] = true;
    Link(Node, From, Cost(Cell));
    Depth_[Node] = Depth_[From] + 1;
    Potential(Node) = Cost(Cell) - Potential(From);
    Walk_[Tail++] = Node;
}

// With whole costs the re-hung side's rows all move by one whole number and its columns by the
// negative of it, exactly; the move reports whether they did.
TMove TBasisTree::Settle() {
    TMove Move = TMove::Partial(Pending_, PendingCount_);
    for (int K = 0; K < PendingCount_; ++K) {
        const int Node = Pending_[K];
        const double Old = Potential(Node);
        const double New = ParentCost_[Node] - Potential(Parent_[Node]);
        Potential(Node) = New;
        const double RowRise = IsRow(Node) ? New - Old : Old - New;
        if (K == 0)
            Move.Rise = RowRise;
        else if (RowRise != Move.Rise)
            Move.Even = false;
    }
    PendingCount_ = 0;
    return Move;
}

// A rook-move search that never turns straight back can only close on the entering cell along
// the tree path between column Col and row Row. It lists the path starting with the cell in
// column Col if that lies above the entering cell, else with the cell in row Row if that lies to
// the left, else again with the column's cell: up, left, down, the order of its directions.
void TBasisTree::ListPath(int Row, int Col, TCycleCell* Path, std::int32_t& Length) {
    // Climb from both ends to where the two ways towards row 1 meet: the row's side into the
    // front of Walk_, the column's side into its back; together at most M + N - 1 nodes.
    int FromRow = RowNode(Row), FromCol = ColNode(Col);
    int RowSide = 0, ColSide = 0;
    int* const ColEnd = Walk_ + Nodes - 1;
    while (Depth_[FromRow] > Depth_[FromCol]) {
        Walk_[RowSide++] = FromRow;
        FromRow = Parent_[FromRow];
    }
    while (Depth_[FromCol] > Depth_[FromRow]) {
        ColEnd[-ColSide++] = FromCol;
        FromCol = Parent_[FromCol];
    }
    while (FromRow != FromCol) {
        Walk_[RowSide++] = FromRow;
        FromRow = Parent_[FromRow];
        ColEnd[-ColSide++] = FromCol;
        FromCol = Parent_[FromCol];
    }
    // The path's cells next to the entering cell, in its column and in its row.
    const TCell InCol = ColSide > 0 ? Edge(ColEnd[0]) : Edge(Walk_[RowSide - 1]);
    const TCell InRow = RowSide > 0 ? Edge(Walk_[0]) : Edge(ColEnd[1 - ColSide]);
    const bool ColumnFirst = InCol.Row < Row || !(InRow.Col < Col);

    Length = 0;
    auto Add = [&](TCell Cell) { Path[++Length] = {Cell.Col, Cell.Row}; };
    Add({Row, Col});
    if (ColumnFirst) {
        for (int K = 0; K < ColSide; ++K)
            Add(Edge(ColEnd[-K]));
        for (int K = RowSide - 1; K >= 0; --K)
            Add(Edge(Walk_[K]));
    } else {
        for (int K = 0; K < RowSide; ++K)
            Add(Edge(Walk_[K]));
        for (int K = ColSide - 1; K >= 0; --K)
            Add(Edge(ColEnd[-K]));
    }
    Listed_ = true;
}

void TBasisTree::FollowPivot(TCell Entering, TCell Leaving, int M, int N) {
    auto Is = [](const TFlip& Flip, TCell Cell, bool Basic) {
        return Flip.Basic == Basic && Flip.Cell.Row == Cell.Row && Flip.Cell.Col == Cell.Col;
    };
    const bool Follows = Listed_ && Valid_ && PendingCount_ == 0 && M == M_ && N == N_ &&
                         FlipCount_ == 2 && Is(Flips_[0], Entering, true) &&
                         Is(Flips_[1], Leaving, false);
    Listed_ = false;
    if (!Follows) {
        Invalidate();
        return;
    }
    FlipCount_ = 0;
    Exchange(Entering, Leaving, M, N);
}

// The leaving cell cuts the tree in two; the side away from row 1 is hung again from the
// entering cell, with parents, depths and edge costs renewed. Its potentials wait for Settle.
void TBasisTree::Exchange(TCell Entering, TCell Leaving, int M, int N) {
    const int LeftRow = RowNode(Leaving.Row), LeftCol = ColNode(Leaving.Col);
    const int Cut = Parent_[LeftRow] == LeftCol ? LeftRow : LeftCol;
    // The leaving cell lies on the path ListPath gave, so it is an edge of the tree.
    const bool LeavingIsEdge = Parent_[Cut] == (Cut == LeftRow ? LeftCol : LeftRow);
    assert(LeavingIsEdge && "the leaving cell is no edge of the basis tree");
    if (!LeavingIsEdge) {
        Invalidate();
        return;
    }
    // The entering cell joins the two sides: find its end on the cut side.
    const int EnterRow = RowNode(Entering.Row), EnterCol = ColNode(Entering.Col);
    int Node = EnterRow;
    while (Depth_[Node] > Depth_[Cut])
        Node = Parent_[Node];
    const int Hang = Node == Cut ? EnterRow : EnterCol;
    const int From = Node == Cut ? EnterCol : EnterRow;

    // Turn the path from Hang up to Cut round, each edge's cost moving with it, and hang Hang
    // from From.
    Unlink(Cut);
    int Child = Hang, Above = From;
    double EdgeCost = Cost(Entering);
    while (true) {
        const int OldParent = Parent_[Child];
        const double OldCost = ParentCost_[Child];
        if (Child != Cut)
            Unlink(Child);
        Link(Child, Above, EdgeCost);
        if (Child == Cut)
            break;
        Above = Child;
        Child = OldParent;
        EdgeCost = OldCost;
    }

    // Depths anew over the re-hung side, parents first.
    int Count = 0;
    Depth_[Hang] = Depth_[From] + 1;
    Pending_[Count++] = Hang;
    for (int K = 0; K < Count; ++K) {
        const int Next = Pending_[K];
        for (int Kid = FirstChild_[Next]; Kid != 0; Kid = NextSibling_[Kid]) {
            const bool Fits = Count < M + N - 1;
            assert(Fits && "the re-hung side of the basis tree has a cycle");
            if (!Fits) {
                Invalidate();
                return;
            }
            Depth_[Kid] = Depth_[Next] + 1;
            Pending_[Count++] = Kid;
        }
    }
    PendingCount_ = Count;
}

// Hangs Node under Above by a cell of cost Cost, as Above's first child.
void TBasisTree::Link(int Node, int Above, double Cost) {
    Parent_[Node] = Above;
    ParentCost_[Node] = Cost;
    PrevSibling_[Node] = 0;
    NextSibling_[Node] = FirstChild_[Above];
    if (FirstChild_[Above] != 0)
        PrevSibling_[FirstChild_[Above]] = Node;
    FirstChild_[Above] = Node;
}

// Takes Node out of its parent's children.
void TBasisTree::Unlink(int Node) {
    if (PrevSibling_[Node] != 0)
        NextSibling_[PrevSibling_[Node]] = NextSibling_[Node];
    else
        FirstChild_[Parent_[Node]] = NextSibling_[Node];
    if (NextSibling_[Node] != 0)
        PrevSibling_[NextSibling_[Node]] = PrevSibling_[Node];
}
