// A small window toolkit on Qt Widgets, in the manner of a classic form designer's: forms that
// are shown modally and end with a numbered result, buttons that carry such a result, edits with
// one change notification per change of text, children aligned to the edges of their parent, a
// timer and the error message box.
//
// Sizes and positions are pixels at 96 dpi; Qt scales them on denser screens. A form's size is
// its client area; OuterWidth and OuterHeight add the border and caption of the frame the layouts
// were drawn for, so that code written against outer sizes keeps its pixel arithmetic whatever
// decoration the window manager really draws (none at all offscreen).
#pragma once

#include <QAccessible>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include <functional>
#include <vector>

class QEventLoop;

using TNotify = std::function<void()>;

// The standard modal results.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrAbort = 3;

// Fonts by the face names of the layouts. The toolkit knows no faces of its own: the program
// installs its faces once, before it builds a window. Files are font files to load (faces that
// fontconfig does not offer); FormFace at FormPixelHeight is the font every form starts with;
// a substitute draws a face in another family, always, or only when a screen is denser than
// 96 dpi (a device pixel ratio other than 1). A face without a substitute goes to Qt's font
// matching as it is.
struct TFaceSubstitute {
    QString Face;
    QString Family;
    bool DenseOnly = false;
};
struct TFaces {
    QStringList Files;
    QString FormFace;
    int FormPixelHeight = 0;
    std::vector<TFaceSubstitute> Substitutes;
};
void InstallFaces(const TFaces& Faces);

// The font for a face name at a character height in pixels, as the installed faces say.
QFont ToolkitFont(const QString& Face, int PixelHeight, bool Bold = false);

void SetBounds(QWidget* Control, int Left, int Top, int Width, int Height);

// Tells screen readers, through the accessibility bus when one listens, that Object changed as
// Kind says. A monitor, when installed, sees every such event first, bus or no bus: a seam for
// tests, as the bus is silent without a screen reader.
void AnnounceChange(QObject* Object, QAccessible::Event Kind);
using TAccessibilityMonitor = std::function<void(QAccessibleEvent& Event)>;
void SetAccessibilityMonitor(TAccessibilityMonitor Monitor);

// A caption without its accelerator marks: "E&xit" is "Exit", "&&" a literal ampersand.
QString PlainCaption(const QString& Caption);
// The name a screen reader gives Control and its focus proxy: the caption of its label, button
// or group box.
void SetAccessibleCaption(QWidget* Control, const QString& Caption);

// Keeps a control on an edge of its parent. Top and Bottom keep the control's height and take
// the parent's whole width, stacking inwards in the order of the calls; Client fills what they
// leave. A hidden control gives its room to the others. Inside a group box the edges are those
// of its frame (2 pixels at the sides and bottom, 15 at the top, below the caption).
enum class TAlign { None, Top, Bottom, Client };
void SetAlign(QWidget* Control, TAlign Align);

// Sizeable: resizable, system menu, minimize and maximize. Dialog: fixed size, system menu only.
// Single: fixed size, system menu and minimize.
enum class TBorderStyle { Sizeable, Dialog, Single };

class TForm : public QWidget {
public:
    explicit TForm(TBorderStyle Border);
    ~TForm() override;

    void SetClientSize(int Width, int Height);
    int OuterWidth() const;
    int OuterHeight() const;

    // The control that gets the focus at every showing; without one, the first in tab order.
    // An edit, or a grid's cell editor, gets it with its whole text selected, so that typing
    // replaces the text.
    void SetActiveControl(QWidget* Control) { ActiveControl_ = Control; }
    // Centred frame and all, at every showing; until the window system has framed a form, the
    // frame is taken to be that of the last form it framed, or else the layouts' own.
    void SetCenteredOnScreen(bool Centered) { Centered_ = Centered; }

    // Shows the form modally and returns, once it has hidden again, the result that ended it.
    int ShowModal();
    bool Modal() const { return Loop_ != nullptr; }
    int ModalResult() const { return ModalResult_; }
    // A non-zero result ends a modal showing when the handler that set it has returned; a form
    // that is not shown modally only records it.
    void SetModalResult(int Result);
    // A new title, which screen readers are told of as a change of the window's name.
    void Retitle(const QString& Title);

    // Run by the program's own showing, before the form appears (not by a restore from
    // minimised), and by every change of the client size.
    TNotify OnShow;
    TNotify OnResize;
    // Asked before the form closes from its title bar or by Close; false keeps it open.
    std::function<bool()> OnCloseQuery;

protected:
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void CentreOnScreen();
    QWidget* FirstFocus() const;

    TBorderStyle Border_;
    QWidget* ActiveControl_ = nullptr;
    // The edit that a showing gave the focus, until the focus has really come to it.
    QLineEdit* SelectOnFocus_ = nullptr;
    bool Centered_ = true;
    int ModalResult_ = mrNone;
    QEventLoop* Loop_ = nullptr;
};

// Sets the application's title and runs the event loop until MainForm closes. Hiding the main
// form, or closing every other window, does not end the program.
int RunApplication(TForm& MainForm, const QString& Title);

// A push button. Made the default button of its form with setDefault(true): Enter anywhere in
// the form then presses it, unless another button has the focus, which Enter presses instead.
// Made its cancel button with Cancel: Escape anywhere in the form presses it.
class TButton : public QPushButton {
public:
    TButton(QWidget* Parent, const QString& Caption);

    // Ends the modal showing of the button's form after OnClick has run.
    int ModalResult = mrNone;
    bool Cancel = false;
    TNotify OnClick;

protected:
    void keyPressEvent(QKeyEvent* Event) override;
};

// The standard OK button: "OK" with a check mark, modal result 1.
class TBitBtn : public TButton {
public:
    explicit TBitBtn(QWidget* Parent);
};

// A flat button that never takes the focus, showing a glyph and a hint on hover.
class TSpeedButton : public QToolButton {
public:
    explicit TSpeedButton(QWidget* Parent);

    void SetGlyph(const QPixmap& Enabled, const QPixmap& Disabled);
    // The hint also names the button for a screen reader.
    void SetHint(const QString& Hint);
    // A key that clicks the button from anywhere in its window, since the button itself is
    // never reached by Tab. The hint names it after its own text: "Hint (Ctrl+R)".
    void SetShortcutKey(const QKeySequence& Key);
    TNotify OnClick;

private:
    void ShowHint();
    QString Hint_;
};

// The look of a disabled glyph: the glyph's shape embossed in grey, without its colours.
QPixmap GreyedGlyph(const QPixmap& Glyph);

// A label sized to its caption. An ampersand marks the accelerator that focuses FocusControl.
class TLabel : public QLabel {
public:
    TLabel(QWidget* Parent, const QString& Caption, int Left, int Top);

    // A new caption: the label is sized to it, and its focus control takes it as its name.
    // (setText alone does neither.)
    void Recaption(const QString& Caption);
    // The control also takes the caption as its accessible name.
    void SetFocusControl(QWidget* Control);
};

// A label that acts as a link: a hand-shaped pointer, a stop in the tab order with a focus ring,
// opened by a click, Enter or Space, and presented to screen readers as a link that can be
// pressed. OnClick gets the label.
class TLinkLabel : public TLabel {
public:
    TLinkLabel(QWidget* Parent, const QString& Caption, int Left, int Top);

    std::function<void(QObject* Sender)> OnClick;
    // What a click does.
    void Activate();

protected:
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
};

// Fixed-size text in a sunken border. Its accessible name is the caption of the label that
// names it; the text it shows is its accessible description, so that a screen reader reads
// the value with its label.
class TStaticText : public QLabel {
public:
    TStaticText(QWidget* Parent, Qt::Alignment Alignment);

    // Shows Value, and gives it to screen readers as the accessible description.
    void ShowValue(const QString& Value);
};

class TEdit : public QLineEdit {
public:
    explicit TEdit(QWidget* Parent);

    // Every change of the text, typed or set by the program; none for setting the same text.
    // Handlers read text(): a rewrite inside a handler nests a second notification.
    TNotify OnChange;
    // Every character key, before the edit handles it.
    std::function<void(QChar Key)> OnKeyPress;

    int SelStart() const;
    int SelLength() const;
    // Selects Length characters from Start; with Length 0, puts the caret at Start with nothing
    // selected.
    void SelectRange(int Start, int Length);

protected:
    void keyPressEvent(QKeyEvent* Event) override;
};

class TGroupBox : public QGroupBox {
public:
    TGroupBox(QWidget* Parent, const QString& Caption);
};

// A plain area without bevel that holds and aligns other controls.
class TPanel : public QFrame {
public:
    explicit TPanel(QWidget* Parent);
};

class TTimer {
public:
    TTimer();

    int Interval() const { return Timer_.interval(); }
    void SetInterval(int Milliseconds) { Timer_.setInterval(Milliseconds); }
    bool Enabled() const { return Timer_.isActive(); }
    void SetEnabled(bool Enabled);
    // Ticks on the user-interface thread.
    TNotify OnTimer;

private:
    QTimer Timer_;
};

// The desktop's file dialogs: the name of a file to open, or to save under (starting from
// Name), or empty when the user cancelled. Filters as Qt writes them ("Problem files (*.csv)").
// Replaceable, so that tests answer in the dialogs' place; nullptr puts the desktop's back.
using TFileQuestion = std::function<QString(QWidget* Parent, const QString& Title,
                                            const QString& Name, const QString& Filters)>;
QString AskOpenFile(QWidget* Parent, const QString& Title, const QString& Filters);
QString AskSaveFile(QWidget* Parent, const QString& Title, const QString& Name,
                    const QString& Filters);
void SetFileQuestions(TFileQuestion Open, TFileQuestion Save);

// The error message box: caption "Error", the error icon, the message and one OK button. Returns
// when the user has closed it. Never narrower than its caption needs beside the icon and the
// buttons a window manager puts in a title bar.
void ErrorBox(const QString& Message);
