#include "PlanCheck.h"

#include "CalcUnit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

std::string Cell(int I, int J) {
    return " at " + std::to_string(I) + "," + std::to_string(J);
}

} // namespace

TPlanCheck CheckPlan(const TCalc& Store, bool Optimal, int Rows, int Cols) {
    if (Rows < 0)
        Rows = Store.M;
    if (Cols < 0)
        Cols = Store.N;
    TPlanCheck Check;
    TPlanDeviations& Max = Check.Deviations;
    const auto Fault = [&Check](const std::string& What) {
        if (Check.Fault.empty())
            Check.Fault = What;
    };
    std::vector<double> RowSum(std::size_t(Rows) + 1), ColSum(std::size_t(Cols) + 1);
    int Basic = 0;
    for (int I = 1; I <= Rows; ++I)
        for (int J = 1; J <= Cols; ++J) {
            const double X = Store.GetX(I, J);
            const double U = Store.GetU(I), V = Store.GetV(J), C = Store.GetC(I, J);
            if (!(X > BasicThreshold)) {
                if (X != NonBasic)
                    Fault("a non-basic cell holding " + std::to_string(X) + Cell(I, J));
                if (Optimal) {
                    const double Reduced = C - (U + V);
                    Max.Reduced = std::min(Max.Reduced, Reduced);
                    if (!(Reduced >= -Tolerance))
                        Fault("a cell worth a pivot in an optimal plan" + Cell(I, J));
                }
                continue;
            }
            ++Basic;
            if (X < 0.0)
                Fault("a negative shipment " + std::to_string(X) + Cell(I, J));
            RowSum[std::size_t(I)] += X;
            ColSum[std::size_t(J)] += X;
            if (Optimal) {
                const double Scale = std::max({std::fabs(U), std::fabs(V), std::fabs(C)});
                const double Dev = Scale > 0 ? std::fabs(U + V - C) / Scale : 0.0;
                Max.Potentials = std::max(Max.Potentials, Dev);
                if (!(Dev <= 1e-9))
                    Fault("U + V != C on a basic cell" + Cell(I, J));
            }
        }
    if (Basic != Rows + Cols - 1)
        Fault(std::to_string(Basic) +
              " basic cells, not M + N - 1 = " + std::to_string(Rows + Cols - 1));
    const auto CheckSum = [&](double Sum, double Target, const std::string& What) {
        const double Dev =
            Target != 0.0 ? std::fabs(Sum - Target) / std::fabs(Target) : std::fabs(Sum);
        Max.Sums = std::max(Max.Sums, Dev);
        if (!(Dev <= 1e-6))
            Fault(What + " ships " + std::to_string(Sum) + ", not " + std::to_string(Target));
    };
    for (int I = 1; I <= Rows; ++I)
        CheckSum(RowSum[std::size_t(I)], Store.GetA(I), "supplier " + std::to_string(I));
    for (int J = 1; J <= Cols; ++J)
        CheckSum(ColSum[std::size_t(J)], Store.GetB(J), "consumer " + std::to_string(J));
    return Check;
}
