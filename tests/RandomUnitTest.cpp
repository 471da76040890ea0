#include "RandomUnit.h"

#include "Clock.h"
#include "EntryWindows.h"
#include "RandomGen.h"

#include <QLineEdit>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RandomUnitTest : public TEntryWindows {
protected:
    static void SetMaxima(const QString& A, const QString& B, const QString& C) {
        RandomForm->ARangeEdit->setText(A);
        RandomForm->BRangeEdit->setText(B);
        RandomForm->CRangeEdit->setText(C);
    }

    // In the open data-entry window: presses the random button and ends the dialog with the
    // given button. Returns the milliseconds of the day seen while the dialog was open.
    static std::uint32_t Randomize(TButton* TRandomForm::*Button) {
        std::uint32_t Seen = 0;
        WhenModal(RandomForm, [&] {
            Seen = UtcMillisecondsOfDay();
            Click(RandomForm->*Button);
        });
        Click(InputABCForm->RandomButton);
        return Seen;
    }

    // Every entry value of one table: stocks (A), demands (B) or costs (C), in draw order.
    static std::vector<std::string> Entries(char Table) {
        std::vector<std::string> Texts;
        const TInputABCForm* F = InputABCForm;
        if (Table == 'A')
            for (int I = 1; I <= Calc->M; ++I)
                Texts.push_back(F->InputA->Cells(I - 1, 1));
        if (Table == 'B')
            for (int J = 1; J <= Calc->N; ++J)
                Texts.push_back(F->InputB->Cells(J - 1, 1));
        if (Table == 'C')
            for (int I = 1; I <= Calc->M; ++I)
                for (int J = 1; J <= Calc->N; ++J)
                    Texts.push_back(F->InputC->Cells(J, I));
        return Texts;
    }

    // The lowest and highest value of a table, or -1 for a text that is not a plain number.
    static std::pair<int, int> Span(char Table) {
        int Low = 1 << 30, High = -1;
        for (const std::string& Text : Entries(Table)) {
            if (Text.empty() || Text.find_first_not_of("0123456789") != std::string::npos ||
                Text[0] == '0')
                return {-1, -1};
            Low = std::min(Low, std::stoi(Text));
            High = std::max(High, std::stoi(Text));
        }
        return {Low, High};
    }
};

TEST_F(RandomUnitTest, TheDialogShowsItsLayoutAndOkIsTheDefault) {
    TRandomForm* F = RandomForm;
    EXPECT_EQ(F->ARangeEdit->text(), "5");
    EXPECT_EQ(F->BRangeEdit->text(), "5");
    EXPECT_EQ(F->CRangeEdit->text(), "5");
    EXPECT_EQ(F->windowTitle(), "Kelvor - Randomize");
    EXPECT_EQ(F->size(), QSize(343, 117));
    EXPECT_EQ(F->minimumSize(), F->maximumSize());
    EXPECT_EQ(F->ARangeLabel->text(), "Maximum value of Stocks");
    EXPECT_EQ(F->BRangeLabel->text(), "Maximum value of Demands");
    EXPECT_EQ(F->CRangeLabel->text(), "Maximum value of Transpot Costs");
    // Sized to their texts: with the bitmap MS Sans Serif, at the layout's sizes.
    EXPECT_EQ(F->ARangeLabel->geometry(), QRect(8, 12, 121, 13));
    EXPECT_EQ(F->BRangeLabel->geometry(), QRect(8, 36, 133, 13));
    EXPECT_EQ(F->CRangeLabel->geometry(), QRect(8, 60, 159, 13));

    WhenModal(F, [F] {
        EXPECT_TRUE(WaitFor([F] { return F->ARangeEdit->hasFocus(); }));
        QTest::keyClick(F->ARangeEdit, Qt::Key_Tab);
        QTest::keyClick(F->BRangeEdit, Qt::Key_Tab);
        EXPECT_TRUE(F->CRangeEdit->hasFocus());
        QTest::keyClick(F->CRangeEdit, Qt::Key_Tab);
        EXPECT_TRUE(F->OkButton->hasFocus());
        QTest::keyClick(F->OkButton, Qt::Key_Tab);
        EXPECT_TRUE(F->CancelButton->hasFocus());
        F->ARangeEdit->setFocus();
        QTest::keyClick(F->ARangeEdit, Qt::Key_Escape);
        EXPECT_TRUE(F->isVisible());
        QTest::keyClick(F->ARangeEdit, Qt::Key_Return);
    });
    EXPECT_EQ(F->ShowModal(), mrOk);
    WhenModal(F, [F] { F->close(); });
    EXPECT_EQ(F->ShowModal(), mrCancel);
}

TEST_F(RandomUnitTest, AFillWritesWholeNumbersUpToEachMaximumAndNothingElse) {
    TInputABCForm* F = InputABCForm;
    Open(20, 30, [F] {
        F->InputC->SetLeftCol(7);
        SetMaxima("5", "5", "5");
        Randomize(&TRandomForm::OkButton);
        EXPECT_GE(Span('A').first, 1);
        EXPECT_LE(Span('A').second, 5);
        EXPECT_GE(Span('B').first, 1);
        EXPECT_LE(Span('B').second, 5);
        EXPECT_EQ(Span('C'), std::make_pair(1, 5));
        EXPECT_EQ(F->InputC->ColCount(), 31);
        EXPECT_EQ(F->InputC->Cells(30, 0), "30");
        EXPECT_EQ(F->InputC->Cells(0, 20), "20");
        EXPECT_EQ(F->InputC->Cells(0, 0), "");
        EXPECT_EQ(F->InputC->LeftCol(), 7);

        SetMaxima("1", "9999", "  +2");
        Randomize(&TRandomForm::OkButton);
        EXPECT_EQ(Span('A'), std::make_pair(1, 1));
        EXPECT_GT(Span('B').second, 5);
        EXPECT_LE(Span('B').second, 9999);
        EXPECT_EQ(Span('C'), std::make_pair(1, 2));
        Click(F->CancelButton);
    });
}

TEST_F(RandomUnitTest, EachBadMaximumFallsBackOnFiveAlone) {
    TInputABCForm* F = InputABCForm;
    Open(300, 300, [F] {
        for (const char* Bad : {"10000", "0", "-3", "", "x", "5 "}) {
            SetMaxima(Bad, "7", "9");
            Randomize(&TRandomForm::OkButton);
            EXPECT_EQ(Span('A'), std::make_pair(1, 5)) << Bad;
            EXPECT_EQ(Span('B'), std::make_pair(1, 7)) << Bad;
            EXPECT_EQ(Span('C'), std::make_pair(1, 9)) << Bad;
            EXPECT_EQ(RandomForm->ARangeEdit->text(), QString(Bad));
        }
        SetMaxima("8", "-1", "99999");
        Randomize(&TRandomForm::OkButton);
        EXPECT_EQ(Span('A'), std::make_pair(1, 8));
        EXPECT_EQ(Span('B'), std::make_pair(1, 5));
        EXPECT_EQ(Span('C'), std::make_pair(1, 5));
        Click(F->CancelButton);
    });
}

TEST_F(RandomUnitTest, CancelChangesNoCellButTheGeneratorIsSeeded) {
    TInputABCForm* F = InputABCForm;
    Open(3, 3, [F] {
        QTest::mouseClick(F->InputC->viewport(), Qt::LeftButton, {},
                          F->InputC->CellRect(2, 2).center());
        QTest::keyClicks(F->InputC->Editor(), "typed");
        RandomState = 0xFFFFFFFF;
        const std::uint32_t Before = UtcMillisecondsOfDay();
        const std::uint32_t During = Randomize(&TRandomForm::CancelButton);
        EXPECT_GE(RandomState, Before);
        EXPECT_LE(RandomState, During);
        EXPECT_EQ(F->InputC->Cells(2, 2), "typed");
        EXPECT_EQ(F->InputC->Editor()->text(), "typed");
        EXPECT_EQ(Span('A'), std::make_pair(-1, -1));
        Click(F->CancelButton);
    });
}

TEST_F(RandomUnitTest, TheNumbersFollowFromTheMillisecondOfTheSeedInDrawOrder) {
    TInputABCForm* F = InputABCForm;
    Open(4, 5, [F] {
        SetMaxima("50", "60", "70");
        const std::uint32_t Before = UtcMillisecondsOfDay();
        const std::uint32_t During = Randomize(&TRandomForm::OkButton);
        ASSERT_GE(During, Before);
        // Fills seeded in one millisecond write the same numbers: those drawn from that seed.
        int Matches = 0;
        for (std::uint32_t Seed = Before; Seed <= During; ++Seed) {
            RandomState = Seed;
            bool Same = true;
            for (auto [Table, Max] : {std::pair{'A', 50u}, {'B', 60u}, {'C', 70u}})
                for (const std::string& Text : Entries(Table))
                    Same = Same && Text == std::to_string(RandomBelow(Max) + 1);
            Matches += Same;
        }
        EXPECT_EQ(Matches, 1);
        Click(F->CancelButton);
    });
}

TEST_F(RandomUnitTest, TheStoreGetsTheNumbersOnlyWithOkOfTheEntryWindow) {
    TInputABCForm* F = InputABCForm;
    Calc->SetA(1, -7.0);
    Calc->SetC(2, 2, -7.0);
    Open(2, 2, [F] {
        SetMaxima("5", "5", "5");
        Randomize(&TRandomForm::OkButton);
        EXPECT_EQ(Calc->GetA(1), -7.0);
        Click(F->CancelButton);
    });
    EXPECT_EQ(Calc->GetA(1), -7.0);
    EXPECT_EQ(Calc->GetC(2, 2), -7.0);
    std::vector<std::string> Costs;
    Open(2, 2, [F, &Costs] {
        EXPECT_EQ(Span('C'), std::make_pair(-1, -1));
        Randomize(&TRandomForm::OkButton);
        Costs = Entries('C');
        Click(F->OkButton);
    });
    ASSERT_EQ(Costs.size(), 4u);
    EXPECT_EQ(Calc->GetC(1, 1), std::stod(Costs[0]));
    EXPECT_EQ(Calc->GetC(1, 2), std::stod(Costs[1]));
    EXPECT_EQ(Calc->GetC(2, 1), std::stod(Costs[2]));
    EXPECT_EQ(Calc->GetC(2, 2), std::stod(Costs[3]));
}

} // namespace
