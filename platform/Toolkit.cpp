#include "Toolkit.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLayout>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <vector>

namespace {

// The frame the layouts were drawn for: a 4-pixel sizing border or a 3-pixel fixed one on each
// side, and a 19-pixel caption.
constexpr int CaptionHeight = 19;
int BorderWidth(TBorderStyle Border) {
    return Border == TBorderStyle::Sizeable ? 4 : 3;
}

TForm* MainForm = nullptr;

// The frame the window system drew around the last form it framed.
QMargins LastFrame;

QMargins FrameOf(const QWidget* Window) {
    const QRect Outer = Window->frameGeometry();
    const QRect Inner = Window->geometry();
    return {Inner.left() - Outer.left(), Inner.top() - Outer.top(), Outer.right() - Inner.right(),
            Outer.bottom() - Inner.bottom()};
}

// A workaround for the platform, not a rule of the windows. A window shown again is not always
// made active: the offscreen platform still counts it as the focus window from its last showing
// and drops the activation, and a window manager gives
// the keyboard back to no window in particular when a dialog without a parent closes. An
// inactive window gets no keys, so it is activated once it is on screen.
void ActivateLater(QWidget* Window) {
    QMetaObject::invokeMethod(
        Window,
        [Window] {
            if (!Window->isVisible() || QApplication::activeWindow() == Window ||
                (QApplication::activeModalWidget() && QApplication::activeModalWidget() != Window))
                return;
            Window->activateWindow();
            if (QApplication::activeWindow() != Window)
                QApplication::setActiveWindow(Window);
        },
        Qt::QueuedConnection);
}

// The widget that takes the keyboard for Control: its focus proxy, followed to the end.
QWidget* FocusTarget(QWidget* Control) {
    while (Control->focusProxy())
        Control = Control->focusProxy();
    return Control;
}

TFaces InstalledFaces;

class TAlignLayout : public QLayout {
public:
    TAlignLayout(QWidget* Parent, QMargins Insets) : QLayout(Parent), Insets_(Insets) {
        setSizeConstraint(QLayout::SetNoConstraint);
        setContentsMargins(0, 0, 0, 0);
        setSpacing(0);
    }
    ~TAlignLayout() override {
        for (const TEntry& Entry : Entries_)
            delete Entry.Item;
    }

    void Add(QWidget* Control, TAlign Align) {
        for (TEntry& Entry : Entries_) {
            if (Entry.Item->widget() == Control) {
                Entry.Align = Align;
                invalidate();
                return;
            }
        }
        addChildWidget(Control);
        Entries_.push_back({new QWidgetItem(Control), Align});
        invalidate();
    }

    void addItem(QLayoutItem* Item) override { Entries_.push_back({Item, TAlign::Client}); }
    int count() const override { return int(Entries_.size()); }
    QLayoutItem* itemAt(int Index) const override {
        return Index >= 0 && Index < count() ? Entries_[std::size_t(Index)].Item : nullptr;
    }
    QLayoutItem* takeAt(int Index) override {
        if (Index < 0 || Index >= count())
            return nullptr;
        QLayoutItem* Item = Entries_[std::size_t(Index)].Item;
        Entries_.erase(Entries_.begin() + Index);
        return Item;
    }
    QSize sizeHint() const override { return {0, 0}; }
    QSize minimumSize() const override { return {0, 0}; }

    void setGeometry(const QRect& Rect) override {
        QLayout::setGeometry(Rect);
        // The parent's own rectangle, not its contents rectangle: a group box reserves room for
        // its caption by the style's measure, the layouts by their own.
        QRect Area = parentWidget()->rect().marginsRemoved(Insets_);
        for (TAlign Pass : {TAlign::Top, TAlign::Bottom, TAlign::Client}) {
            for (const TEntry& Entry : Entries_) {
                QWidget* Control = Entry.Item->widget();
                if (Entry.Align != Pass || !Control || Entry.Item->isEmpty())
                    continue;
                const int Height = Control->height();
                if (Pass == TAlign::Top) {
                    Control->setGeometry(Area.left(), Area.top(), Area.width(), Height);
                    Area.setTop(Area.top() + Height);
                } else if (Pass == TAlign::Bottom) {
                    Control->setGeometry(Area.left(), Area.bottom() + 1 - Height, Area.width(),
                                         Height);
                    Area.setBottom(Area.bottom() - Height);
                } else {
                    Control->setGeometry(Area.left(), Area.top(), std::max(0, Area.width()),
                                         std::max(0, Area.height()));
                }
            }
        }
    }

private:
    struct TEntry {
        QLayoutItem* Item;
        TAlign Align;
    };
    QMargins Insets_;
    std::vector<TEntry> Entries_;
};

QPixmap CheckMark() {
    QPixmap Glyph(16, 16);
    Glyph.fill(Qt::transparent);
    QPainter Painter(&Glyph);
    Painter.setRenderHint(QPainter::Antialiasing);
    Painter.setPen(QPen(QColor(0, 128, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath Path;
    Path.moveTo(3, 8.5);
    Path.lineTo(6.5, 12);
    Path.lineTo(13, 4);
    Painter.drawPath(Path);
    return Glyph;
}

} // namespace

void InstallFaces(const TFaces& Faces) {
    for (const QString& File : Faces.Files)
        QFontDatabase::addApplicationFont(File);
    InstalledFaces = Faces;
}

// The ratio asked is the highest of all screens: fonts are chosen while a window is built,
// before it has a screen, and Qt 6.4 sends no event when the ratio changes.
QFont ToolkitFont(const QString& Face, int PixelHeight, bool Bold) {
    const bool Dense = qGuiApp->devicePixelRatio() != 1.0;
    QString Family = Face;
    for (const TFaceSubstitute& Substitute : InstalledFaces.Substitutes)
        if (Substitute.Face == Face && (Dense || !Substitute.DenseOnly)) {
            Family = Substitute.Family;
            break;
        }
    QFont Font(Family);
    Font.setPixelSize(PixelHeight);
    Font.setBold(Bold);
    return Font;
}

namespace {
TAccessibilityMonitor AccessibilityMonitor;
}

void AnnounceChange(QObject* Object, QAccessible::Event Kind) {
    QAccessibleEvent Event(Object, Kind);
    if (AccessibilityMonitor)
        AccessibilityMonitor(Event);
    QAccessible::updateAccessibility(&Event);
}

void SetAccessibilityMonitor(TAccessibilityMonitor Monitor) {
    AccessibilityMonitor = std::move(Monitor);
}

void SetBounds(QWidget* Control, int Left, int Top, int Width, int Height) {
    Control->setGeometry(Left, Top, Width, Height);
    if (QWidget* Parent = Control->parentWidget(); Parent && Parent->layout())
        Parent->layout()->invalidate();
}

void SetAlign(QWidget* Control, TAlign Align) {
    QWidget* Parent = Control->parentWidget();
    auto* Layout = dynamic_cast<TAlignLayout*>(Parent->layout());
    if (!Layout) {
        const bool Framed = dynamic_cast<QGroupBox*>(Parent) != nullptr;
        Layout = new TAlignLayout(Parent, Framed ? QMargins(2, 15, 2, 2) : QMargins());
    }
    Layout->Add(Control, Align);
}

TForm::TForm(TBorderStyle Border) : QWidget(nullptr), Border_(Border) {
    Qt::WindowFlags Flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (Border == TBorderStyle::Dialog)
        Flags |= Qt::Dialog;
    else
        Flags |= Qt::Window | Qt::WindowMinimizeButtonHint;
    if (Border == TBorderStyle::Sizeable)
        Flags |= Qt::WindowMaximizeButtonHint;
    setWindowFlags(Flags);
    if (!InstalledFaces.FormFace.isEmpty())
        setFont(ToolkitFont(InstalledFaces.FormFace, InstalledFaces.FormPixelHeight));
    // The style draws a focus ring only once the keyboard has moved the focus in a window, and
    // never for a focus moved by Enter or by a window opening: here every focus shows it.
    setAttribute(Qt::WA_KeyboardFocusChange);
}

TForm::~TForm() {
    if (MainForm == this)
        MainForm = nullptr;
}

void TForm::SetClientSize(int Width, int Height) {
    if (Border_ == TBorderStyle::Sizeable)
        resize(Width, Height);
    else
        setFixedSize(Width, Height);
}

int TForm::OuterWidth() const {
    return width() + 2 * BorderWidth(Border_);
}

int TForm::OuterHeight() const {
    return height() + 2 * BorderWidth(Border_) + CaptionHeight;
}

int TForm::ShowModal() {
    if (isVisible())
        hide();
    ModalResult_ = mrNone;
    const QPointer<QWidget> Opener = QApplication::activeWindow();
    setWindowModality(Qt::ApplicationModal);
    QEventLoop Loop;
    Loop_ = &Loop;
    show();
    // A handler run by the showing may already have ended it.
    if (ModalResult_ == mrNone)
        Loop.exec(QEventLoop::DialogExec);
    Loop_ = nullptr;
    const int Result = ModalResult_;
    hide();
    setWindowModality(Qt::NonModal);
    // The keyboard goes back to the window that opened this one.
    if (Opener && Opener != this)
        ActivateLater(Opener);
    return Result;
}

void TForm::SetModalResult(int Result) {
    ModalResult_ = Result;
    if (Result != mrNone && Loop_)
        Loop_->quit();
}

void TForm::Retitle(const QString& Title) {
    setWindowTitle(Title);
    AnnounceChange(this, QAccessible::NameChanged);
}

void TForm::showEvent(QShowEvent* Event) {
    QWidget::showEvent(Event);
    if (Event->spontaneous())
        return;
    if (Centered_)
        CentreOnScreen();
    if (OnShow)
        OnShow();
    // Every showing starts on its first control, ready for typing, and not on whatever had the
    // focus when the window last closed.
    if (QWidget* First = FirstFocus()) {
        First->setFocus(Qt::ActiveWindowFocusReason);
        // Selected again when the focus arrives: what the edit does before that, as the window
        // is activated, may take the selection away.
        if (auto* Edit = qobject_cast<QLineEdit*>(FocusTarget(First))) {
            Edit->selectAll();
            if (SelectOnFocus_)
                SelectOnFocus_->removeEventFilter(this);
            SelectOnFocus_ = Edit;
            Edit->installEventFilter(this);
        }
    }
    setAttribute(Qt::WA_KeyboardFocusChange);
    ActivateLater(this);
}

// The window's position is that of its client area, which lies inside the frame: the frame's
// size must be known to centre it. Before the window system has framed this form, the frame
// of the last form it framed stands in for it, and before any, the frame of the layouts.
void TForm::CentreOnScreen() {
    QMargins Frame = FrameOf(this);
    if (!Frame.isNull())
        LastFrame = Frame;
    else if (!LastFrame.isNull())
        Frame = LastFrame;
    else
        Frame = QMargins(BorderWidth(Border_), BorderWidth(Border_) + CaptionHeight,
                         BorderWidth(Border_), BorderWidth(Border_));
    QRect Outer = geometry().marginsAdded(Frame);
    Outer.moveCenter(screen()->availableGeometry().center());
    setGeometry(QRect(Outer.topLeft() + QPoint(Frame.left(), Frame.top()), size()));
}

QWidget* TForm::FirstFocus() const {
    if (ActiveControl_ && ActiveControl_->isVisibleTo(this) && ActiveControl_->isEnabled())
        return ActiveControl_;
    for (QWidget* Control = nextInFocusChain(); Control != this;
         Control = Control->nextInFocusChain())
        if ((Control->focusPolicy() & Qt::TabFocus) && Control->window() == this &&
            Control->isVisibleTo(this) && Control->isEnabled())
            return Control;
    return nullptr;
}

bool TForm::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == SelectOnFocus_ && Event->type() == QEvent::FocusIn) {
        SelectOnFocus_->removeEventFilter(this);
        SelectOnFocus_->selectAll();
        SelectOnFocus_ = nullptr;
    }
    return QWidget::eventFilter(Watched, Event);
}

void TForm::hideEvent(QHideEvent* Event) {
    QWidget::hideEvent(Event);
    // Hidden by the program while shown modally: end the showing rather than wait for ever.
    if (Loop_ && !Event->spontaneous() && ModalResult_ == mrNone) {
        ModalResult_ = mrCancel;
        Loop_->quit();
    }
}

void TForm::resizeEvent(QResizeEvent* Event) {
    QWidget::resizeEvent(Event);
    if (OnResize)
        OnResize();
}

void TForm::closeEvent(QCloseEvent* Event) {
    if (OnCloseQuery && !OnCloseQuery()) {
        Event->ignore();
        return;
    }
    if (Loop_) {
        // ShowModal hides the form once its loop has ended.
        SetModalResult(mrCancel);
        Event->ignore();
        return;
    }
    Event->accept();
    if (MainForm == this)
        QCoreApplication::quit();
}

void TForm::keyPressEvent(QKeyEvent* Event) {
    const bool Enter = Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter;
    if (!Enter && Event->key() != Qt::Key_Escape) {
        QWidget::keyPressEvent(Event);
        return;
    }
    // Enter presses the default button, Escape the cancelling one.
    for (TButton* Button : findChildren<TButton*>())
        if ((Enter ? Button->isDefault() : Button->Cancel) && Button->isVisible() &&
            Button->isEnabled()) {
            Button->click();
            Event->accept();
            return;
        }
    Event->ignore();
}

int RunApplication(TForm& MainForm_, const QString& Title) {
    // Not the display name: Qt would append that to every window's caption.
    QCoreApplication::setApplicationName(Title);
    QApplication::setQuitOnLastWindowClosed(false);
    MainForm = &MainForm_;
    MainForm_.show();
    const int Result = QApplication::exec();
    MainForm = nullptr;
    return Result;
}

QString PlainCaption(const QString& Caption) {
    QString Plain;
    Plain.reserve(Caption.size());
    for (qsizetype At = 0; At < Caption.size(); ++At) {
        // The character after a mark is plain text, a second ampersand included.
        if (Caption[At] == '&' && ++At == Caption.size())
            break;
        Plain += Caption[At];
    }
    return Plain;
}

void SetAccessibleCaption(QWidget* Control, const QString& Caption) {
    Control->setAccessibleName(PlainCaption(Caption));
    // The widget that takes the focus for the control, such as a grid's cell editor, is what a
    // screen reader announces.
    if (QWidget* Proxy = Control->focusProxy())
        Proxy->setAccessibleName(PlainCaption(Caption));
}

TButton::TButton(QWidget* Parent, const QString& Caption) : QPushButton(Caption, Parent) {
    SetAccessibleCaption(this, Caption);
    // Enter is handled by the form and by the focused button, not by Qt's dialog rules.
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
        if (OnClick)
            OnClick();
        if (ModalResult != mrNone)
            if (auto* Form = dynamic_cast<TForm*>(window()))
                Form->SetModalResult(ModalResult);
    });
}

void TButton::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) {
        click();
        Event->accept();
        return;
    }
    QPushButton::keyPressEvent(Event);
}

TBitBtn::TBitBtn(QWidget* Parent) : TButton(Parent, "OK") {
    ModalResult = mrOk;
    setIcon(CheckMark());
    setIconSize(QSize(16, 16));
}

TSpeedButton::TSpeedButton(QWidget* Parent) : QToolButton(Parent) {
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setIconSize(QSize(16, 16));
    connect(this, &QToolButton::clicked, this, [this] {
        if (OnClick)
            OnClick();
    });
}

void TSpeedButton::SetHint(const QString& Hint) {
    Hint_ = Hint;
    SetAccessibleCaption(this, Hint);
    ShowHint();
}

void TSpeedButton::SetShortcutKey(const QKeySequence& Key) {
    setShortcut(Key);
    ShowHint();
}

void TSpeedButton::ShowHint() {
    const QString Key = shortcut().toString(QKeySequence::NativeText);
    setToolTip(Key.isEmpty() ? Hint_ : Hint_ + " (" + Key + ")");
}

void TSpeedButton::SetGlyph(const QPixmap& Enabled, const QPixmap& Disabled) {
    QIcon Icon;
    Icon.addPixmap(Enabled, QIcon::Normal);
    Icon.addPixmap(Disabled, QIcon::Disabled);
    setIcon(Icon);
}

QPixmap GreyedGlyph(const QPixmap& Glyph) {
    const QImage Source = Glyph.toImage().convertToFormat(QImage::Format_ARGB32);
    QImage Result(Source.size(), QImage::Format_ARGB32);
    Result.fill(Qt::transparent);
    const QRgb Highlight = qRgb(255, 255, 255);
    const QRgb Shadow = qRgb(128, 128, 128);
    for (int Y = 0; Y < Source.height(); ++Y)
        for (int X = 0; X < Source.width(); ++X)
            if (qAlpha(Source.pixel(X, Y)) >= 128 && X + 1 < Result.width() &&
                Y + 1 < Result.height())
                Result.setPixel(X + 1, Y + 1, Highlight);
    for (int Y = 0; Y < Source.height(); ++Y)
        for (int X = 0; X < Source.width(); ++X)
            if (qAlpha(Source.pixel(X, Y)) >= 128)
                Result.setPixel(X, Y, Shadow);
    return QPixmap::fromImage(Result);
}

TLabel::TLabel(QWidget* Parent, const QString& Caption, int Left, int Top)
    : QLabel(Caption, Parent) {
    move(Left, Top);
    adjustSize();
}

void TLabel::Recaption(const QString& Caption) {
    setText(Caption);
    adjustSize();
    if (buddy())
        SetAccessibleCaption(buddy(), Caption);
}

void TLabel::SetFocusControl(QWidget* Control) {
    setBuddy(Control);
    // With a control the accelerator mark stops showing and gives its room back; left wide, the
    // label would reach under the control it names.
    adjustSize();
    if (Control)
        SetAccessibleCaption(Control, text());
}

namespace {

// A link as screen readers see it: its caption as its name, the link role and a press action.
class TLinkAccessible : public QAccessibleWidget {
public:
    explicit TLinkAccessible(TLinkLabel* Link) : QAccessibleWidget(Link, QAccessible::Link) {}

    QString text(QAccessible::Text Kind) const override {
        const QString Own = QAccessibleWidget::text(Kind);
        if (Kind == QAccessible::Name && Own.isEmpty())
            return PlainCaption(static_cast<const QLabel*>(widget())->text());
        return Own;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& Action) override {
        if (Action == pressAction())
            static_cast<TLinkLabel*>(widget())->Activate();
    }
};

QAccessibleInterface* LinkAccessible(const QString&, QObject* Object) {
    if (auto* Link = dynamic_cast<TLinkLabel*>(Object))
        return new TLinkAccessible(Link);
    return nullptr;
}

} // namespace

TLinkLabel::TLinkLabel(QWidget* Parent, const QString& Caption, int Left, int Top)
    : TLabel(Parent, Caption, Left, Top) {
    static const bool Installed = [] {
        QAccessible::installFactory(LinkAccessible);
        return true;
    }();
    (void)Installed;
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    // The caption is the address itself, never rich text.
    setTextFormat(Qt::PlainText);
    // Whatever looked at the label while its base was being built got a plain label's
    // interface, which would stay cached.
    QAccessibleInterface* Built = QAccessible::queryAccessibleInterface(this);
    if (Built && !dynamic_cast<TLinkAccessible*>(Built))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(Built));
}

void TLinkLabel::Activate() {
    if (OnClick)
        OnClick(this);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* Event) {
    TLabel::mouseReleaseEvent(Event);
    if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint()))
        Activate();
}

void TLinkLabel::keyPressEvent(QKeyEvent* Event) {
    switch (Event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (Event->modifiers() & ~Qt::KeypadModifier)
            break;
        Activate();
        Event->accept();
        return;
    default:
        break;
    }
    TLabel::keyPressEvent(Event);
}

void TLinkLabel::paintEvent(QPaintEvent* Event) {
    TLabel::paintEvent(Event);
    if (!hasFocus())
        return;
    QStylePainter Painter(this);
    QStyleOptionFocusRect Ring;
    Ring.initFrom(this);
    Painter.drawPrimitive(QStyle::PE_FrameFocusRect, Ring);
}

TStaticText::TStaticText(QWidget* Parent, Qt::Alignment Alignment) : QLabel(Parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAlignment(Alignment | Qt::AlignVCenter);
}

void TStaticText::ShowValue(const QString& Value) {
    setText(Value);
    setAccessibleDescription(Value);
}

TEdit::TEdit(QWidget* Parent) : QLineEdit(Parent) {
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange)
            OnChange();
    });
}

int TEdit::SelStart() const {
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

int TEdit::SelLength() const {
    return selectionLength();
}

void TEdit::SelectRange(int Start, int Length) {
    if (Length > 0)
        setSelection(Start, Length);
    else
        setCursorPosition(Start);
}

void TEdit::keyPressEvent(QKeyEvent* Event) {
    if (OnKeyPress && !Event->text().isEmpty())
        OnKeyPress(Event->text().at(0));
    QLineEdit::keyPressEvent(Event);
}

TGroupBox::TGroupBox(QWidget* Parent, const QString& Caption) : QGroupBox(Caption, Parent) {}

TPanel::TPanel(QWidget* Parent) : QFrame(Parent) {
    setFrameShape(QFrame::NoFrame);
}

TTimer::TTimer() {
    Timer_.setInterval(1000);
    QObject::connect(&Timer_, &QTimer::timeout, &Timer_, [this] {
        if (OnTimer)
            OnTimer();
    });
}

void TTimer::SetEnabled(bool Enabled) {
    if (!Enabled)
        Timer_.stop();
    else if (!Timer_.isActive())
        Timer_.start();
}

namespace {
TFileQuestion OpenQuestion, SaveQuestion;
}

QString AskOpenFile(QWidget* Parent, const QString& Title, const QString& Filters) {
    if (OpenQuestion)
        return OpenQuestion(Parent, Title, QString(), Filters);
    return QFileDialog::getOpenFileName(Parent, Title, QString(), Filters);
}

QString AskSaveFile(QWidget* Parent, const QString& Title, const QString& Name,
                    const QString& Filters) {
    if (SaveQuestion)
        return SaveQuestion(Parent, Title, Name, Filters);
    return QFileDialog::getSaveFileName(Parent, Title, Name, Filters);
}

void SetFileQuestions(TFileQuestion Open, TFileQuestion Save) {
    OpenQuestion = std::move(Open);
    SaveQuestion = std::move(Save);
}

void ErrorBox(const QString& Message) {
    QMessageBox Box(QMessageBox::Critical, "Error", Message, QMessageBox::Ok);
    // A title bar holds the caption beside an icon and up to three buttons, each about as wide
    // as a caption is high, with a margin at either end; a box sized to a short message alone
    // cuts its caption short.
    QFont CaptionFont = Box.font();
    CaptionFont.setBold(true);
    const int Button = QFontMetrics(CaptionFont).height() + 12;
    const int Margin = Box.style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    const int Width =
        QFontMetrics(CaptionFont).horizontalAdvance(Box.windowTitle()) + 4 * Button + 4 * Margin;
    if (auto* Grid = qobject_cast<QGridLayout*>(Box.layout()))
        Grid->addItem(new QSpacerItem(Width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      Grid->rowCount(), 0, 1, Grid->columnCount());
    const QPointer<QWidget> Opener = QApplication::activeWindow();
    Box.exec();
    // The keyboard goes back to the window the box stood over.
    if (Opener)
        ActivateLater(Opener);
}
