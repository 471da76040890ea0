// Figures for the data-entry window at its largest size, 500 suppliers by 500 consumers,
// offscreen: showing it with its grids laid out and painted, a random fill of every entry cell,
// OK converting and storing them, and the memory the three grids take. Then the whole program's
// windows: a hundred mixed calculations in a row with the growth of resident memory, and how
// long the progress dialog takes to close after Abort in a 500 x 500 run. Between them, a
// problem file of the largest size saved and opened, and the Steps window on a 500 x 500 run.
#include "AboutUnit.h"
#include "AnswerUnit.h"
#include "BusyUnit.h"
#include "CalcUnit.h"
#include "Figures.h"
#include "FirstUnit.h"
#include "InputABCUnit.h"
#include "Problems.h"
#include "ProgramFaces.h"
#include "ProgramRoads.h"
#include "QtSynchronizer.h"
#include "RandomUnit.h"
#include "StepsUnit.h"
#include "ThreadBase.h"
#include "ThreadUnit.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

double ResidentMegabytes() {
    std::ifstream Statm("/proc/self/statm");
    long Pages = 0, Resident = 0;
    Statm >> Pages >> Resident;
    return double(Resident) * 4096.0 / (1024.0 * 1024.0);
}

template <typename TAction> double Milliseconds(TAction Action) {
    const auto Start = std::chrono::steady_clock::now();
    Action();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start)
        .count();
}

// Paints every window now, as the event loop would after the change.
void PaintNow(QWidget* Window) {
    QApplication::processEvents();
    Window->repaint();
}

void ResultsFigures();
void PasteFigure();
void FileFigures();
void StepsFigures();
void RoadFigures();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    InstallProgramFaces();
    Calc = new TCalc;
    Calc->M = MaxSize;
    Calc->N = MaxSize;
    RandomForm = new TRandomForm;
    // Warm up fonts, style and the screen's backing store on a small window first.
    {
        TForm Warm(TBorderStyle::Sizeable);
        Warm.show();
        PaintNow(&Warm);
    }
    const double Baseline = ResidentMegabytes();
    InputABCForm = new TInputABCForm;

    const double ShowMs = Milliseconds([] {
        InputABCForm->show();
        PaintNow(InputABCForm);
    });

    // Counted from the click: the dialog's showing, ended by OK as soon as it is up, the fill of
    // every entry cell and the repaint.
    double FillMs = 0;
    {
        QTimer::singleShot(0, [] { RandomForm->OkButton->click(); });
        InputABCForm->RandomButton->OnClick = [&FillMs] {
            const auto Start = std::chrono::steady_clock::now();
            InputABCForm->RandomButtonClick();
            PaintNow(InputABCForm);
            FillMs =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start)
                    .count();
        };
        InputABCForm->RandomButton->click();
    }
    const double GridsMb = ResidentMegabytes() - Baseline;

    const double OkMs = Milliseconds([] { InputABCForm->OkButton->click(); });

    std::printf("entry_show_ms %.1f\n", ShowMs);
    std::printf("random_fill_ms %.1f\n", FillMs);
    std::printf("entry_ok_ms %.1f\n", OkMs);
    std::printf("grids_mb %.1f\n", GridsMb);
    PasteFigure();
    FileFigures();

    ResultsFigures();
    StepsFigures();

    delete InputABCForm;
    delete RandomForm;
    RoadFigures();
    delete Calc;
    return 0;
}

namespace {

// The results window for a 500 x 500 plan, and the road from OK in the data-entry window to the
// results window on the screen. The costs (i - j)^2 with equal stocks and demands make the
// north-west-corner plan optimal, so the run ends with a plan and the figures are those of the
// windows, not of the pivots.
void MongeProblem(int Size) {
    Calc->M = Size;
    Calc->N = Size;
    for (int I = 1; I <= Size; ++I) {
        Calc->SetA(I, 10);
        Calc->SetB(I, 10);
        for (int J = 1; J <= Size; ++J)
            Calc->SetC(I, J, double((I - J) * (I - J)));
    }
}

void ResultsFigures() {
    InstallQtSynchronizer();
    FirstForm = new TFirstForm;
    BusyForm = new TBusyForm;
    AnswerForm = new TAnswerForm;
    AboutBox = new TAboutBox;

    // The filling alone, from a plan the solver steps leave in the store.
    MongeProblem(MaxSize);
    Calc->Balance();
    Calc->InitialPlan();
    const double FillMs = Milliseconds([] {
        AnswerForm->show();
        PaintNow(AnswerForm);
    });
    AnswerForm->hide();
    const double RefillMs = Milliseconds([] {
        AnswerForm->show();
        PaintNow(AnswerForm);
    });
    AnswerForm->hide();

    // The whole road, timed from the click on OK until the results window has been painted.
    std::chrono::steady_clock::time_point Start;
    double RoadMs = -1;
    TModalDriver Road;
    Road.Then(InputABCForm,
              [&] {
                  for (int I = 1; I <= MaxSize; ++I) {
                      InputABCForm->InputA->SetCells(I - 1, 1, "10");
                      InputABCForm->InputB->SetCells(I - 1, 1, "10");
                      for (int J = 1; J <= MaxSize; ++J)
                          InputABCForm->InputC->SetCells(J, I, std::to_string((I - J) * (I - J)));
                  }
                  PaintNow(InputABCForm);
                  Start = std::chrono::steady_clock::now();
                  InputABCForm->OkButton->click();
              })
        .AtShowOf(AnswerForm,
                  [&] {
                      PaintNow(AnswerForm);
                      RoadMs = std::chrono::duration<double, std::milli>(
                                   std::chrono::steady_clock::now() - Start)
                                   .count();
                  })
        .Then(AnswerForm, [] { AnswerForm->OkButton->click(); });
    FirstForm->InputMEdit->setText(QString::number(MaxSize));
    FirstForm->InputNEdit->setText(QString::number(MaxSize));
    FirstForm->show();
    const bool Walked = bool(Road.Walk([] { FirstForm->OkButtonClick(); }));

    std::printf("results_fill_ms %.1f\n", FillMs);
    std::printf("results_refill_ms %.1f\n", RefillMs);
    // Only a road that reached the full plan counts.
    const TStringGrid* Plan = AnswerForm->AnswerGrid;
    if (Walked && RoadMs >= 0 && Plan->RowCount() == MaxSize + 1 &&
        Plan->ColCount() == MaxSize + 1 && Plan->Cells(MaxSize, MaxSize) == "10.0")
        std::printf("ok_to_results_ms %.1f\n", RoadMs);
    else
        std::printf("ok_to_results_ms failed\n");

    delete AboutBox;
    delete AnswerForm;
    delete BusyForm;
    delete FirstForm;
}

// A whole cost matrix pasted from a spreadsheet: Ctrl+V in the first cost cell, counted from the
// key until the window has been painted with the new texts.
void PasteFigure() {
    QString Block;
    for (int I = 1; I <= MaxSize; ++I) {
        for (int J = 1; J <= MaxSize; ++J) {
            Block += QString::number((I * 7 + J * 13) % 1000);
            Block += J < MaxSize ? '\t' : '\n';
        }
    }
    QGuiApplication::clipboard()->setText(Block);
    TStringGrid* Grid = InputABCForm->InputC;
    Grid->SetCurrentCell(1, 1);
    const double PasteMs = Milliseconds([Grid] {
        QKeyEvent Key(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, "\x16");
        QApplication::sendEvent(Grid->Editor(), &Key);
        PaintNow(InputABCForm);
    });
    if (Grid->Cells(MaxSize, MaxSize) == std::to_string((MaxSize * 20) % 1000) &&
        Grid->Editor()->text() == "20")
        std::printf("paste_ms %.1f\n", PasteMs);
    else
        std::printf("paste_ms failed\n");
}

// Saving the 500 x 500 tables to a problem file and opening it again, each counted until the
// window has been painted.
void FileFigures() {
    const std::string Path = "/tmp/kelvor-ui-bench-" + std::to_string(::getpid()) + ".csv";
    SetFileQuestions([&](QWidget*, const QString&, const QString&,
                         const QString&) { return QString::fromStdString(Path); },
                     [&](QWidget*, const QString&, const QString&, const QString&) {
                         return QString::fromStdString(Path);
                     });
    std::vector<double> Save, Open;
    for (int K = 0; K < 5; ++K) {
        Save.push_back(Milliseconds([] { InputABCForm->SaveButtonClick(); }));
        Open.push_back(Milliseconds([] {
            InputABCForm->OpenButtonClick();
            PaintNow(InputABCForm);
        }));
    }
    SetFileQuestions(nullptr, nullptr);
    std::remove(Path.c_str());
    std::printf("save_file_ms %.1f\n", Median(Save));
    std::printf("open_file_ms %.1f\n", Median(Open));
}

// The Steps window on a 500 x 500 run started by Vogel's approximation: its first showing, a step
// on (the plans worked out, the model refreshed, the view scrolled to the entering cell and
// painted), the last step and back to the first, and a repaint of the visible tableau alone.
void StepsFigures() {
    StepRecord = new TStepRecord;
    StepsForm = new TStepsForm;
    LoadProblem(*Calc, RandomProblem(1, MaxSize, MaxSize, 5));
    const TCalcRun Run = RunCalculation(nullptr, {TStart::Vogel, StepRecord});
    // The run stood in for the window system's thread with a synchronizer of its own.
    InstallQtSynchronizer();
    const double ShowMs = Milliseconds([] {
        StepsForm->show();
        PaintNow(StepsForm);
    });
    std::vector<double> Next, Paint;
    for (int K = 1; K <= std::min(20, StepRecord->Pivots()); ++K) {
        Next.push_back(Milliseconds([K] {
            StepsForm->GoToStep(K);
            PaintNow(StepsForm);
        }));
        Paint.push_back(Milliseconds([] { StepsForm->StepsGrid->viewport()->repaint(); }));
    }
    const double EndMs = Milliseconds([] {
        StepsForm->GoToStep(StepRecord->Pivots());
        PaintNow(StepsForm);
    });
    const double HomeMs = Milliseconds([] {
        StepsForm->GoToStep(0);
        PaintNow(StepsForm);
    });
    std::printf("steps_run %s %d pivots\n", OutcomeName(Run.Outcome), Run.Pivots);
    std::printf("steps_show_ms %.1f\n", ShowMs);
    std::printf("steps_next_ms %.1f\n", Median(Next));
    std::printf("steps_paint_ms %.1f\n", Median(Paint));
    std::printf("steps_end_ms %.1f\n", EndMs);
    std::printf("steps_home_ms %.1f\n", HomeMs);
    StepsForm->hide();
    delete StepsForm;
    StepsForm = nullptr;
    delete StepRecord;
    StepRecord = nullptr;
}

// A hundred mixed calculations through the windows, as a user would run them one after the
// other (the aborted ones clicked at once), and the resident memory after ten of them and at the
// end: growth beyond the bound would be a leak across runs. Then Abort clicked at random moments
// of a 500 x 500 run that goes to the pivot cap unless stopped: from the click until the
// progress dialog has closed, which waits for the worker's next checkpoint.
void RoadFigures() {
    CreateWindows();
    AboutBox->OpenAddress = [](const QString&) {};
    FirstForm->show();
    TModalDriver Driver;

    constexpr int Runs = 100, WarmUp = 10;
    constexpr double BoundMb = 8;
    std::mt19937 Rng(100);
    std::map<QString, int> Outcomes;
    double BeforeMb = 0;
    QElapsedTimer Clock;
    Clock.start();
    for (int K = 0; K < Runs; ++K) {
        const TMixedRun Run = MixedRun(K, Rng);
        const TRoadEnd Road = WalkMixedRun(Driver, Run, [&Run] {
            if (Run.Kind == TMixedRun::Aborted)
                BusyForm->CancelButton->click();
        });
        ++Outcomes[Road.Ends.value(0, "(none)")];
        if (K + 1 == WarmUp)
            BeforeMb = ResidentMegabytes();
    }
    const double HundredS = Clock.elapsed() / 1000.0;
    const double GrowthMb = ResidentMegabytes() - BeforeMb;
    std::printf("hundred_runs_s %.1f\n", HundredS);
#ifdef __SANITIZE_ADDRESS__
    // The sanitizer's quarantine holds on to freed memory: the growth says nothing here.
    const char* Verdict = "not judged under AddressSanitizer";
#else
    const char* Verdict = GrowthMb < BoundMb ? "within" : "EXCEEDED";
#endif
    std::printf("hundred_runs_memory_growth_mb %.2f (bound %.0f: %s)\n", GrowthMb, BoundMb,
                Verdict);
    for (const auto& [Outcome, Count] : Outcomes)
        std::printf("  %3d x %s\n", Count, Outcome.toStdString().c_str());

    const TBigRun Full = WalkBigRun(Driver, Clock, nullptr);
    const double FullMs = (Full.HiddenNs - Full.ShownNs) / 1e6;
    std::uniform_real_distribution<double> Moment(0.0, FullMs);
    std::vector<double> AbortToClose;
    for (int K = 0; K < 16; ++K) {
        qint64 ClickNs = -1;
        QTimer Abort;
        Abort.setSingleShot(true);
        QObject::connect(&Abort, &QTimer::timeout, [&] {
            if (!BusyForm->isVisible() || !BusyForm->Running())
                return;
            ClickNs = Clock.nsecsElapsed();
            BusyForm->CancelButton->click();
        });
        const TBigRun Run = WalkBigRun(Driver, Clock, [&] { Abort.start(int(Moment(Rng))); });
        if (ClickNs >= 0 && Run.Ends.value(0) == "Error: Calculation aborted")
            AbortToClose.push_back((Run.HiddenNs - ClickNs) / 1e6);
    }
    std::printf("abort_full_run_ms %.0f\n", FullMs);
    std::printf("abort_to_close_median_ms %.1f\n", Median(AbortToClose));
    std::printf("abort_to_close_max_ms %.1f (%zu aborted runs)\n",
                AbortToClose.empty() ? 0.0
                                     : *std::max_element(AbortToClose.begin(), AbortToClose.end()),
                AbortToClose.size());
    TThread::WaitUntilAllGone(std::chrono::minutes(5));
    DestroyWindows();
}

} // namespace
