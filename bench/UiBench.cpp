// Figures for the data-entry window at its largest size, 500 suppliers by 500 consumers,
// offscreen: showing it with its grids laid out and painted, a random fill of every entry cell,
// OK converting and storing them, and the memory the three grids take.
#include "CalcUnit.h"
#include "InputABCUnit.h"
#include "RandomUnit.h"

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <fstream>

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

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
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

    // The dialog's own showing is not counted: it is ended by OK as soon as it has appeared.
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

    delete InputABCForm;
    delete RandomForm;
    delete Calc;
    return 0;
}
