// Kelvor's main routine: the problem store and the six windows, created once, in this order;
// the event loop runs until the main window closes.
#include "CalcUnit.h"
#include "FirstUnit.h"
#include "ProgramIcon.h"
#include "QtSynchronizer.h"
#include "Toolkit.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

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

    Calc = new TCalc;

    CreateWindows();

    InstallQtSynchronizer();
    const int Result = RunApplication(*FirstForm, Title);

    // The windows belong to the application and go before it does; the store they read goes
    // last. No worker runs by now: the loop ends only when the idle main window closes.
    DestroyWindows();

    delete Calc;
    Calc = nullptr;
    return Result;
}
