#include "Toolkit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontDatabase>
#include <QImage>
#include <QKeyEvent>
#include <QLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <vector>

namespace {

// The frame the layouts were drawn for: a 4-pixel sizing border or a 3-pixel fixed one on each
// side, and a 19-pixel caption.
constexpr int CaptionHeight = 19;
int BorderWidth(TBorderStyle Border) {
    return Border == TBorderStyle::Sizeable ? 4 : 3;
}

TForm* MainForm = nullptr;

void LoadFonts() {
    static const bool Loaded = [] {
        // Not registered with fontconfig (Debian keeps bitmap fonts out of it), so loaded here.
        QFontDatabase::addApplicationFont("/usr/share/wine/fonts/ms_sans_serif.ttf");
        QFontDatabase::addApplicationFont("/usr/share/wine/fonts/system.ttf");
        return true;
    }();
    (void)Loaded;
}

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

// The bitmap faces hold strikes for 96 dpi alone, and Qt draws a bitmap strike at its own size in
// device pixels: at twice the density the text would come out half as tall, its letters spread
// to the scaled advances. The ratio asked is the highest of all screens: fonts are chosen while
// a window is built, before it has a screen, and Qt 6.4 sends no event when the ratio changes.
QFont ToolkitFont(const QString& Family, int PixelHeight, bool Bold) {
    LoadFonts();
    const bool Bitmap = Family == "MS Sans Serif" || Family == "System";
    const bool Dense = qGuiApp->devicePixelRatio() != 1.0;
    QFont Font(Family == "Arial" || (Bitmap && Dense) ? QString("Liberation Sans") : Family);
    Font.setPixelSize(PixelHeight);
    Font.setBold(Bold);
    return Font;
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
    setFont(ToolkitFont("MS Sans Serif", 11));
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
    return Result;
}

void TForm::SetModalResult(int Result) {
    ModalResult_ = Result;
    if (Result != mrNone && Loop_)
        Loop_->quit();
}

void TForm::showEvent(QShowEvent* Event) {
    QWidget::showEvent(Event);
    if (Event->spontaneous())
        return;
    if (Centered_) {
        QRect Frame = frameGeometry();
        Frame.moveCenter(screen()->availableGeometry().center());
        move(Frame.topLeft());
    }
    if (OnShow)
        OnShow();
    if (ActiveControl_)
        ActiveControl_->setFocus(Qt::ActiveWindowFocusReason);
    // A window shown again is not always made active: the offscreen platform still counts it
    // as the focus window from its last showing and drops the activation. An inactive window
    // gets no keys, so it is activated here once it is on screen.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!isVisible() || QApplication::activeWindow() == this)
                return;
            activateWindow();
            if (QApplication::activeWindow() != this)
                QApplication::setActiveWindow(this);
        },
        Qt::QueuedConnection);
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
    switch (Event->key()) {
    case Qt::Key_Escape:
        // No window of the program has a cancel button: Escape closes nothing.
        Event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        for (TButton* Button : findChildren<TButton*>()) {
            if (Button->isDefault() && Button->isVisible() && Button->isEnabled()) {
                Button->click();
                Event->accept();
                return;
            }
        }
        Event->ignore();
        return;
    default:
        QWidget::keyPressEvent(Event);
    }
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
    setToolTip(Hint);
    SetAccessibleCaption(this, Hint);
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

void TLabel::SetCaption(const QString& Caption) {
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

TStaticText::TStaticText(QWidget* Parent, Qt::Alignment Alignment) : QLabel(Parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAlignment(Alignment | Qt::AlignVCenter);
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

void TEdit::SetSelection(int Start, int Length) {
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

void ErrorBox(const QString& Message) {
    QMessageBox Box(QMessageBox::Critical, "Error", Message, QMessageBox::Ok);
    Box.exec();
}
