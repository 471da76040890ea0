#include "ProgramRoads.h"

#include "AnswerUnit.h"
#include "BusyUnit.h"
#include "CalcUnit.h"
#include "FirstUnit.h"
#include "InputABCUnit.h"
#include "LemonReference.h"
#include "PlanCheck.h"
#include "Problems.h"
#include "RandomGen.h"
#include "RandomUnit.h"
#include "TextUnit.h"

#include <QElapsedTimer>
#include <QTest>

TProblem RandomNumbers(std::mt19937& Rng, int M, int N, int Low, int High, bool Fractions,
                       int CostLow, int CostHigh) {
    std::uniform_int_distribution<int> Amount(Low, High), Cost(CostLow, CostHigh), Third(0, 2);
    auto Number = [&](int Value) { return Fractions && Third(Rng) == 0 ? Value + 0.5 : Value; };
    TProblem P(M, N);
    for (double& A : P.A)
        A = Number(Amount(Rng));
    for (double& B : P.B)
        B = Number(Amount(Rng));
    for (double& C : P.C)
        C = Number(Cost(Rng));
    return P;
}

void EnterCells(const TProblem& P) {
    InputABCForm->ShowProblem(P);
}

QString TypedKeys(const TProblem& Problem) {
    QStringList Grids;
    for (const std::vector<double>* Numbers : {&Problem.A, &Problem.B, &Problem.C}) {
        QStringList Texts;
        for (double Value : *Numbers)
            Texts.append(QString::fromStdString(NumberText(Value)));
        Grids.append(Texts.join(" Right "));
    }
    return Grids.join(" Tab ");
}

std::string PlanFault() {
    return CheckPlan(*Calc, true, Calc->M + (Calc->BalanceKind == 1 ? 1 : 0),
                     Calc->N + (Calc->BalanceKind == 2 ? 1 : 0))
        .Fault;
}

TMixedRun MixedRun(int K, std::mt19937& Rng) {
    std::uniform_int_distribution<int> Small(1, 8), Medium(30, 70), Range(1, 60);
    TMixedRun R;
    switch (K % 10) {
    case 0: // small, random fill, usually unbalanced
    case 6:
        R.M = Small(Rng);
        R.N = K % 20 == 6 ? 1 : Small(Rng);
        R.RandomFill = true;
        R.MaxA = Range(Rng);
        R.MaxB = Range(Rng);
        R.MaxC = Range(Rng);
        break;
    case 1: // medium and balanced: the demands are the stocks shuffled
        R.M = R.N = Medium(Rng);
        R.Cells = RandomNumbers(Rng, R.M, R.N, 1, 100, false, 1, 99);
        R.Cells.B = R.Cells.A;
        std::shuffle(R.Cells.B.begin(), R.Cells.B.end(), Rng);
        break;
    case 2: // more stock than demand
        R.M = 30;
        R.N = 20;
        R.Cells = RandomNumbers(Rng, R.M, R.N, 20, 120, false, 1, 500);
        break;
    case 3: // more demand than stock, fractions and negative costs
        R.M = 20;
        R.N = 35;
        R.Cells = RandomNumbers(Rng, R.M, R.N, 1, 60, true, -50, 50);
        break;
    case 4: // a negative stock
        R.M = R.N = 3;
        R.Kind = TMixedRun::Failed;
        R.Cells = RandomNumbers(Rng, 3, 3, 1, 9, false, 1, 9);
        R.Cells.A[1] = -R.Cells.A[1];
        break;
    case 5: // aborted as soon as the progress dialog shows
        R.M = R.N = 150;
        R.Kind = TMixedRun::Aborted;
        R.Cells = RandomNumbers(Rng, R.M, R.N, 1, 9999, false, 1, 9999);
        break;
    case 7: // costs whose total would overflow
        R.M = R.N = 2;
        R.Kind = TMixedRun::Failed;
        R.Cells = TProblem(2, 2);
        R.Cells.A = R.Cells.B = {1e300, 1e300};
        R.Cells.C = {1e300, 1, 1, 1e300};
        break;
    case 8: // medium, random fill with large maxima
        R.M = R.N = 60;
        R.RandomFill = true;
        R.MaxA = R.MaxB = R.MaxC = MaxRange;
        break;
    case 9: // exactly the 999 pivots of the cap
        R.M = R.N = 120;
        R.Kind = TMixedRun::Looping;
        R.Cells = CapProblem();
        break;
    }
    return R;
}

void EndRoad(TRoadEnd& Road, QWidget* Window) {
    Road.BusyResult = BusyForm->ModalResult();
    if (Window == AnswerForm) {
        Road.Ends.append("results");
        Road.Fault = PlanFault();
        QTest::mouseClick(AnswerForm->OkButton, Qt::LeftButton);
    } else {
        Road.Ends.append(TitleOf(Window));
        Dismiss(Window);
    }
}

TRoadEnd WalkMixedRun(TModalDriver& Driver, const TMixedRun& R,
                      const std::function<void()>& AtBusy) {
    FirstForm->InputMEdit->setText(QString::number(R.M));
    FirstForm->InputNEdit->setText(QString::number(R.N));
    TRoadEnd Road;
    const auto Visit = [&](QWidget* Window, int Count) {
        if (Window == InputABCForm && Count == 1) {
            if (!R.RandomFill)
                EnterCells(R.Cells);
            QWidget* Next = R.RandomFill ? static_cast<QWidget*>(InputABCForm->RandomButton)
                                         : InputABCForm->OkButton;
            QTest::mouseClick(Next, Qt::LeftButton);
        } else if (Window == InputABCForm && Count == 2 && R.Kind == TMixedRun::Failed) {
            // A failed run gives the typed table back; Cancel discards it.
            QTest::mouseClick(InputABCForm->CancelButton, Qt::LeftButton);
        } else if (Window == InputABCForm && Count == 2 && R.RandomFill) {
            QTest::mouseClick(InputABCForm->OkButton, Qt::LeftButton);
        } else if (Window == RandomForm) {
            RandomForm->ARangeEdit->setText(QString::number(R.MaxA));
            RandomForm->BRangeEdit->setText(QString::number(R.MaxB));
            RandomForm->CRangeEdit->setText(QString::number(R.MaxC));
            QTest::mouseClick(RandomForm->OkButton, Qt::LeftButton);
        } else if (Window == BusyForm) {
            if (AtBusy)
                AtBusy();
        } else {
            EndRoad(Road, Window);
        }
    };
    Road.Walked =
        Driver.Walk(Visit, [] { QTest::mouseClick(FirstForm->OkButton, Qt::LeftButton); });
    return Road;
}

TBigRun WalkBigRun(TModalDriver& Driver, const QElapsedTimer& Clock,
                   const std::function<void()>& Act) {
    TMixedRun Big;
    Big.M = Big.N = MaxSize;
    Big.RandomFill = true;
    Big.MaxA = Big.MaxB = Big.MaxC = MaxRange;
    TBigRun Run;
    TShowHook Watch(BusyForm, [&](bool Shown) {
        (Shown ? Run.ShownNs : Run.HiddenNs) = Clock.nsecsElapsed();
        if (!Shown)
            Run.RunningAtHide = BusyForm->Running();
    });
    static_cast<TRoadEnd&>(Run) = WalkMixedRun(Driver, Big, Act);
    return Run;
}
