// The pivot cycle found the plain way: a depth-first search in rook moves from the entering cell
// back to it, directions tried in the order up, left, down, right, never straight back, sliding
// over non-basic cells (X < 0) to the first basic one; then the cells that lie on a straight
// stretch are dropped, leaving the corners. The store uses it whenever its basis tree may not
// stand in for the search. The search's stack lives here, so that nothing is allocated and
// nothing recurses on the thread's stack. Rows, columns and path positions count from 1.
#pragma once

#include "PlanShadow.h"
#include "StoreLimits.h"

#include <cstdint>

class TCycleSearch {
public:
    explicit TCycleSearch(const TPlanShadow& Shadow) : Shadow_(Shadow) {}
    TCycleSearch(const TCycleSearch&) = delete;
    TCycleSearch& operator=(const TCycleSearch&) = delete;

    // The cycle through (Row, Col) in an M x N plan into Path[1..Length]. Raises TCalcError when
    // there is none.
    void Find(int M, int N, int Row, int Col, TCycleCell* Path, std::int32_t& Length);

private:
    bool Slide(int M, int N, TCell From, int Dir, TCell Enter, TCell& Stop) const;
    template <typename F> static void DropStraight(TCycleCell* Path, std::int32_t& Length, F Same);

    const TPlanShadow& Shadow_;
    // Per branch position: the direction not to take, and the next direction to try.
    std::uint8_t BackDir_[2 * Capacity + 1]{};
    std::uint8_t NextDir_[2 * Capacity + 1]{};
};
