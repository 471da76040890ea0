// Takes the screenshot that the README and the software-centre listing show: the program's own
// windows along one calculation (the main window, the data entry filled with a small problem and
// the results), each rendered by the program, side by side with a plain title bar each. Run it
// offscreen: QT_QPA_PLATFORM=offscreen kelvor-screenshot <file.png>
#include "AnswerUnit.h"
#include "CalcUnit.h"
#include "FirstUnit.h"
#include "InputABCUnit.h"
#include "QtSynchronizer.h"
#include "StepRecord.h"
#include "ThreadBase.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// Runs Action once Window is the open modal window.
void WhenOpen(QWidget* Window, std::function<void()> Action) {
    auto* Poll = new QTimer;
    Poll->setInterval(5);
    QObject::connect(Poll, &QTimer::timeout, [Poll, Window, Action = std::move(Action)] {
        if (QApplication::activeModalWidget() != Window)
            return;
        Poll->stop();
        Poll->deleteLater();
        Action();
    });
    Poll->start();
}

// Three suppliers and four consumers, 100 in stock against a demand of 90.
void FillProblem(TInputABCForm* Form) {
    const char* Stocks[] = {"30", "25", "45"};
    const char* Demands[] = {"20", "30", "25", "15"};
    const char* Costs[3][4] = {
        {"8", "6", "10", "9"}, {"9", "12", "13", "7"}, {"14", "9", "16", "5.5"}};
    for (int I = 0; I < 3; ++I)
        Form->InputA->SetCells(I, 1, Stocks[I]);
    for (int J = 0; J < 4; ++J)
        Form->InputB->SetCells(J, 1, Demands[J]);
    for (int I = 0; I < 3; ++I)
        for (int J = 0; J < 4; ++J)
            Form->InputC->SetCells(J + 1, I + 1, Costs[I][J]);
}

struct TShot {
    QString Title;
    QImage Image;
};

QImage Compose(const std::vector<TShot>& Shots) {
    constexpr int Gap = 16, TitleHeight = 24;
    int Width = Gap, Height = 0;
    for (const TShot& Shot : Shots) {
        Width += Shot.Image.width() + 2 + Gap;
        Height = std::max(Height, Shot.Image.height() + TitleHeight + 2);
    }
    QImage Canvas(Width, Height + 2 * Gap, QImage::Format_RGB32);
    Canvas.fill(QColor(222, 227, 234));
    QPainter Painter(&Canvas);
    QFont TitleFont("DejaVu Sans");
    TitleFont.setPixelSize(13);
    TitleFont.setBold(true);
    Painter.setFont(TitleFont);
    int Left = Gap;
    for (const TShot& Shot : Shots) {
        const QRect Frame(Left, Gap, Shot.Image.width() + 2, Shot.Image.height() + TitleHeight + 2);
        Painter.fillRect(Frame, QColor(64, 84, 112));
        Painter.setPen(Qt::white);
        Painter.drawText(QRect(Frame.left() + 8, Frame.top(), Frame.width() - 16, TitleHeight),
                         Qt::AlignVCenter | Qt::AlignLeft, Shot.Title);
        Painter.drawImage(Frame.left() + 1, Frame.top() + TitleHeight + 1, Shot.Image);
        Left += Frame.width() + Gap;
    }
    return Canvas;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication App(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: QT_QPA_PLATFORM=offscreen %s <file.png>\n", argv[0]);
        return 2;
    }
    QCoreApplication::setApplicationName("Kelvor");
    InstallQtSynchronizer();
    Calc = new TCalc;
    StepRecord = new TStepRecord;
    CreateWindows();

    FirstForm->show();
    FirstForm->InputMEdit->setText("3");
    FirstForm->InputNEdit->setText("4");
    std::vector<TShot> Shots{{FirstForm->windowTitle(), FirstForm->grab().toImage()}};
    WhenOpen(InputABCForm, [&Shots] {
        FillProblem(InputABCForm);
        InputABCForm->InputC->SetCurrentCell(4, 3);
        Shots.push_back({InputABCForm->windowTitle(), InputABCForm->grab().toImage()});
        InputABCForm->OkButton->click();
    });
    WhenOpen(AnswerForm, [&Shots] {
        Shots.push_back({AnswerForm->windowTitle(), AnswerForm->grab().toImage()});
        AnswerForm->OkButton->click();
    });
    FirstForm->OkButtonClick();

    int Status = 0;
    if (Shots.size() != 3) {
        std::fprintf(stderr, "the calculation did not reach the results window\n");
        Status = 1;
    } else if (!Compose(Shots).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        Status = 1;
    }
    DestroyWindows();
    delete StepRecord;
    StepRecord = nullptr;
    delete Calc;
    Calc = nullptr;
    SetSynchronizer(nullptr);
    return Status;
}
