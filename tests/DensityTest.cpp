// The six windows at the screen density in force, offscreen: QT_SCALE_FACTOR from the
// environment, 1 when unset, so that the same program checks every density it is registered
// for. Each window is opened the way its user opens it and rendered; the rendering must really be
// at that density. Every caption, group title and edit text is then measured in the font it is
// drawn in and must fit where it is drawn: inside the rectangle its widget gives the text, inside
// every enclosing widget (a window edge clips as surely as a label's own box), and clear of the
// controls around it. Bitmap faces are drawn at their native size whatever the density, so no
// text may come out in one on a dense screen. For each window the text that fills its box most
// and the text that comes nearest to a control or an edge on its right are printed.
#include "AboutUnit.h"
#include "AnswerUnit.h"
#include "BusyUnit.h"
#include "CalcUnit.h"
#include "FirstUnit.h"
#include "InputABCUnit.h"
#include "ModalDriver.h"
#include "ProgramTestSupport.h"
#include "QtSynchronizer.h"
#include "RandomUnit.h"
#include "ThreadTestSupport.h"
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOption>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

double ScaleInForce() {
    const QByteArray Factor = qgetenv("QT_SCALE_FACTOR");
    return Factor.isEmpty() ? 1.0 : Factor.toDouble();
}

std::string Text(const QString& Value) {
    return Value.toStdString();
}

std::string Text(const QRectF& Rect) {
    return QString("(%1, %2) %3 x %4")
        .arg(Rect.x())
        .arg(Rect.y())
        .arg(Rect.width())
        .arg(Rect.height())
        .toStdString();
}

// A text as one widget draws it, in that widget's coordinates.
struct TPlacedText {
    QWidget* Widget;
    QString Shown;
    // Where the widget puts its text.
    QRectF Area;
    // What the text covers there, in the widget's font and alignment.
    QRectF Extent;
};

QRectF Aligned(const QRectF& Area, const QSizeF& Size, Qt::Alignment Align) {
    double X = Area.left();
    double Y = Area.top();
    if (Align & Qt::AlignRight)
        X = Area.right() - Size.width();
    else if (Align & Qt::AlignHCenter)
        X = Area.left() + (Area.width() - Size.width()) / 2;
    if (Align & Qt::AlignBottom)
        Y = Area.bottom() - Size.height();
    else if (Align & Qt::AlignVCenter)
        Y = Area.top() + (Area.height() - Size.height()) / 2;
    return {X, Y, Size.width(), Size.height()};
}

// The text area follows QLabel's own: the contents rectangle less the margin, and, for a framed
// label without an indent of its own, half an x on the sides the text is aligned to.
TPlacedText PlaceLabel(QLabel* Label) {
    const QFontMetricsF Metrics(Label->font());
    // Ampersands mark an accelerator only once the label has a buddy; before that they show.
    const QString Shown = Label->buddy() ? PlainCaption(Label->text()) : Label->text();
    QRectF Area =
        QRectF(Label->contentsRect())
            .adjusted(Label->margin(), Label->margin(), -Label->margin(), -Label->margin());
    int Indent = Label->indent();
    if (Indent < 0 && Label->frameWidth() > 0)
        Indent = QFontMetrics(Label->font()).horizontalAdvance('x') / 2 - Label->margin();
    const Qt::Alignment Align = Label->alignment();
    if (Indent > 0) {
        if (Align & Qt::AlignLeft)
            Area.setLeft(Area.left() + Indent);
        if (Align & Qt::AlignRight)
            Area.setRight(Area.right() - Indent);
        if (Align & Qt::AlignTop)
            Area.setTop(Area.top() + Indent);
        if (Align & Qt::AlignBottom)
            Area.setBottom(Area.bottom() - Indent);
    }
    const QSizeF Size(Metrics.horizontalAdvance(Shown), Metrics.height());
    return {Label, Shown, Area, Aligned(Area, Size, Align)};
}

// The style's contents rectangle less its button margin, the room its size hint leaves; an icon
// stands left of the caption, 4 pixels apart, the two centred together.
TPlacedText PlaceButton(QPushButton* Button) {
    QStyleOptionButton Option;
    Option.initFrom(Button);
    Option.text = Button->text();
    Option.icon = Button->icon();
    Option.iconSize = Button->iconSize();
    if (Button->isDefault())
        Option.features |= QStyleOptionButton::DefaultButton;
    if (Button->autoDefault())
        Option.features |= QStyleOptionButton::AutoDefaultButton;
    QStyle* Style = Button->style();
    const double Margin = Style->pixelMetric(QStyle::PM_ButtonMargin, &Option, Button) / 2.0;
    const QRectF Area =
        QRectF(Style->subElementRect(QStyle::SE_PushButtonContents, &Option, Button))
            .adjusted(Margin, 0, -Margin, 0);
    const QFontMetricsF Metrics(Button->font());
    const QString Shown = PlainCaption(Button->text());
    double Width = Metrics.horizontalAdvance(Shown);
    double Height = Metrics.height();
    if (!Button->icon().isNull()) {
        Width += Button->iconSize().width() + 4;
        Height = std::max(Height, double(Button->iconSize().height()));
    }
    return {Button, Shown, Area, Aligned(Area, {Width, Height}, Qt::AlignCenter)};
}

// The title stands in the style's label rectangle; the box's children are drawn over it.
TPlacedText PlaceGroupTitle(QGroupBox* Box) {
    QStyleOptionGroupBox Option;
    Option.initFrom(Box);
    Option.text = Box->title();
    Option.lineWidth = 1;
    Option.midLineWidth = 0;
    Option.textAlignment = Box->alignment();
    Option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (Box->isFlat())
        Option.features |= QStyleOptionFrame::Flat;
    const QRectF Area =
        Box->style()->subControlRect(QStyle::CC_GroupBox, &Option, QStyle::SC_GroupBoxLabel, Box);
    const QFontMetricsF Metrics(Box->font());
    const QString Shown = PlainCaption(Box->title());
    const QSizeF Size(Metrics.horizontalAdvance(Shown), Metrics.height());
    return {Box, Shown, Area, Aligned(Area, Size, Box->alignment() | Qt::AlignVCenter)};
}

// QLineEdit's own: the style's contents rectangle less the text margins and its fixed inner
// margins of 2 pixels at the sides and 1 above and below. A longer text would scroll out of
// sight.
TPlacedText PlaceEdit(QLineEdit* Edit) {
    QStyleOptionFrame Option;
    Option.initFrom(Edit);
    Option.rect = Edit->contentsRect();
    Option.lineWidth = Edit->hasFrame()
                           ? Edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &Option, Edit)
                           : 0;
    Option.midLineWidth = 0;
    Option.state |= QStyle::State_Sunken;
    const QMargins Margins = Edit->textMargins();
    const QRectF Area =
        QRectF(Edit->style()->subElementRect(QStyle::SE_LineEditContents, &Option, Edit))
            .adjusted(Margins.left() + 2, Margins.top() + 1, -Margins.right() - 2,
                      -Margins.bottom() - 1);
    const QFontMetricsF Metrics(Edit->font());
    const QSizeF Size(Metrics.horizontalAdvance(Edit->text()), Metrics.height());
    return {Edit, Edit->text(), Area, Aligned(Area, Size, Edit->alignment())};
}

std::optional<TPlacedText> Placed(QWidget* Widget) {
    if (auto* Label = qobject_cast<QLabel*>(Widget))
        return Label->text().isEmpty() ? std::nullopt : std::optional(PlaceLabel(Label));
    if (auto* Button = qobject_cast<QPushButton*>(Widget))
        return Button->text().isEmpty() ? std::nullopt : std::optional(PlaceButton(Button));
    if (auto* Button = qobject_cast<QAbstractButton*>(Widget)) {
        if (!Button->text().isEmpty())
            ADD_FAILURE() << "no measure for the caption of a " << Widget->metaObject()->className()
                          << ": \"" << Text(Button->text()) << '"';
        return std::nullopt;
    }
    if (auto* Box = qobject_cast<QGroupBox*>(Widget))
        return Box->title().isEmpty() ? std::nullopt : std::optional(PlaceGroupTitle(Box));
    if (auto* Edit = qobject_cast<QLineEdit*>(Widget))
        return Edit->text().isEmpty() ? std::nullopt : std::optional(PlaceEdit(Edit));
    return std::nullopt;
}

QRectF InWindow(QWidget* Widget, const QRectF& Rect) {
    return Rect.translated(Widget->mapTo(Widget->window(), QPoint(0, 0)));
}

QRectF Bounds(QWidget* Widget) {
    return InWindow(Widget, QRectF(Widget->rect()));
}

// Whether Other is painted where a text of Widget's could be hidden by it or hide it: any other
// visible widget except those that hold Widget or that it holds. A group box's children are
// drawn over its title and count.
bool CanCover(QWidget* Widget, QWidget* Other) {
    if (Other == Widget || !Other->isVisible() || Other->isAncestorOf(Widget))
        return false;
    return !Widget->isAncestorOf(Other) || qobject_cast<QGroupBox*>(Widget);
}

// The figures printed for a window: the text that fills its own box most, and the text that
// comes nearest on its right to the end of what holds it or to the control beside it.
struct TRoom {
    QString FullestBox, NearestEdge;
    double BoxRoom = 1e9, EdgeRoom = 1e9;

    void Box(const TPlacedText& P) {
        const double Room = P.Area.width() - P.Extent.width();
        if (Room < BoxRoom) {
            BoxRoom = Room;
            FullestBox = QString("\"%1\" %2 px in %3")
                             .arg(P.Shown)
                             .arg(P.Extent.width())
                             .arg(P.Area.width());
        }
    }
    void Edge(const QString& Shown, QWidget* Limit, double Room) {
        if (Room < EdgeRoom) {
            EdgeRoom = Room;
            NearestEdge = QString("\"%1\" %2 px before %3 %4")
                              .arg(Shown)
                              .arg(Room)
                              .arg(Limit->metaObject()->className())
                              .arg(Limit->objectName().isEmpty() ? Limit->accessibleName()
                                                                 : Limit->objectName());
        }
    }
};

bool IsBitmapFace(const QFont& Font) {
    const QFontInfo Info(Font);
    return !QFontDatabase::isSmoothlyScalable(Info.family(), Info.styleName());
}

bool IsLayoutBitmapFace(const QString& Family) {
    return Family == "MS Sans Serif" || Family == "System";
}

// Renders Window, checks the rendering's density and every text in it, and returns the texts it
// checked as the window shows them.
QStringList CheckWindow(QWidget* Window) {
    const double Scale = ScaleInForce();
    const std::string Title = Text(Window->windowTitle());
    QStringList Checked;
    if (!Window->isVisible()) {
        ADD_FAILURE() << Title << " is not shown";
        return Checked;
    }
    const QPixmap Shot = Window->grab();
    EXPECT_DOUBLE_EQ(Shot.devicePixelRatio(), Scale) << Title;
    EXPECT_EQ(Shot.width(), qRound(Window->width() * Scale)) << Title;
    if (const QString Keep = qEnvironmentVariable("KELVOR_SHOTS"); !Keep.isEmpty())
        Shot.save(QDir(Keep).filePath(QString("%1@%2.png").arg(Window->objectName()).arg(Scale)));

    const QList<QWidget*> Widgets = Window->findChildren<QWidget*>();
    TRoom Least;
    for (QWidget* Widget : Widgets) {
        if (!Widget->isVisible())
            continue;
        const std::optional<TPlacedText> Found = Placed(Widget);
        if (!Found)
            continue;
        const TPlacedText& P = *Found;
        const std::string What = Title + ": \"" + Text(P.Shown) + "\" (" +
                                 Widget->metaObject()->className() + ", " +
                                 Text(QFontInfo(Widget->font()).family()) + ")";
        Checked.append(P.Shown);

        EXPECT_TRUE(P.Area.contains(P.Extent))
            << What << " takes " << Text(P.Extent) << ", its text area is " << Text(P.Area);
        const QRectF Extent = InWindow(Widget, P.Extent);
        for (QWidget* Holder = Widget; Holder; Holder = Holder->parentWidget()) {
            EXPECT_TRUE(Bounds(Holder).contains(Extent))
                << What << " takes " << Text(Extent) << " in the window, beyond "
                << Holder->metaObject()->className() << " " << Text(Bounds(Holder));
            if (Holder != Widget)
                Least.Edge(P.Shown, Holder, Bounds(Holder).right() - Extent.right());
        }
        for (QWidget* Other : Widgets) {
            if (!CanCover(Widget, Other))
                continue;
            const QRectF Cover = Bounds(Other);
            EXPECT_FALSE(Cover.intersects(Extent))
                << What << " takes " << Text(Extent) << " in the window, under or over "
                << Other->metaObject()->className() << " " << Text(Cover);
            if (Cover.top() < Extent.bottom() && Extent.top() < Cover.bottom() &&
                Cover.left() >= Extent.left())
                Least.Edge(P.Shown, Other, Cover.left() - Extent.right());
        }

        if (Scale != 1.0) {
            EXPECT_FALSE(IsBitmapFace(Widget->font())) << What << " is drawn in a bitmap face";
        } else {
            EXPECT_EQ(IsBitmapFace(Widget->font()), IsLayoutBitmapFace(Widget->font().family()))
                << What << " asks for " << Text(Widget->font().family());
        }
        Least.Box(P);
    }
    std::printf("[ density %g ] %s: %lld texts; fullest box: %s; nearest edge: %s\n", Scale,
                Title.c_str(), static_cast<long long>(Checked.size()),
                Text(Least.FullestBox).c_str(), Text(Least.NearestEdge).c_str());
    return Checked;
}

class Density : public TProgramWindows {
protected:
    static void SetUpTestSuite() {
        TProgramWindows::SetUpTestSuite();
        FirstForm->setObjectName("FirstForm");
        RandomForm->setObjectName("RandomForm");
        BusyForm->setObjectName("BusyForm");
        InputABCForm->setObjectName("InputABCForm");
        AnswerForm->setObjectName("AnswerForm");
        AboutBox->setObjectName("AboutBox");
    }
};

TEST_F(Density, TheScreensRatioIsTheScaleAskedFor) {
    EXPECT_DOUBLE_EQ(qGuiApp->devicePixelRatio(), ScaleInForce());
    EXPECT_DOUBLE_EQ(FirstForm->devicePixelRatioF(), ScaleInForce());
}

TEST_F(Density, MainWindowAndAboutDialog) {
    const QStringList Main = CheckWindow(FirstForm);
    for (const char* Caption : {"Input", "Number of Supplers", "Number of Consumers", "(1 to 500)",
                                "1", "OK", "About", "Exit"})
        EXPECT_TRUE(Main.contains(Caption)) << Caption;

    QStringList About;
    WhenModal(AboutBox, [&] {
        About = CheckWindow(AboutBox);
        Click(AboutBox->OkButton);
    });
    Click(FirstForm->AboutButton);
    for (const QString& Caption :
         {QString("Kelvor"), QString("Version 2.0"), AboutBox->Copyright->text(),
          QString("Visit My Home Page "), QString("Or Mail Me"), AboutBox->HTMLLabel->text(),
          AboutBox->MailtoLabel->text(), QString("OK")})
        EXPECT_TRUE(About.contains(Caption)) << Text(Caption);
}

// One calculation road each for a dummy supplier and a dummy consumer, so that both titles of
// the results window's extra box are drawn: the data-entry window with the random-fill dialog
// opened from it, the progress dialog as it appears, the results window.
TEST_F(Density, TheCalculationRoadsWindows) {
    struct TCase {
        std::vector<const char*> A, B;
        const char* ExtraTitle;
    };
    for (const TCase& Case : {TCase{{"5", "5"}, {"10", "10", "10"}, "Dissatisfied Demands"},
                              TCase{{"40", "30"}, {"10", "10", "10"}, "Unused Stocks"}}) {
        SCOPED_TRACE(Case.ExtraTitle);
        FirstForm->InputMEdit->setText(QString::number(Case.A.size()));
        FirstForm->InputNEdit->setText(QString::number(Case.B.size()));
        QStringList Entry, Random, Busy, Answer;
        // The progress dialog is checked from the event loop of its showing, ahead of the
        // worker's end, which can only be noticed through that loop after the show handler has
        // started the worker. Should the road end in a message instead, the walk fails.
        TModalDriver Road;
        Road.Then(InputABCForm,
                  [&] {
                      Entry = CheckWindow(InputABCForm);
                      Click(InputABCForm->RandomButton);
                      for (std::size_t I = 0; I < Case.A.size(); ++I)
                          InputABCForm->InputA->SetCells(int(I), 1, Case.A[I]);
                      for (std::size_t J = 0; J < Case.B.size(); ++J) {
                          InputABCForm->InputB->SetCells(int(J), 1, Case.B[J]);
                          for (std::size_t I = 0; I < Case.A.size(); ++I)
                              InputABCForm->InputC->SetCells(int(J + 1), int(I + 1),
                                                             std::to_string(1 + I + 2 * J));
                      }
                      Click(InputABCForm->OkButton);
                  })
            .Then(RandomForm,
                  [&] {
                      Random = CheckWindow(RandomForm);
                      Click(RandomForm->CancelButton);
                  })
            .AtShowOf(BusyForm, [&] { Busy = CheckWindow(BusyForm); })
            .Then(AnswerForm, [&] {
                Answer = CheckWindow(AnswerForm);
                Click(AnswerForm->OkButton);
            });
        EXPECT_TRUE(Road.Walk([] { Click(FirstForm->OkButton); }));
        EXPECT_TRUE(TUiThread::WaitForThreads());

        for (const char* Caption : {"Stocks", "Demands", "Transport Costs", "OK", "Cancel"})
            EXPECT_TRUE(Entry.contains(Caption)) << Caption;
        for (const char* Caption : {"Maximum value of Stocks", "Maximum value of Demands",
                                    "Maximum value of Transpot Costs", "OK", "Cancel"})
            EXPECT_TRUE(Random.contains(Caption)) << Caption;
        EXPECT_TRUE(Busy.contains("Abort"));
        for (const QString& Caption :
             {QString("Calculation Time"), QString("Transport Cost"), QString("Transport Plan"),
              QString(Case.ExtraTitle), QString("Close"), AnswerForm->TimeText->text(),
              AnswerForm->SumText->text()})
            EXPECT_TRUE(Answer.contains(Caption)) << Text(Caption);
    }
}

} // namespace
