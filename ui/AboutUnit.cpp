#include "AboutUnit.h"

#include "ProgramIcon.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QPixmap>
#include <QUrl>

TAboutBox* AboutBox = nullptr;

namespace {

void OpenWithDesktop(const QString& Address) {
    QDesktopServices::openUrl(QUrl(Address));
}

void SetLabelFont(QLabel* Label, const QFont& Font, const QColor& Colour) {
    Label->setFont(Font);
    QPalette Palette = Label->palette();
    Palette.setColor(QPalette::WindowText, Colour);
    Label->setPalette(Palette);
    Label->adjustSize();
}

} // namespace

TLinkLabel::TLinkLabel(QWidget* Parent, const QString& Caption, int Left, int Top)
    : TLabel(Parent, Caption, Left, Top) {
    setCursor(Qt::PointingHandCursor);
    // The caption is the address itself, never rich text.
    setTextFormat(Qt::PlainText);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* Event) {
    TLabel::mouseReleaseEvent(Event);
    if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint()) &&
        OnClick)
        OnClick(this);
}

TAboutBox::TAboutBox() : TForm(TBorderStyle::Dialog), OpenAddress(OpenWithDesktop) {
    setWindowTitle("About Kelvor");
    SetClientSize(332, 165);
    setFont(ToolkitFont("System", 13));

    const QFont Small = ToolkitFont("MS Sans Serif", 11);
    QFont Link = ToolkitFont("System", 13, true);
    Link.setUnderline(true);

    ProgramIcon = new QLabel(this);
    SetBounds(ProgramIcon, 8, 8, 32, 32);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(QPixmap::fromImage(ProgramIconImage(32)));

    ProductName = new TLabel(this, "Kelvor", 48, 8);
    SetLabelFont(ProductName, ToolkitFont("Arial", 27, true), Qt::black);
    Version = new TLabel(this, "Version 2.0", 48, 48);
    SetLabelFont(Version, Small, Qt::black);
    Copyright = new TLabel(this, "Copyright (c) The Kelvor developers", 48, 64);
    SetLabelFont(Copyright, Small, Qt::black);
    WebLabel = new TLabel(this, "Visit My Home Page ", 48, 92);
    SetLabelFont(WebLabel, Small, Qt::black);
    MailLabel = new TLabel(this, "Or Mail Me", 48, 116);
    SetLabelFont(MailLabel, Small, Qt::black);

    HTMLLabel = new TLinkLabel(this, "https://kelvor.example/", 152, 90);
    SetLabelFont(HTMLLabel, Link, Qt::blue);
    HTMLLabel->OnClick = [this](QObject* Sender) { HTMLLabelClick(Sender); };
    MailtoLabel = new TLinkLabel(this, "help@kelvor.example", 152, 114);
    SetLabelFont(MailtoLabel, Link, Qt::blue);
    MailtoLabel->OnClick = [this](QObject* Sender) { MailtoLabelClick(Sender); };

    OkButton = new TBitBtn(this);
    SetBounds(OkButton, 248, 138, 77, 25);
    OkButton->setFont(Small);
    OkButton->SetDefault(true);
    SetActiveControl(OkButton);
}

void TAboutBox::HTMLLabelClick(QObject*) {
    if (OpenAddress)
        OpenAddress(HTMLLabel->text());
}

void TAboutBox::MailtoLabelClick(QObject*) {
    if (OpenAddress)
        OpenAddress("mailto:" + MailtoLabel->text());
}
