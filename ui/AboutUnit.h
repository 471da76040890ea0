// The about dialog: the program's icon, name and version, a notice line and two links, one to
// the home page and one that starts an e-mail message, each opening exactly what it shows.
#pragma once

#include "Toolkit.h"

#include <functional>

class TAboutBox : public TForm {
public:
    TAboutBox();

    QLabel* ProgramIcon;
    TLabel* ProductName;
    TLabel* Version;
    TLabel* Copyright;
    TLabel* WebLabel;
    TLabel* MailLabel;
    TLinkLabel* HTMLLabel;
    TLinkLabel* MailtoLabel;
    TBitBtn* OkButton;

    // Opens a web address or a mailto: address in the desktop's default program; its outcome
    // is not examined. Replaceable, so that tests can see what would be opened.
    std::function<void(const QString& Address)> OpenAddress;

    void HTMLLabelClick(QObject* Sender);
    void MailtoLabelClick(QObject* Sender);

protected:
    void changeEvent(QEvent* Event) override;

private:
    // Text and link colours for the palette in force: the classic ones unless it is dark.
    void ApplyColours();
};

extern TAboutBox* AboutBox;
