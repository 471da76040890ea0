#include "LemonReference.h"

#include "StoreLimits.h"

#include <lemon/network_simplex.h>
#include <lemon/smart_graph.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace {

__extension__ typedef __int128 Int;

// The largest scaled magnitude: 2^100 per value keeps the supply total (at most 1002 values)
// and every potential (at most 1001 costs plus LEMON's artificial cost of 2^126) inside 127 bits.
constexpr int TopBit = 100;

// The power of two that turns every value of a group into an integer: the one that lifts the
// lowest set bit of any value to 2^0, lowered if that would take the largest past 2^TopBit.
int ScaleShift(const std::vector<double>& Values) {
    int Low = INT_MAX, High = INT_MIN;
    for (double Value : Values) {
        if (Value == 0.0)
            continue;
        int Exponent = 0;
        const double Fraction = std::frexp(std::fabs(Value), &Exponent); // |v| = f * 2^e
        const auto Mantissa = static_cast<std::uint64_t>(std::ldexp(Fraction, 53));
        Low = std::min(Low, Exponent - 53 + std::countr_zero(Mantissa));
        High = std::max(High, Exponent);
    }
    if (High == INT_MIN)
        return 0;
    return std::min(-Low, TopBit - High);
}

Int Scaled(double Value, int Shift) {
    return static_cast<Int>(std::nearbyint(std::ldexp(Value, Shift)));
}

// A read-only graph map over a vector indexed by the items' ids. LEMON's own maps of a value
// type it does not know as fundamental use allocator members that C++20 removed.
template <typename TItem> struct TVectorMap {
    using Key = TItem;
    using Value = Int;
    const lemon::SmartDigraph* Graph;
    std::vector<Int> Values;
    Int operator[](const TItem& Item) const { return Values[std::size_t(Graph->id(Item))]; }
};

void Require(bool Condition, const std::string& What) {
    if (!Condition)
        throw std::invalid_argument("ReferenceOptimalCost: " + What);
}

} // namespace

double ReferenceOptimalCost(const TProblem& Problem) {
    const int M = Problem.M, N = Problem.N;
    Require(M >= 1 && M <= Capacity && N >= 1 && N <= Capacity, "sizes outside 1..501");
    Require(Problem.A.size() == std::size_t(M) && Problem.B.size() == std::size_t(N) &&
                Problem.C.size() == std::size_t(M) * std::size_t(N),
            "vector lengths do not match M and N");
    for (const auto* Group : {&Problem.A, &Problem.B})
        for (double Amount : *Group)
            Require(std::isfinite(Amount) && Amount >= 0.0,
                    "stocks and demands must be finite and not negative");
    for (double Cost : Problem.C)
        Require(std::isfinite(Cost), "costs must be finite");

    std::vector<double> Amounts = Problem.A;
    Amounts.insert(Amounts.end(), Problem.B.begin(), Problem.B.end());
    const int AmountShift = ScaleShift(Amounts);
    const int CostShift = ScaleShift(Problem.C);

    Int SumA = 0, SumB = 0;
    for (double Stock : Problem.A)
        SumA += Scaled(Stock, AmountShift);
    for (double Demand : Problem.B)
        SumB += Scaled(Demand, AmountShift);
    const int Rows = M + (SumB > SumA ? 1 : 0);
    const int Cols = N + (SumA > SumB ? 1 : 0);

    lemon::SmartDigraph Graph;
    Graph.reserveNode(Rows + Cols);
    Graph.reserveArc(Rows * Cols);
    std::vector<lemon::SmartDigraph::Node> Supplier, Consumer;
    for (int I = 0; I < Rows; ++I)
        Supplier.push_back(Graph.addNode());
    for (int J = 0; J < Cols; ++J)
        Consumer.push_back(Graph.addNode());
    TVectorMap<lemon::SmartDigraph::Node> Supply{&Graph, std::vector<Int>(Rows + Cols)};
    for (int I = 0; I < Rows; ++I)
        Supply.Values[Graph.id(Supplier[I])] =
            I < M ? Scaled(Problem.A[I], AmountShift) : SumB - SumA;
    for (int J = 0; J < Cols; ++J)
        Supply.Values[Graph.id(Consumer[J])] =
            -(J < N ? Scaled(Problem.B[J], AmountShift) : SumA - SumB);

    // Arc I * Cols + J runs from supplier I to consumer J; the dummy's arcs cost nothing.
    TVectorMap<lemon::SmartDigraph::Arc> Cost{&Graph, std::vector<Int>(std::size_t(Rows) * Cols)};
    for (int I = 0; I < Rows; ++I)
        for (int J = 0; J < Cols; ++J) {
            const auto Arc = Graph.addArc(Supplier[I], Consumer[J]);
            Cost.Values[Graph.id(Arc)] =
                I < M && J < N ? Scaled(Problem.C[std::size_t(I) * N + J], CostShift) : 0;
        }

    lemon::NetworkSimplex<lemon::SmartDigraph, Int, Int> Simplex(Graph);
    Simplex.costMap(Cost).supplyMap(Supply);
    const auto Result = Simplex.run();
    if (Result != decltype(Simplex)::OPTIMAL)
        throw std::logic_error("ReferenceOptimalCost: the balanced problem was not solved");

    long double Total = 0.0L;
    for (int I = 0; I < M; ++I)
        for (int J = 0; J < N; ++J) {
            const Int Flow = Simplex.flow(Graph.arcFromId(I * Cols + J));
            if (Flow != 0)
                Total += std::ldexp(static_cast<long double>(Flow), -AmountShift) *
                         static_cast<long double>(Problem.C[std::size_t(I) * N + J]);
        }
    return static_cast<double>(Total);
}
