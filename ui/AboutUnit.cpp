#include "AboutUnit.h"

#include "ProgramIcon.h"

#include <QDesktopServices>
#include <QEvent>
#include <QPixmap>
#include <QUrl>

TAboutBox* AboutBox = nullptr;

namespace {

void OpenWithDesktop(const QString& Address) {
    QDesktopServices::openUrl(QUrl(Address));
}

void SetLabelFont(QLabel* Label, const QFont& Font) {
    Label->setFont(Font);
    Label->adjustSize();
}

// Sets the text colour alone, so that everything else keeps following the window's palette.
void SetTextColour(QLabel* Label, const QColor& Colour) {
    QPalette Colours;
    Colours.setColor(QPalette::WindowText, Colour);
    Label->setPalette(Colours);
}

} // namespace

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
    SetLabelFont(ProductName, ToolkitFont("Arial", 27, true));
    Version = new TLabel(this, "Version 2.0", 48, 48);
    SetLabelFont(Version, Small);
    Copyright = new TLabel(this, "Copyright (c) The Kelvor developers", 48, 64);
    SetLabelFont(Copyright, Small);
    WebLabel = new TLabel(this, "Visit My Home Page ", 48, 92);
    SetLabelFont(WebLabel, Small);
    MailLabel = new TLabel(this, "Or Mail Me", 48, 116);
    SetLabelFont(MailLabel, Small);

    HTMLLabel = new TLinkLabel(this, "https://kelvor.example/", 152, 90);
    SetLabelFont(HTMLLabel, Link);
    HTMLLabel->OnClick = [this](QObject* Sender) { HTMLLabelClick(Sender); };
    MailtoLabel = new TLinkLabel(this, "help@kelvor.example", 152, 114);
    SetLabelFont(MailtoLabel, Link);
    MailtoLabel->OnClick = [this](QObject* Sender) { MailtoLabelClick(Sender); };

    OkButton = new TBitBtn(this);
    SetBounds(OkButton, 248, 138, 77, 25);
    OkButton->setFont(Small);
    OkButton->setDefault(true);
    OkButton->Cancel = true;
    SetActiveControl(OkButton);
    // The links follow the button that has the focus at every opening.
    setTabOrder(OkButton, HTMLLabel);
    setTabOrder(HTMLLabel, MailtoLabel);
    ApplyColours();
}

void TAboutBox::ApplyColours() {
    // The classic face has black text and blue links on a light background. A dark theme would
    // make them all but unreadable, so there they take the theme's own text and link colours.
    const QPalette& Theme = palette();
    const bool Dark =
        Theme.color(QPalette::Window).lightness() < Theme.color(QPalette::WindowText).lightness();
    const QColor Text = Dark ? Theme.color(QPalette::WindowText) : QColor(Qt::black);
    const QColor Link = Dark ? Theme.color(QPalette::Link) : QColor(Qt::blue);
    for (QLabel* Label : {ProductName, Version, Copyright, WebLabel, MailLabel})
        SetTextColour(Label, Text);
    for (QLabel* Label : {HTMLLabel, MailtoLabel})
        SetTextColour(Label, Link);
}

void TAboutBox::changeEvent(QEvent* Event) {
    TForm::changeEvent(Event);
    if (Event->type() == QEvent::PaletteChange)
        ApplyColours();
}

void TAboutBox::HTMLLabelClick(QObject*) {
    if (OpenAddress)
        OpenAddress(HTMLLabel->text());
}

void TAboutBox::MailtoLabelClick(QObject*) {
    if (OpenAddress)
        OpenAddress("mailto:" + MailtoLabel->text());
}
