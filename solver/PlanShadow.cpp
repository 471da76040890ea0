#include "PlanShadow.h"

#include <algorithm>

TPlanShadow::TPlanShadow() {
    for (int I = 1; I <= Capacity; ++I)
        for (int J = 1; J <= Capacity; ++J) {
            Put(BasicRows_[I], J, true);
            Put(TreeRows_[I], J, true);
            Put(TreeCols_[J], I, true);
        }
}

int TPlanShadow::NextBit(const TBits& Bits, int From, int To) {
    if (From > To)
        return -1;
    for (int W = From >> 6; W <= To >> 6; ++W)
        if (const TWord Hit = Bits[W] & RangeMask(W, From, To))
            return W * 64 + std::countr_zero(Hit);
    return -1;
}

int TPlanShadow::PrevBit(const TBits& Bits, int From, int To) {
    if (From > To)
        return -1;
    for (int W = To >> 6; W >= From >> 6; --W)
        if (const TWord Hit = Bits[W] & RangeMask(W, From, To))
            return W * 64 + 63 - std::countl_zero(Hit);
    return -1;
}
