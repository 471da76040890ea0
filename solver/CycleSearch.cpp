#include "CycleSearch.h"

namespace {

constexpr int Up = 1, Left = 2, Down = 3, Right = 4;

int Opposite(int Dir) {
    return Dir <= 2 ? Dir + 2 : Dir - 2;
}

} // namespace

// Path[1..Length] is the current branch; a spanning tree never repeats a cell on one branch, so
// a branch holds at most the M + N - 1 basic cells and the entering cell.
void TCycleSearch::Find(int M, int N, int Row, int Col, TCycleCell* Path, std::int32_t& Length) {
    const int Limit = M + N;
    const TCell Enter = {Row, Col};
    const auto At = [Path](int K) { return TCell{Path[K].Row, Path[K].Col}; };
    Length = 1;
    Path[1] = {Col, Row};
    BackDir_[1] = 0;
    NextDir_[1] = Up;
    bool Found = false;
    while (Length > 0) {
        const int K = Length;
        const int Dir = NextDir_[K];
        if (Dir > Right) {
            --Length;
            continue;
        }
        NextDir_[K] = std::uint8_t(Dir + 1);
        TCell Stop;
        if (Dir == BackDir_[K] || !Slide(M, N, At(K), Dir, Enter, Stop))
            continue;
        if (Stop.Row == Row && Stop.Col == Col) {
            Found = true;
            break;
        }
        if (Length == Limit)
            throw TCalcError("The cycle search ran past a spanning tree's size");
        Path[K + 1] = {Stop.Col, Stop.Row};
        Length = K + 1;
        BackDir_[K + 1] = std::uint8_t(Opposite(Dir));
        NextDir_[K + 1] = Up;
    }
    if (!Found)
        throw TCalcError("No pivot cycle passes through the entering cell");
    // A closing entry lets the passes see a straight stretch that ends at the entering cell.
    Path[++Length] = {Col, Row};
    DropStraight(Path, Length, [](TCycleCell P, TCycleCell Q) { return P.Col == Q.Col; });
    DropStraight(Path, Length, [](TCycleCell P, TCycleCell Q) { return P.Row == Q.Row; });
    --Length;
}

// One slide: from From in direction Dir over non-basic cells to the first basic cell or to the
// entering cell, whichever comes first inside the table.
bool TCycleSearch::Slide(int M, int N, TCell From, int Dir, TCell Enter, TCell& Stop) const {
    Stop = From;
    const bool SameCol = Enter.Col == From.Col, SameRow = Enter.Row == From.Row;
    int At = -1;
    switch (Dir) {
    case Up:
        At = Shadow_.PrevInColumn(From.Col, From.Row);
        if (SameCol && Enter.Row < From.Row && Enter.Row > At && Enter.Row >= 1)
            At = Enter.Row;
        Stop.Row = At;
        break;
    case Left:
        At = Shadow_.PrevInRow(From.Row, From.Col);
        if (SameRow && Enter.Col < From.Col && Enter.Col > At && Enter.Col >= 1)
            At = Enter.Col;
        Stop.Col = At;
        break;
    case Down:
        At = Shadow_.NextInColumn(From.Col, From.Row, M);
        if (SameCol && Enter.Row > From.Row && Enter.Row <= M && (At < 0 || Enter.Row < At))
            At = Enter.Row;
        Stop.Row = At;
        break;
    case Right:
        At = Shadow_.NextInRow(From.Row, From.Col, N);
        if (SameRow && Enter.Col > From.Col && Enter.Col <= N && (At < 0 || Enter.Col < At))
            At = Enter.Col;
        Stop.Col = At;
        break;
    }
    return At > 0;
}

// Drops the middle one of three consecutive cells on one line, testing the same position again
// after a drop: one pass with a read and a write position.
template <typename F>
void TCycleSearch::DropStraight(TCycleCell* Path, std::int32_t& Length, F Same) {
    if (Length < 3)
        return;
    int W = 1, R = 2;
    while (R + 1 <= Length) {
        if (Same(Path[W], Path[R]) && Same(Path[R], Path[R + 1]))
            ++R;
        else
            Path[++W] = Path[R++];
    }
    while (R <= Length)
        Path[++W] = Path[R++];
    Length = W;
}
