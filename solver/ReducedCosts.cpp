#include "ReducedCosts.h"

// This file is compiled twice: as itself, for the baseline instruction set, and with
// KELVOR_AVX2_FORMS and -mavx2 (the build's kelvor_solver_avx2 objects). Each compilation builds
// the same kernels for its own instruction set and publishes them as one table of forms; the
// baseline compilation also holds the public functions, which pick a table once, at start-up, by
// what the processor offers. The kernels use no inline function of the standard library, whose
// one out-of-line copy could otherwise come from either compilation.
#ifdef __AVX2__
#include <immintrin.h>
#endif

#include <cstring>
#include <limits>

// Vectors are passed between always-inlined helpers only, never across a real call.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace ReducedCosts {

extern const TForms BaselineTable;
extern const TForms Avx2Table;

} // namespace ReducedCosts

namespace {

// Vectors as wide as the instruction set's registers: wider ones, split by the compiler, cost
// more than a scalar loop on the baseline set.
#ifdef __AVX2__
constexpr int VectorBytes = 32;
#else
constexpr int VectorBytes = 16;
#endif
constexpr int DoubleLanes = VectorBytes / 8;
constexpr int WholeLanes = VectorBytes / 4;
typedef double VD __attribute__((vector_size(VectorBytes)));
typedef std::int32_t V32 __attribute__((vector_size(VectorBytes)));
typedef std::int16_t V16 __attribute__((vector_size(VectorBytes / 2)));

template <typename Vec> [[gnu::always_inline]] inline Vec Load(const void* From) {
    Vec Out;
    std::memcpy(&Out, From, sizeof Out);
    return Out;
}

// Keeps the larger lane; a NaN in D compares false and never replaces Best.
template <typename Vec> [[gnu::always_inline]] inline Vec Larger(Vec D, Vec Best) {
    return D > Best ? D : Best;
}

template <typename Vec, typename T> [[gnu::always_inline]] inline T Lanes(Vec Best, T Start) {
    T Out = Start;
    for (unsigned L = 0; L < sizeof(Vec) / sizeof(T); ++L)
        if (Best[L] > Out)
            Out = Best[L];
    return Out;
}

// (U + V[J..]) - Row[J..], one vector of lanes.
[[gnu::always_inline]] inline VD Reduced(VD U, const double* V, const double* Row, int J) {
    return (U + Load<VD>(V + J)) - Load<VD>(Row + J);
}

// V[J..] - Row[J..], one vector of lanes. The generic widening compiles to several
// instructions where AVX2 has one, so the AVX2 compilation says it directly.
[[gnu::always_inline]] inline V32 Whole(const std::int32_t* V, const std::int16_t* Row, int J) {
#ifdef __AVX2__
    const V32 Costs =
        V32(_mm256_cvtepi16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Row + J))));
#else
    const V32 Costs = __builtin_convertvector(Load<V16>(Row + J), V32);
#endif
    return Load<V32>(V + J) - Costs;
}

double DoubleMax(double U, const double* V, const double* Row, int Count) {
    constexpr double Low = -std::numeric_limits<double>::infinity();
    constexpr int K = DoubleLanes;
    const VD Uv = VD{} + U;
    VD M0 = VD{} + Low, M1 = M0, M2 = M0, M3 = M0;
    int J = 0;
    for (; J + 4 * K <= Count; J += 4 * K) {
        M0 = Larger(Reduced(Uv, V, Row, J), M0);
        M1 = Larger(Reduced(Uv, V, Row, J + K), M1);
        M2 = Larger(Reduced(Uv, V, Row, J + 2 * K), M2);
        M3 = Larger(Reduced(Uv, V, Row, J + 3 * K), M3);
    }
    for (; J + K <= Count; J += K)
        M0 = Larger(Reduced(Uv, V, Row, J), M0);
    double Best = Lanes(Larger(Larger(M1, M0), Larger(M3, M2)), Low);
    for (; J < Count; ++J) {
        const double Dj = (U + V[J]) - Row[J];
        if (Dj > Best)
            Best = Dj;
    }
    return Best;
}

std::int32_t WholeMax(const std::int32_t* V, const std::int16_t* Row, int Count) {
    constexpr std::int32_t Low = std::numeric_limits<std::int32_t>::min();
    constexpr int K = WholeLanes;
    V32 M0 = V32{} + Low, M1 = M0;
    int J = 0;
    for (; J + 2 * K <= Count; J += 2 * K) {
        M0 = Larger(Whole(V, Row, J), M0);
        M1 = Larger(Whole(V, Row, J + K), M1);
    }
    for (; J + K <= Count; J += K)
        M0 = Larger(Whole(V, Row, J), M0);
    std::int32_t Best = Lanes(Larger(M1, M0), Low);
    for (; J < Count; ++J) {
        const std::int32_t Wj = V[J] - std::int32_t(Row[J]);
        if (Wj > Best)
            Best = Wj;
    }
    return Best;
}

int WholeFirst(const std::int32_t* V, const std::int16_t* Row, int Count, std::int32_t Value) {
    constexpr int K = WholeLanes;
    const V32 Target = V32{} + Value;
    int J = 0;
    for (; J + K <= Count; J += K) {
        const V32 Equal = Whole(V, Row, J) == Target;
        std::uint64_t Words[VectorBytes / 8];
        std::memcpy(Words, &Equal, sizeof Words);
        std::uint64_t Any = 0;
        for (std::uint64_t Word : Words)
            Any |= Word;
        if (Any != 0)
            for (int Lane = 0; Lane < K; ++Lane)
                if (Equal[Lane] != 0)
                    return J + Lane;
    }
    for (; J < Count; ++J)
        if (V[J] - std::int32_t(Row[J]) == Value)
            return J;
    return -1;
}

} // namespace

namespace ReducedCosts {

#ifdef KELVOR_AVX2_FORMS

const TForms Avx2Table = {DoubleMax, WholeMax, WholeFirst};

#else

const TForms BaselineTable = {DoubleMax, WholeMax, WholeFirst};

namespace {

bool HasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

// Chosen through a pointer set once rather than ifunc resolvers, which ThreadSanitizer's
// start-up cannot run.
const TForms* const Forms = HasAvx2() ? &Avx2Table : &BaselineTable;

} // namespace

const TForms& BaselineForms() {
    return BaselineTable;
}

const TForms* Avx2Forms() {
    return HasAvx2() ? &Avx2Table : nullptr;
}

double RowMax(double U, const double* V, const double* Row, int Count) {
    return Forms->DoubleMax(U, V, Row, Count);
}

std::int32_t RowMax(const std::int32_t* V, const std::int16_t* Row, int Count) {
    return Forms->WholeMax(V, Row, Count);
}

int FirstAt(const std::int32_t* V, const std::int16_t* Row, int Count, std::int32_t Value) {
    return Forms->WholeFirst(V, Row, Count, Value);
}

#endif

} // namespace ReducedCosts
