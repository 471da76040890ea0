// Kelvor's main routine: the problem store, its record of steps and the windows, created once,
// in this order; the event loop runs until the main window closes. A problem file named on the
// command line (kelvorw FILE) opens in the data entry as soon as the main window shows.
#include "CalcUnit.h"
#include "FirstUnit.h"
#include "ProgramIcon.h"
#include "QtSynchronizer.h"
#include "StepRecord.h"
#include "Toolkit.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QStringList>
#include <QTimer>

#include <cstdio>

namespace {

QIcon ProgramIconSet() {
    QIcon Icon;
    for (int Size : {16, 32, 48, 64, 128})
        Icon.addPixmap(QPixmap::fromImage(ProgramIconImage(Size)));
    return Icon;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication App(argc, argv);
    const QString Title = "Kelvor";
    QCoreApplication::setApplicationName(Title);
    QGuiApplication::setDesktopFileName("kelvor");
    QGuiApplication::setWindowIcon(ProgramIconSet());

    const QStringList Arguments = QCoreApplication::arguments().mid(1);
    if (Arguments.size() > 1 || (!Arguments.isEmpty() && Arguments.front().startsWith("-"))) {
        std::fprintf(stderr, "usage: kelvorw [FILE]\n");
        return 2;
    }

    Calc = new TCalc;
    StepRecord = new TStepRecord;

    CreateWindows();

    InstallQtSynchronizer();
    if (!Arguments.isEmpty())
        QTimer::singleShot(0, FirstForm,
                           [File = Arguments.front()] { FirstForm->OpenProblemFile(File); });
    const int Result = RunApplication(*FirstForm, Title);

    // The windows belong to the application and go before it does; the store they read goes
    // last. No worker runs by now: the loop ends only when the idle main window closes.
    DestroyWindows();

    delete StepRecord;
    StepRecord = nullptr;
    delete Calc;
    Calc = nullptr;
    return Result;
}
