// The store's capacity, its plan marks and tolerances, and the types every solver module shares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>

inline constexpr int MaxSize = 500;
inline constexpr int Capacity = MaxSize + 1;
inline constexpr double NonBasic = -1.0;
inline constexpr double BasicThreshold = -0.0001;
// The tolerance of balancing and of the optimality test.
inline constexpr double Tolerance = 0.0001;

// A cell of the table: its row (supplier) and its column (consumer), both from 1.
struct TCell {
    std::int32_t Row;
    std::int32_t Col;
    friend bool operator==(TCell, TCell) = default;
};

// An entry of the store's pivot path, column first as the path has always been kept.
struct TCycleCell {
    std::int32_t Col;
    std::int32_t Row;
};

// A broken invariant of the solver (a basis that is not a spanning tree, no pivot cycle) or a
// problem that cannot give a meaningful plan. The message is meant for the user.
class TCalcError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where cell (I, J), both from 1, lies in a row-major table of Capacity x Capacity entries.
inline std::size_t CellIndex(int I, int J) {
    return std::size_t(I - 1) * Capacity + std::size_t(J - 1);
}
