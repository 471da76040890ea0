#include "ReducedCosts.h"

// This file is compiled twice: as itself, for the baseline instruction set, and with
// KELVOR_AVX2_FORMS and -mavx2 (the build's kelvor_solver_avx2 objects). Each compilation puts
// the same kernels, built for its own instruction set, into a namespace of its own, Baseline or
// Avx2; the baseline compilation also holds the public functions, which pick one set once, at
// start-up, by what the processor offers.
#ifdef __AVX2__
#include <immintrin.h>
#endif

#include <cstring>
#include <limits>

// Vectors of 32 bytes are passed between always-inlined helpers only, never across a real call.
#pragma GCC diagnostic ignored "-Wpsabi"

#ifdef KELVOR_AVX2_FORMS
#define KELVOR_FORMS Avx2
#else
#define KELVOR_FORMS Baseline
#endif

namespace ReducedCosts {

#define KELVOR_DECLARE_FORMS(Set)                                                                  \
    namespace Set {                                                                                \
    double Max(double U, const double* V, const double* Row, int Count);                           \
    std::int32_t Max(const std::int16_t* V, const std::uint8_t* Row, int Count);                   \
    std::int32_t Max(const std::int16_t* V, const std::int16_t* Row, int Count);                   \
    std::int32_t Max(const std::int32_t* V, const std::uint8_t* Row, int Count);                   \
    std::int32_t Max(const std::int32_t* V, const std::int16_t* Row, int Count);                   \
    int First(const std::int16_t* V, const std::uint8_t* Row, int Count, std::int32_t Value);      \
    int First(const std::int16_t* V, const std::int16_t* Row, int Count, std::int32_t Value);      \
    int First(const std::int32_t* V, const std::uint8_t* Row, int Count, std::int32_t Value);      \
    int First(const std::int32_t* V, const std::int16_t* Row, int Count, std::int32_t Value);      \
    }
KELVOR_DECLARE_FORMS(Baseline)
KELVOR_DECLARE_FORMS(Avx2)
#undef KELVOR_DECLARE_FORMS

namespace {

typedef double VD __attribute__((vector_size(32)));
typedef std::int16_t V16 __attribute__((vector_size(32)));
typedef std::int32_t V32 __attribute__((vector_size(32)));
typedef std::uint8_t V8x16 __attribute__((vector_size(16)));
typedef std::int16_t V16x8 __attribute__((vector_size(16)));

// The helpers are always inlined, into forms that all share this compilation's instruction set.
#define KELVOR_INLINE __attribute__((always_inline)) inline
#define KELVOR_INLINE_LAMBDA __attribute__((always_inline))

template <typename Vec> KELVOR_INLINE Vec Load(const void* From) {
    Vec Out;
    std::memcpy(&Out, From, sizeof Out);
    return Out;
}

// Keeps the larger lane; a NaN in D compares false and never replaces Best.
template <typename Vec> KELVOR_INLINE Vec Larger(Vec D, Vec Best) {
    return D > Best ? D : Best;
}

template <typename Vec, typename T> KELVOR_INLINE T Lanes(Vec Best, T Start) {
    T Out = Start;
    for (unsigned L = 0; L < sizeof(Vec) / sizeof(T); ++L)
        if (Best[L] > Out)
            Out = Best[L];
    return Out;
}

// Stored costs widened to the lanes: sixteen 8-bit or 16-bit costs to 16-bit lanes, eight 8-bit
// or 16-bit costs to 32-bit lanes. The generic conversion compiles to several instructions where
// AVX2 has one, so the AVX2 compilation says it directly.
KELVOR_INLINE V16 Widen(const std::uint8_t* Costs, V16) {
#ifdef __AVX2__
    return V16(_mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Costs))));
#else
    return __builtin_convertvector(Load<V8x16>(Costs), V16);
#endif
}

KELVOR_INLINE V16 Widen(const std::int16_t* Costs, V16) {
    return Load<V16>(Costs);
}

KELVOR_INLINE V32 Widen(const std::int16_t* Costs, V32) {
#ifdef __AVX2__
    return V32(_mm256_cvtepi16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Costs))));
#else
    return __builtin_convertvector(Load<V16x8>(Costs), V32);
#endif
}

KELVOR_INLINE V32 Widen(const std::uint8_t* Costs, V32) {
#ifdef __AVX2__
    return V32(_mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(Costs))));
#else
    std::uint8_t Eight[8];
    std::memcpy(Eight, Costs, sizeof Eight);
    V32 Out;
    for (int Lane = 0; Lane < 8; ++Lane)
        Out[Lane] = Eight[Lane];
    return Out;
#endif
}

KELVOR_INLINE double DoubleBody(double U, const double* V, const double* Row, int Count) {
    constexpr double Low = -std::numeric_limits<double>::infinity();
    const VD Uv = {U, U, U, U};
    VD M0 = {Low, Low, Low, Low}, M1 = M0, M2 = M0, M3 = M0;
    auto D = [&](int J) KELVOR_INLINE_LAMBDA { return (Uv + Load<VD>(V + J)) - Load<VD>(Row + J); };
    int J = 0;
    for (; J + 16 <= Count; J += 16) {
        M0 = Larger(D(J), M0);
        M1 = Larger(D(J + 4), M1);
        M2 = Larger(D(J + 8), M2);
        M3 = Larger(D(J + 12), M3);
    }
    for (; J + 4 <= Count; J += 4)
        M0 = Larger(D(J), M0);
    double Best = Lanes(Larger(Larger(M1, M0), Larger(M3, M2)), Low);
    for (; J < Count; ++J) {
        const double Dj = (U + V[J]) - Row[J];
        if (Dj > Best)
            Best = Dj;
    }
    return Best;
}

// V[J..] - Row[J..] in lanes of type VL.
#define KELVOR_W(J) (Load<VL>(V + (J)) - Widen(Row + (J), VL{}))

// The largest V[j] - Row[j], in lanes of type L over costs stored as T.
template <typename L, typename T>
KELVOR_INLINE std::int32_t WholeMaxBody(const L* V, const T* Row, int Count) {
    typedef L VL __attribute__((vector_size(32)));
    constexpr int K = 32 / sizeof(L);
    constexpr L Low = std::numeric_limits<L>::min();
    VL M0, M1;
    for (int Lane = 0; Lane < K; ++Lane)
        M0[Lane] = Low;
    M1 = M0;
    int J = 0;
    for (; J + 2 * K <= Count; J += 2 * K) {
        M0 = Larger(KELVOR_W(J), M0);
        M1 = Larger(KELVOR_W(J + K), M1);
    }
    for (; J + K <= Count; J += K)
        M0 = Larger(KELVOR_W(J), M0);
    std::int32_t Best = Lanes(Larger(M1, M0), Low);
    for (; J < Count; ++J) {
        const std::int32_t Wj = std::int32_t(V[J]) - std::int32_t(Row[J]);
        if (Wj > Best)
            Best = Wj;
    }
    return Best;
}

template <typename L, typename T>
KELVOR_INLINE int WholeFirstBody(const L* V, const T* Row, int Count, std::int32_t Value) {
    typedef L VL __attribute__((vector_size(32)));
    constexpr int K = 32 / sizeof(L);
    VL Target;
    for (int Lane = 0; Lane < K; ++Lane)
        Target[Lane] = L(Value);
    int J = 0;
    for (; J + K <= Count; J += K) {
        const VL Equal = KELVOR_W(J) == Target;
        std::uint64_t Words[4];
        std::memcpy(Words, &Equal, sizeof Words);
        if ((Words[0] | Words[1] | Words[2] | Words[3]) != 0)
            for (int Lane = 0; Lane < K; ++Lane)
                if (Equal[Lane] != 0)
                    return J + Lane;
    }
    for (; J < Count; ++J)
        if (std::int32_t(V[J]) - std::int32_t(Row[J]) == Value)
            return J;
    return -1;
}

#undef KELVOR_W

} // namespace

namespace KELVOR_FORMS {

double Max(double U, const double* V, const double* Row, int Count) {
    return DoubleBody(U, V, Row, Count);
}

#define KELVOR_WHOLE_FORMS(L, T)                                                                   \
    std::int32_t Max(const L* V, const T* Row, int Count) {                                        \
        return WholeMaxBody(V, Row, Count);                                                        \
    }                                                                                              \
    int First(const L* V, const T* Row, int Count, std::int32_t Value) {                           \
        return WholeFirstBody(V, Row, Count, Value);                                               \
    }
KELVOR_WHOLE_FORMS(std::int16_t, std::uint8_t)
KELVOR_WHOLE_FORMS(std::int16_t, std::int16_t)
KELVOR_WHOLE_FORMS(std::int32_t, std::uint8_t)
KELVOR_WHOLE_FORMS(std::int32_t, std::int16_t)
#undef KELVOR_WHOLE_FORMS

} // namespace KELVOR_FORMS

#ifndef KELVOR_AVX2_FORMS

namespace {

// Chosen through a flag read once rather than ifunc resolvers, which ThreadSanitizer's start-up
// cannot run.
bool HasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}
const bool Avx2Present = HasAvx2();

} // namespace

double RowMax(double U, const double* V, const double* Row, int Count) {
    return Avx2Present ? Avx2::Max(U, V, Row, Count) : Baseline::Max(U, V, Row, Count);
}

#define KELVOR_PICK_FORMS(L, T)                                                                    \
    std::int32_t RowMax(const L* V, const T* Row, int Count) {                                     \
        return Avx2Present ? Avx2::Max(V, Row, Count) : Baseline::Max(V, Row, Count);              \
    }                                                                                              \
    int FirstAt(const L* V, const T* Row, int Count, std::int32_t Value) {                         \
        return Avx2Present ? Avx2::First(V, Row, Count, Value)                                     \
                           : Baseline::First(V, Row, Count, Value);                                \
    }
KELVOR_PICK_FORMS(std::int16_t, std::uint8_t)
KELVOR_PICK_FORMS(std::int16_t, std::int16_t)
KELVOR_PICK_FORMS(std::int32_t, std::uint8_t)
KELVOR_PICK_FORMS(std::int32_t, std::int16_t)
#undef KELVOR_PICK_FORMS

#endif

} // namespace ReducedCosts
