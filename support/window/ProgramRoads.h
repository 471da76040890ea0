// Problems typed into the program's windows and whole calculation roads through them, from the
// main window's OK to the results or an error message, for the window tests and the UI
// benchmark. The program's windows must exist.
#pragma once

#include "ModalDriver.h"
#include "Problem.h"

#include <QStringList>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

class QElapsedTimer;

// Random numbers: whole numbers from Low to High (costs from CostLow to CostHigh), and with
// Fractions one in three with a half.
TProblem RandomNumbers(std::mt19937& Rng, int M, int N, int Low, int High, bool Fractions,
                       int CostLow, int CostHigh);

// Fills the open data-entry window's cells; it is open on a problem of the same size.
void EnterCells(const TProblem& Problem);
// The keys that type the problem into the data-entry window from its first stock on: the stocks,
// Tab, the demands, Tab, the costs row by row, a Right between any two numbers of a grid.
QString TypedKeys(const TProblem& Problem);

// What is wrong with the plan the results window shows, or empty when it is an optimal basic
// plan. Read while the results window is open, with the dummy row or column taken out of the
// sizes, so the check puts it back.
std::string PlanFault();

// One of a series of mixed calculations: the K-th of every ten is small through the random
// fill, balanced, more stock, more demand with fractions, a negative stock, aborted, a random
// fill to one consumer every other time, an overflowing total, a large random fill, looping.
struct TMixedRun {
    enum TKind { Optimal, Failed, Aborted, Looping };
    int M = 1, N = 1;
    TKind Kind = Optimal;
    bool RandomFill = false; // through the random-fill dialog, else set cell by cell
    TProblem Cells;
    int MaxA = 0, MaxB = 0, MaxC = 0;
};
TMixedRun MixedRun(int K, std::mt19937& Rng);

// How a road ended: results or the message's title and text, once each time the road ended,
// the plan's fault, the progress dialog's result.
struct TRoadEnd {
    testing::AssertionResult Walked = testing::AssertionFailure(); // says what went amiss
    QStringList Ends;
    std::string Fault;
    int BusyResult = 0;
};

// Ends a road at its last window: the results read (the plan checked) and closed, or a
// message recorded and closed.
void EndRoad(TRoadEnd& Road, QWidget* Window);

// Walks one mixed run from the main window; AtBusy runs when the progress dialog comes up.
TRoadEnd WalkMixedRun(TModalDriver& Driver, const TMixedRun& Run,
                      const std::function<void()>& AtBusy);

// One 500 x 500 road (a mixed run) with random-fill maxima of 9999, which ends Looping at the pivot
// cap unless the progress dialog is stopped. Act runs once the dialog is up. Besides the end, when
// the dialog showed and hid by Clock, and whether the worker still ran when it hid.
struct TBigRun : TRoadEnd {
    qint64 ShownNs = 0, HiddenNs = 0;
    bool RunningAtHide = true;
};
TBigRun WalkBigRun(TModalDriver& Driver, const QElapsedTimer& Clock,
                   const std::function<void()>& Act);
