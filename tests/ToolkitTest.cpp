#include "Toolkit.h"
#include "QtSynchronizer.h"
#include "ThreadBase.h"
#include "WindowTestSupport.h"

#include <QFontInfo>
#include <QMessageBox>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace {

// The layouts' face for every form of these tests, the bitmap MS Sans Serif that labels are
// measured in; installed before the first test.
TFaces LayoutFaces() {
    TFaces Faces;
    Faces.Files = {"/usr/share/wine/fonts/ms_sans_serif.ttf", "/usr/share/wine/fonts/system.ttf"};
    Faces.FormFace = "MS Sans Serif";
    Faces.FormPixelHeight = 11;
    return Faces;
}
struct TLayoutFaces : testing::Environment {
    void SetUp() override { InstallFaces(LayoutFaces()); }
};
const auto* const LayoutFacesEnvironment = testing::AddGlobalTestEnvironment(new TLayoutFaces);

// A small dialog: an edit and two buttons, OK the default one.
struct TSmallForm : TForm {
    TSmallForm() : TForm(TBorderStyle::Dialog) {
        SetClientSize(200, 80);
        Edit = new TEdit(this);
        SetBounds(Edit, 8, 8, 100, 21);
        Ok = new TButton(this, "&OK");
        SetBounds(Ok, 8, 40, 75, 25);
        Ok->ModalResult = mrOk;
        Other = new TButton(this, "&Abort");
        SetBounds(Other, 100, 40, 75, 25);
        Other->ModalResult = mrAbort;
        SetActiveControl(Edit);
    }
    TEdit* Edit;
    TButton* Ok;
    TButton* Other;
};

TEST(Form, ButtonsEndTheModalShowingWithTheirResultAfterTheirHandler) {
    TSmallForm Form;
    bool HandlerSawVisibleForm = false;
    Form.Other->OnClick = [&] { HandlerSawVisibleForm = Form.isVisible(); };
    WhenModal(&Form, [&] { Click(Form.Other); });
    EXPECT_EQ(Form.ShowModal(), mrAbort);
    EXPECT_TRUE(HandlerSawVisibleForm);
    EXPECT_FALSE(Form.isVisible());
    WhenModal(&Form, [&] { Click(Form.Ok); });
    EXPECT_EQ(Form.ShowModal(), mrOk);
}

TEST(Form, ClosingFromTheTitleBarGivesCancel) {
    TSmallForm Form;
    WhenModal(&Form, [&] { Form.close(); });
    EXPECT_EQ(Form.ShowModal(), mrCancel);
    bool Allow = false;
    Form.OnCloseQuery = [&] { return Allow; };
    WhenModal(&Form, [&] {
        Form.close();
        EXPECT_TRUE(Form.isVisible());
        Click(Form.Other);
    });
    EXPECT_EQ(Form.ShowModal(), mrAbort);
}

TEST(Form, EnterPressesTheDefaultOrTheFocusedButtonAndEscapeNothing) {
    TSmallForm Form;
    WhenModal(&Form, [&] {
        QTest::keyClick(Form.Edit, Qt::Key_Escape);
        QTest::keyClick(Form.Edit, Qt::Key_Return);
        // No default button: still open. The focused button is pressed by Enter.
        EXPECT_TRUE(Form.isVisible());
        Form.Other->setFocus();
        QTest::keyClick(Form.Other, Qt::Key_Return);
    });
    EXPECT_EQ(Form.ShowModal(), mrAbort);

    Form.Ok->setDefault(true);
    WhenModal(&Form, [&] {
        EXPECT_TRUE(Form.Edit->hasFocus());
        QTest::keyClick(Form.Edit, Qt::Key_Return);
    });
    EXPECT_EQ(Form.ShowModal(), mrOk);
}

TEST(Form, AcceleratorsPressButtonsAndFocusALabelsControl) {
    TSmallForm Form;
    auto* Label = new TLabel(&Form, "&Value", 120, 10);
    auto* Edit = new TEdit(&Form);
    SetBounds(Edit, 120, 24, 60, 21);
    Label->SetFocusControl(Edit);
    WhenModal(&Form, [&] {
        QTest::keyClick(&Form, Qt::Key_V, Qt::AltModifier);
        EXPECT_TRUE(WaitFor([&] { return Edit->hasFocus(); }));
        QTest::keyClick(&Form, Qt::Key_A, Qt::AltModifier);
    });
    EXPECT_EQ(Form.ShowModal(), mrAbort);
}

TEST(Label, IsSizedToItsCaptionAsDrawn) {
    TSmallForm Form;
    auto* Label = new TLabel(&Form, "Number of &Items", 10, 10);
    const QFontMetrics Metrics(Label->font());
    // Without a control to focus the mark is plain text and shows.
    EXPECT_EQ(Label->width(), Metrics.horizontalAdvance("Number of &Items"));
    Label->SetFocusControl(new TEdit(&Form));
    EXPECT_EQ(Label->width(), Metrics.horizontalAdvance("Number of Items"));
    Label->Recaption("&Count of Items");
    EXPECT_EQ(Label->width(), Metrics.horizontalAdvance("Count of Items"));
    EXPECT_EQ(Label->height(), Metrics.height());
}

TEST(Accessibility, ControlsAreNamedAfterTheirCaptionsWithoutAcceleratorMarks) {
    const std::pair<QString, QString> Captions[] = {
        {"E&xit", "Exit"}, {"&OK", "OK"},        {"Salt && Pepper", "Salt & Pepper"},
        {"Tail&", "Tail"}, {"&&&Both", "&Both"}, {"", ""}};
    for (const auto& [Caption, Plain] : Captions)
        EXPECT_EQ(PlainCaption(Caption), Plain) << Caption.toStdString();

    TSmallForm Form;
    auto* Button = new TButton(&Form, "&Abort");
    EXPECT_EQ(Button->accessibleName(), "Abort");
    auto* Speed = new TSpeedButton(&Form);
    Speed->SetHint("Randomize");
    EXPECT_EQ(Speed->accessibleName(), "Randomize");
    auto* Label = new TLabel(&Form, "Number of &Items", 10, 10);
    auto* Edit = new TEdit(&Form);
    Label->SetFocusControl(Edit);
    EXPECT_EQ(Edit->accessibleName(), "Number of Items");
    Label->Recaption("&Count");
    EXPECT_EQ(Edit->accessibleName(), "Count");
    // A control whose focus goes to another widget names that one too.
    auto* Outer = new QWidget(&Form);
    auto* Inner = new QLineEdit(Outer);
    Outer->setFocusProxy(Inner);
    SetAccessibleCaption(Outer, "&Outer");
    EXPECT_EQ(Outer->accessibleName(), "Outer");
    EXPECT_EQ(Inner->accessibleName(), "Outer");
}

TEST(Form, ModalShowingsNestAndEachReturnsItsOwnResult) {
    TSmallForm Outer, Inner;
    int InnerResult = mrNone;
    Outer.Ok->OnClick = [&] {
        WhenModal(&Inner, [&] { QTest::keyClicks(Inner.Edit, "x"), Click(Inner.Other); });
        InnerResult = Inner.ShowModal();
    };
    WhenModal(&Outer, [&] { Click(Outer.Ok); });
    EXPECT_EQ(Outer.ShowModal(), mrOk);
    EXPECT_EQ(InnerResult, mrAbort);
    EXPECT_EQ(Inner.Edit->text(), "x");
}

TEST(Form, AResultSetWhileShowingOrAHideEndsTheShowing) {
    TSmallForm Form;
    Form.OnShow = [&] { Form.SetModalResult(mrAbort); };
    EXPECT_EQ(Form.ShowModal(), mrAbort);
    Form.OnShow = nullptr;
    WhenModal(&Form, [&] { Form.hide(); });
    EXPECT_EQ(Form.ShowModal(), mrCancel);
    // Not modal: the result is only recorded.
    Form.show();
    Click(Form.Ok);
    EXPECT_TRUE(Form.isVisible());
    EXPECT_EQ(Form.ModalResult(), mrOk);
}

TEST(Form, OuterSizesAddTheFrameOfItsBorder) {
    TForm Sizeable(TBorderStyle::Sizeable);
    Sizeable.SetClientSize(419, 417);
    EXPECT_EQ(Sizeable.OuterWidth(), 427);
    EXPECT_EQ(Sizeable.OuterHeight(), 444);
    TForm Dialog(TBorderStyle::Dialog);
    Dialog.SetClientSize(100, 50);
    EXPECT_EQ(Dialog.OuterWidth(), 106);
    EXPECT_EQ(Dialog.maximumSize(), QSize(100, 50));
}

TEST(Align, ControlsStackOnTheEdgesAndTheClientTakesTheRest) {
    TForm Form(TBorderStyle::Sizeable);
    Form.SetClientSize(300, 200);
    auto* Top = new TGroupBox(&Form, "Top");
    SetBounds(Top, 5, 5, 10, 40);
    SetAlign(Top, TAlign::Top);
    auto* Bottom = new TPanel(&Form);
    SetBounds(Bottom, 0, 0, 10, 30);
    SetAlign(Bottom, TAlign::Bottom);
    auto* Extra = new TPanel(&Form);
    SetBounds(Extra, 0, 0, 10, 20);
    SetAlign(Extra, TAlign::Bottom);
    auto* Rest = new TGroupBox(&Form, "Rest");
    SetAlign(Rest, TAlign::Client);
    auto* Inner = new TPanel(Rest);
    SetAlign(Inner, TAlign::Client);
    Form.show();
    EXPECT_TRUE(WaitFor([&] { return Rest->geometry() == QRect(0, 40, 300, 110); }));
    EXPECT_EQ(Top->geometry(), QRect(0, 0, 300, 40));
    EXPECT_EQ(Bottom->geometry(), QRect(0, 170, 300, 30));
    EXPECT_EQ(Extra->geometry(), QRect(0, 150, 300, 20));
    EXPECT_TRUE(WaitFor([&] { return Inner->geometry() == QRect(2, 15, 296, 93); }));
    Extra->hide();
    EXPECT_TRUE(WaitFor([&] { return Rest->geometry() == QRect(0, 40, 300, 130); }));
    Form.resize(400, 300);
    EXPECT_TRUE(WaitFor([&] { return Bottom->geometry() == QRect(0, 270, 400, 30); }));
    EXPECT_EQ(Rest->geometry(), QRect(0, 40, 400, 230));
}

TEST(Edit, ChangeNotificationsComeForEveryChangeOfTextOnly) {
    TForm Form(TBorderStyle::Dialog);
    auto* Edit = new TEdit(&Form);
    int Changes = 0;
    Edit->OnChange = [&] { ++Changes; };
    Edit->setText("");
    EXPECT_EQ(Changes, 0);
    Edit->setText("12");
    Edit->setText("12");
    EXPECT_EQ(Changes, 1);
    Form.show();
    Edit->setFocus();
    QTest::keyClicks(Edit, "345");
    EXPECT_EQ(Changes, 4);
    // A rewrite inside the handler notifies again, and the handler sees the new text.
    QString Seen;
    Edit->OnChange = [&] {
        ++Changes;
        if (Edit->text() == "bad")
            Edit->setText("good");
        Seen = Edit->text();
    };
    Edit->setText("bad");
    EXPECT_EQ(Changes, 6);
    EXPECT_EQ(Seen, "good");
    Edit->SelectRange(1, 2);
    EXPECT_EQ(Edit->SelStart(), 1);
    EXPECT_EQ(Edit->SelLength(), 2);
    Edit->SelectRange(4, 0);
    EXPECT_EQ(Edit->SelStart(), 4);
    EXPECT_EQ(Edit->SelLength(), 0);
}

TEST(Edit, KeyPressSeesEveryCharacterBeforeTheEdit) {
    TForm Form(TBorderStyle::Dialog);
    auto* Edit = new TEdit(&Form);
    QString Keys, TextAtKey;
    Edit->OnKeyPress = [&](QChar Key) {
        Keys += Key;
        TextAtKey = Edit->text();
    };
    Form.show();
    Edit->setFocus();
    QTest::keyClicks(Edit, "ab");
    QTest::keyClick(Edit, Qt::Key_Return);
    EXPECT_EQ(Keys, QString("ab\r"));
    EXPECT_EQ(TextAtKey, "ab");
}

TEST(Timer, TicksOnTheInterfaceThreadWhileEnabled) {
    TTimer Timer;
    EXPECT_EQ(Timer.Interval(), 1000);
    EXPECT_FALSE(Timer.Enabled());
    int Ticks = 0;
    bool OnGuiThread = true;
    Timer.OnTimer = [&] {
        ++Ticks;
        OnGuiThread = OnGuiThread && QThread::currentThread() == qApp->thread();
    };
    Timer.SetInterval(10);
    Timer.SetEnabled(true);
    EXPECT_TRUE(WaitFor([&] { return Ticks >= 2; }));
    Timer.SetEnabled(false);
    const int Stopped = Ticks;
    // A timer of the same interval ticks three times meanwhile: the stopped one would have too.
    int Others = 0;
    QTimer Other;
    QObject::connect(&Other, &QTimer::timeout, [&] { ++Others; });
    Other.start(10);
    EXPECT_TRUE(WaitFor([&] { return Others >= 3; }));
    EXPECT_EQ(Ticks, Stopped);
    EXPECT_TRUE(OnGuiThread);
}

TEST(ErrorBox, ShowsTheMessageUnderTheCaptionErrorUntilOkIsPressed) {
    QString Caption, Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(Box, nullptr);
        Caption = Box->windowTitle();
        Text = Box->text();
        Icon = Box->icon();
        ASSERT_EQ(Box->buttons().size(), 1);
        EXPECT_EQ(Box->buttons().front()->text(), "OK");
        // A common window manager needs some 150 pixels of title bar for a five-letter
        // caption with its icon and buttons; sized to "Looping" alone the box had 121.
        EXPECT_GE(Box->width(), 160);
        Click(Box->buttons().front());
    });
    ErrorBox("Looping");
    EXPECT_EQ(Caption, "Error");
    EXPECT_EQ(Text, "Looping");
    EXPECT_EQ(Icon, QMessageBox::Critical);
}

TEST(Form, AControlWithTheFocusShowsItHoweverItGotIt) {
    TSmallForm Form;
    QImage Focused, Unfocused;
    WhenModal(&Form, [&] {
        // A mouse click first: it must not turn the rings off.
        Click(Form.Edit);
        Unfocused = Form.Ok->grab().toImage();
        Form.Ok->setFocus(Qt::OtherFocusReason);
        EXPECT_TRUE(WaitFor([&] { return Form.Ok->hasFocus(); }));
        Focused = Form.Ok->grab().toImage();
        Click(Form.Ok);
    });
    Form.ShowModal();
    EXPECT_NE(Focused, Unfocused);
}

TEST(Glyph, TheGreyedImageKeepsTheShapeWithoutItsColours) {
    QPixmap Glyph(8, 8);
    Glyph.fill(Qt::transparent);
    QImage Image = Glyph.toImage();
    Image.setPixel(2, 3, qRgb(255, 220, 0));
    const QImage Greyed = GreyedGlyph(QPixmap::fromImage(Image)).toImage();
    EXPECT_EQ(Greyed.pixel(2, 3), qRgb(128, 128, 128));
    EXPECT_EQ(Greyed.pixel(3, 4), qRgb(255, 255, 255));
    EXPECT_EQ(qAlpha(Greyed.pixel(5, 5)), 0);
}

// Faces come from the installed files and substitutes; a substitute for dense screens only
// leaves the face alone at 96 dpi.
TEST(Fonts, FacesResolveAsInstalled) {
    TFaces Faces;
    Faces.Files = {"/usr/share/wine/fonts/system.ttf"};
    Faces.Substitutes = {{"Arial", "Liberation Sans", false}, {"System", "DejaVu Sans", true}};
    InstallFaces(Faces);
    EXPECT_EQ(QFontInfo(ToolkitFont("MS Sans Serif", 11)).family(), "MS Sans Serif");
    EXPECT_EQ(QFontInfo(ToolkitFont("System", 13)).family(), "System");
    EXPECT_EQ(QFontInfo(ToolkitFont("Arial", 27, true)).family(), "Liberation Sans");
    EXPECT_TRUE(ToolkitFont("Arial", 27, true).bold());
    EXPECT_EQ(ToolkitFont("Arial", 27).pixelSize(), 27);
    InstallFaces(LayoutFaces());
}

TEST(Application, RunsUntilTheMainFormClosesNotWhenItHides) {
    TSmallForm Main, Dialog;
    QTimer::singleShot(0, [&] {
        Main.hide();
        WhenModal(&Dialog, [&] { Click(Dialog.Ok); });
        Dialog.ShowModal();
        // Back in the event loop with no window shown: the program must go on.
        QTimer::singleShot(20, [&] {
            Main.show();
            QTimer::singleShot(0, [&] { Main.close(); });
        });
    });
    EXPECT_EQ(RunApplication(Main, "Kelvor"), 0);
    EXPECT_FALSE(Main.isVisible());
    EXPECT_EQ(QCoreApplication::applicationName(), "Kelvor");
    QApplication::setQuitOnLastWindowClosed(true);
}

TEST(QtSynchronizer, RunsTasksOnTheInterfaceThreadWhileTheSenderWaits) {
    InstallQtSynchronizer();
    std::atomic<bool> RanOnGui{false}, SenderResumed{false};
    // The synchronizer is reached through a thread's completion notification.
    class TProbe : public TThread {
    public:
        explicit TProbe(TNotifyEvent Done) : TThread(std::move(Done)) {
            FreeOnTerminate = true;
            Start();
        }

    protected:
        void Execute() override {}
    };
    new TProbe([&](TThread*) {
        RanOnGui = QThread::currentThread() == qApp->thread();
        SenderResumed = true;
    });
    EXPECT_TRUE(WaitFor([&] { return SenderResumed.load(); }));
    EXPECT_TRUE(RanOnGui);
    EXPECT_TRUE(WaitFor([] { return TThread::LiveCount() == 0; }));
    SetSynchronizer(nullptr);
}

} // namespace
