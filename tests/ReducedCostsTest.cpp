#include "ReducedCosts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

// Every length up to a few whole vectors and their tails, and a full row of the store.
std::vector<int> Lengths() {
    std::vector<int> Out;
    for (int Count = 1; Count <= 70; ++Count)
        Out.push_back(Count);
    Out.push_back(501);
    return Out;
}

// Each set of kernels the processor can run: the baseline set, and AVX2 where it has it.
std::vector<const ReducedCosts::TForms*> Sets() {
    std::vector<const ReducedCosts::TForms*> Out = {&ReducedCosts::BaselineForms()};
    if (const ReducedCosts::TForms* Avx2 = ReducedCosts::Avx2Forms())
        Out.push_back(Avx2);
    return Out;
}

template <typename L, typename T> std::int32_t PlainMax(const L* V, const T* Row, int Count) {
    std::int32_t Best = std::int32_t(V[0]) - std::int32_t(Row[0]);
    for (int J = 1; J < Count; ++J)
        Best = std::max(Best, std::int32_t(V[J]) - std::int32_t(Row[J]));
    return Best;
}

// Random potentials and costs whose differences stay within what the form promises to hold;
// a few repeated values so that maxima are often tied, then the scalar answer.
template <typename L, typename T>
void CheckForm(std::int64_t LowV, std::int64_t HighV, std::int64_t HighCost) {
    std::mt19937 Rng(5);
    for (int Count : Lengths())
        for (int Trial = 0; Trial < 20; ++Trial) {
            std::vector<L> V(static_cast<std::size_t>(Count));
            std::vector<T> Row(static_cast<std::size_t>(Count));
            std::uniform_int_distribution<std::int64_t> Potential(LowV, HighV), Cost(0, HighCost);
            const bool Extremes = Trial % 4 == 0;
            for (int J = 0; J < Count; ++J) {
                V[J] = L(Extremes ? (J % 2 ? HighV : LowV) : Potential(Rng));
                Row[J] = T(Extremes ? (J % 3 ? 0 : HighCost) : Cost(Rng));
                if (Trial % 3 == 1 && J > 0 && Rng() % 2 == 0) {
                    V[J] = V[J - 1];
                    Row[J] = Row[J - 1];
                }
            }
            const std::int32_t Want = PlainMax(V.data(), Row.data(), Count);
            int First = 0;
            while (std::int32_t(V[First]) - std::int32_t(Row[First]) != Want)
                ++First;
            for (const ReducedCosts::TForms* Set : Sets()) {
                ASSERT_EQ(Set->WholeMax(V.data(), Row.data(), Count), Want)
                    << "length " << Count << " trial " << Trial;
                ASSERT_EQ(Set->WholeFirst(V.data(), Row.data(), Count, Want), First)
                    << "length " << Count << " trial " << Trial;
                if (Want < std::numeric_limits<L>::max()) {
                    ASSERT_EQ(Set->WholeFirst(V.data(), Row.data(), Count, Want + 1), -1);
                }
            }
            ASSERT_EQ(ReducedCosts::RowMax(V.data(), Row.data(), Count), Want);
        }
}

TEST(WholeForms, ThirtyTwoBitLanesOverSixteenBitCosts) {
    CheckForm<std::int32_t, std::int16_t>(-(1 << 28), 1 << 28, 32767);
}

TEST(WholeForms, FirstAtFindsALaterValueWhenTheFirstCellsMiss) {
    std::vector<std::int32_t> V(40, 10);
    std::vector<std::int16_t> Row(40, 3);
    Row[37] = 1;
    Row[39] = 1;
    EXPECT_EQ(ReducedCosts::RowMax(V.data(), Row.data(), 40), 9);
    EXPECT_EQ(ReducedCosts::FirstAt(V.data(), Row.data(), 40, 9), 37);
    Row[5] = 1;
    EXPECT_EQ(ReducedCosts::FirstAt(V.data(), Row.data(), 40, 9), 5);
}

TEST(DoubleForm, MatchesTheScalarMaximumAndNeverLetsANaNWin) {
    std::mt19937 Rng(11);
    std::uniform_real_distribution<double> Value(-1e6, 1e6);
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    for (int Count : Lengths()) {
        std::vector<double> V(static_cast<std::size_t>(Count)),
            Row(static_cast<std::size_t>(Count));
        for (int J = 0; J < Count; ++J) {
            V[J] = Value(Rng);
            Row[J] = J % 5 == 2 ? NaN : Value(Rng);
        }
        const double U = Value(Rng);
        double Want = -std::numeric_limits<double>::infinity();
        for (int J = 0; J < Count; ++J) {
            const double D = (U + V[J]) - Row[J];
            if (D > Want)
                Want = D;
        }
        for (const ReducedCosts::TForms* Set : Sets())
            ASSERT_EQ(Set->DoubleMax(U, V.data(), Row.data(), Count), Want) << Count;
        ASSERT_EQ(ReducedCosts::RowMax(U, V.data(), Row.data(), Count), Want) << Count;
    }
    const std::vector<double> Nans(9, NaN);
    for (const ReducedCosts::TForms* Set : Sets())
        EXPECT_EQ(Set->DoubleMax(0.0, Nans.data(), Nans.data(), 9),
                  -std::numeric_limits<double>::infinity());
}

} // namespace
