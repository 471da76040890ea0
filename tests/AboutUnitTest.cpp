#include "AboutUnit.h"
#include "ProgramFaces.h"

#include "KeyRoad.h"
#include "WindowTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QPalette>

#include <QFontInfo>
#include <QPixmap>
#include <QStringList>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// A result that no button of the dialog gives.
constexpr int EndedFromOutside = 99;

class About : public testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallProgramFaces();
        AboutBox = new TAboutBox;
        AboutBox->OpenAddress = [](const QString& Address) { Opened.append(Address); };
    }
    static void TearDownTestSuite() {
        delete AboutBox;
        AboutBox = nullptr;
    }
    void SetUp() override { Opened.clear(); }

    // Shows the dialog modally, runs Act while it is open, and returns the modal result.
    // Act must end the dialog; should it not, it is ended from outside once the events Act
    // caused have been handled.
    static int ShowWhile(const std::function<void()>& Act) {
        QTimer Fallback;
        Fallback.setSingleShot(true);
        QObject::connect(&Fallback, &QTimer::timeout, [] {
            if (AboutBox->Modal())
                AboutBox->SetModalResult(EndedFromOutside);
        });
        WhenModal(AboutBox, [&] {
            Act();
            Fallback.start(0);
        });
        return AboutBox->ShowModal();
    }

    static inline QStringList Opened;
};

TEST_F(About, HomePageLinkOpensExactlyItsCaption) {
    bool StillOpen = false;
    const int Result = ShowWhile([&] {
        QTest::mouseClick(AboutBox->HTMLLabel, Qt::LeftButton);
        StillOpen = AboutBox->isVisible();
        Click(AboutBox->OkButton);
    });
    EXPECT_EQ(Result, mrOk);
    EXPECT_TRUE(StillOpen);
    ASSERT_EQ(Opened.size(), 1);
    EXPECT_EQ(Opened[0], AboutBox->HTMLLabel->text());
    // The caption must be a complete address for the desktop to open it.
    const QUrl Home(Opened[0], QUrl::StrictMode);
    EXPECT_TRUE(Home.isValid());
    EXPECT_EQ(Home.scheme(), "https");
    EXPECT_EQ(Home.host(), "kelvor.example");
}

TEST_F(About, MailLinkOpensAMessageToItsCaption) {
    ShowWhile([] {
        QTest::mouseClick(AboutBox->MailtoLabel, Qt::LeftButton);
        QTest::mouseClick(AboutBox->MailtoLabel, Qt::LeftButton);
        Click(AboutBox->OkButton);
    });
    ASSERT_EQ(Opened.size(), 2);
    EXPECT_EQ(Opened[0], "mailto:" + AboutBox->MailtoLabel->text());
    EXPECT_EQ(Opened[0], "mailto:help@kelvor.example");
    EXPECT_EQ(Opened[1], Opened[0]);
}

TEST_F(About, ClicksElsewhereOpenNothing) {
    const int Result = ShowWhile([] {
        for (QWidget* Other : std::initializer_list<QWidget*>{
                 AboutBox->ProgramIcon, AboutBox->ProductName, AboutBox->Version,
                 AboutBox->Copyright, AboutBox->WebLabel, AboutBox->MailLabel})
            QTest::mouseClick(Other, Qt::LeftButton);
        QTest::mouseClick(AboutBox, Qt::LeftButton, {}, QPoint(300, 20));
        // Pressed on the link but released off it: no click.
        QTest::mousePress(AboutBox->HTMLLabel, Qt::LeftButton);
        QTest::mouseRelease(AboutBox->HTMLLabel, Qt::LeftButton, {},
                            QPoint(-5, AboutBox->HTMLLabel->height() / 2));
    });
    EXPECT_TRUE(Opened.isEmpty());
    EXPECT_EQ(Result, EndedFromOutside); // still open until ended from outside
}

TEST_F(About, EnterClosesThroughOk) {
    QWidget* Focused = nullptr;
    const int Result = ShowWhile([&] {
        Focused = QApplication::focusWidget();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(Focused, AboutBox->OkButton);
    EXPECT_EQ(Result, mrOk);
    EXPECT_FALSE(AboutBox->isVisible());
}

// The links by keyboard alone: Tab reaches each after OK, with a focus ring; Enter and Space
// open it; a screen reader finds a link it can press.
TEST_F(About, EachLinkIsReachedByTabOpenedByEnterOrSpaceAndPressedByAScreenReader) {
    std::vector<QWidget*> Focused;
    bool Ringed = false;
    QString Role;
    const int Result = ShowWhile([&] {
        const QImage Plain = AboutBox->HTMLLabel->grab().toImage();
        for (const char* Keys : {"Tab Enter", "Tab Space", "Tab"}) {
            Press(Keys);
            Focused.push_back(QApplication::focusWidget());
        }
        Press("Tab");
        Ringed = AboutBox->HTMLLabel->hasFocus() && AboutBox->HTMLLabel->grab().toImage() != Plain;
        QAccessibleInterface* Link = QAccessible::queryAccessibleInterface(AboutBox->MailtoLabel);
        Role = Link->role() == QAccessible::Link ? "link" : "other";
        EXPECT_EQ(Link->text(QAccessible::Name), "help@kelvor.example");
        EXPECT_EQ(Link->actionInterface()->actionNames(),
                  QStringList{QAccessibleActionInterface::pressAction()});
        Link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        Press("Escape");
    });
    EXPECT_EQ(Focused, (std::vector<QWidget*>{AboutBox->HTMLLabel, AboutBox->MailtoLabel,
                                              AboutBox->OkButton}));
    EXPECT_TRUE(Ringed);
    EXPECT_EQ(Role, "link");
    EXPECT_EQ(Opened, QStringList({"https://kelvor.example/", "mailto:help@kelvor.example",
                                   "mailto:help@kelvor.example"}));
    // Escape closes the box as OK does.
    EXPECT_EQ(Result, mrOk);
}

TEST_F(About, ShowsTheProgramsOwnIconNameAndVersion) {
    EXPECT_EQ(AboutBox->windowTitle(), "About Kelvor");
    EXPECT_EQ(AboutBox->size(), QSize(332, 165));
    EXPECT_EQ(AboutBox->ProductName->text(), "Kelvor");
    EXPECT_EQ(AboutBox->Version->text(), "Version 2.0");
    EXPECT_EQ(AboutBox->WebLabel->text(), "Visit My Home Page ");
    EXPECT_EQ(AboutBox->MailLabel->text(), "Or Mail Me");
    EXPECT_FALSE(AboutBox->Copyright->text().isEmpty());
    const QPixmap Icon = AboutBox->ProgramIcon->pixmap();
    ASSERT_FALSE(Icon.isNull());
    EXPECT_EQ(Icon.size(), QSize(32, 32));
    // Each introduction stands to the left of its link, on the same line.
    EXPECT_LT(AboutBox->WebLabel->geometry().right(), AboutBox->HTMLLabel->x());
    EXPECT_LT(AboutBox->MailLabel->geometry().right(), AboutBox->MailtoLabel->x());
    EXPECT_EQ(AboutBox->HTMLLabel->cursor().shape(), Qt::PointingHandCursor);
    // The links keep from the right edge the margin that the icon keeps from the left.
    for (const QLabel* Link : {AboutBox->HTMLLabel, AboutBox->MailtoLabel})
        EXPECT_GE(AboutBox->width() - 1 - Link->geometry().right(), AboutBox->ProgramIcon->x())
            << Link->text().toStdString();
}

TEST_F(About, ADarkThemeGivesItsOwnTextAndLinkColoursTheClassicFaceBlackAndBlue) {
    const auto Colour = [](const QLabel* Label) {
        return Label->palette().color(QPalette::WindowText);
    };
    const QPalette Classic = QApplication::palette();
    QPalette Dark(QColor(45, 45, 48));
    Dark.setColor(QPalette::Link, QColor(110, 170, 255));
    ASSERT_GT(Dark.color(QPalette::WindowText).lightness(),
              Dark.color(QPalette::Window).lightness());
    QApplication::setPalette(Dark);
    EXPECT_TRUE(
        WaitFor([&] { return Colour(AboutBox->Version) == Dark.color(QPalette::WindowText); }));
    EXPECT_EQ(Colour(AboutBox->ProductName), Dark.color(QPalette::WindowText));
    EXPECT_EQ(Colour(AboutBox->HTMLLabel), QColor(110, 170, 255));
    EXPECT_EQ(Colour(AboutBox->MailtoLabel), QColor(110, 170, 255));
    // Only the text colour is the dialog's own: the background stays the theme's.
    EXPECT_EQ(AboutBox->Version->palette().color(QPalette::Window), Dark.color(QPalette::Window));

    QApplication::setPalette(Classic);
    EXPECT_TRUE(WaitFor([&] { return Colour(AboutBox->Version) == QColor(Qt::black); }));
    EXPECT_EQ(Colour(AboutBox->MailLabel), QColor(Qt::black));
    EXPECT_EQ(Colour(AboutBox->HTMLLabel), QColor(Qt::blue));
}

} // namespace

// The program's faces resolve to the fonts installed with it.
TEST(ProgramFaces, TheLayoutsFacesResolveToTheInstalledFonts) {
    InstallProgramFaces();
    EXPECT_EQ(QFontInfo(ToolkitFont("MS Sans Serif", 11)).family(), "MS Sans Serif");
    EXPECT_EQ(QFontInfo(ToolkitFont("System", 13)).family(), "System");
    EXPECT_EQ(QFontInfo(ToolkitFont("Arial", 27, true)).family(), "Liberation Sans");
}
