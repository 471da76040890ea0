#include "PlanShadow.h"

#include <algorithm>

PlanShadow::PlanShadow() {
    for (int I = 1; I <= Capacity; ++I)
        for (int J = 1; J <= Capacity; ++J) {
            Put(BasicRows_[I], J, true);
            Put(TreeRows_[I], J, true);
            Put(TreeCols_[J], I, true);
        }
}

bool PlanShadow::Record(int I, int J, double Old, double New) {
    const bool WasBasic = Old > BasicThreshold, Basic = New > BasicThreshold;
    const bool WasTree = Old >= 0.0, Tree = New >= 0.0;
    if (Basic == WasBasic && Tree == WasTree)
        return false;
    Straddling_ += int(Basic && !Tree) - int(WasBasic && !WasTree);
    Put(BasicRows_[I], J, Basic);
    Put(TreeRows_[I], J, Tree);
    Put(TreeCols_[J], I, Tree);
    return Basic != WasBasic;
}

void PlanShadow::Put(TBits& Bits, int K, bool On) {
    const TWord Mask = TWord(1) << (K & 63);
    if (On)
        Bits[K >> 6] |= Mask;
    else
        Bits[K >> 6] &= ~Mask;
}

// Bits From..To as a mask for word W (empty when the range misses the word).
PlanShadow::TWord PlanShadow::RangeMask(int W, int From, int To) {
    const int Lo = std::max(From - W * 64, 0);
    const int Hi = std::min(To - W * 64, 63);
    if (Lo > Hi)
        return 0;
    const TWord Upper = Hi == 63 ? ~TWord(0) : (TWord(1) << (Hi + 1)) - 1;
    return Upper & ~((TWord(1) << Lo) - 1);
}

int PlanShadow::NextBit(const TBits& Bits, int From, int To) {
    if (From > To)
        return -1;
    for (int W = From >> 6; W <= To >> 6; ++W)
        if (const TWord Hit = Bits[W] & RangeMask(W, From, To))
            return W * 64 + std::countr_zero(Hit);
    return -1;
}

int PlanShadow::PrevBit(const TBits& Bits, int From, int To) {
    if (From > To)
        return -1;
    for (int W = To >> 6; W >= From >> 6; --W)
        if (const TWord Hit = Bits[W] & RangeMask(W, From, To))
            return W * 64 + 63 - std::countl_zero(Hit);
    return -1;
}
