#include "StepReport.h"

#include "CalcUnit.h"
#include "Problems.h"
#include "StepRecord.h"
#include "ThreadUnit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

int Count(const std::string& Text, const std::string& Part) {
    int Found = 0;
    for (auto At = Text.find(Part); At != std::string::npos; At = Text.find(Part, At + 1))
        ++Found;
    return Found;
}

// The markup of each cell of the first table after Marker, row by row.
std::vector<std::vector<std::string>> TableAfter(const std::string& Html,
                                                 const std::string& Marker) {
    const auto Begin = Html.find("<table", Html.find(Marker)), End = Html.find("</table>", Begin);
    std::vector<std::vector<std::string>> Rows;
    for (auto Row = Html.find("<tr>", Begin); Row < End; Row = Html.find("<tr>", Row + 1)) {
        Rows.emplace_back();
        for (auto Cell = Html.find("<t", Row + 1); Cell < Html.find("</tr>", Row);
             Cell = Html.find("<t", Cell + 1))
            Rows.back().push_back(Html.substr(Cell, Html.find("</t", Cell) - Cell));
    }
    return Rows;
}

class StepReport : public testing::Test {
protected:
    void SetUp() override { Calc = Store_.get(); }
    void TearDown() override { Calc = nullptr; }

    // The report of a whole calculation, checked for what every page must be.
    std::string Report(const TProblem& Problem, const std::string& Name = "") {
        LoadProblem(*Calc, Problem);
        Outcome_ = RunCalculation(nullptr, {TStart::NorthWest, &Record_}).Outcome;
        std::string Html = StepReportHtml(Record_, Outcome_, Name);
        EXPECT_EQ(Count(Html, "<h2>Step "), Record_.Pivots() + 1);
        EXPECT_EQ(Html.rfind("<!DOCTYPE html>\n<html lang=\"en\">", 0), 0u);
        EXPECT_EQ(Count(Html, "<title>"), 1);
        EXPECT_NE(Html.find("@media print"), std::string::npos);
        for (const char* Outside : {"<script", "src=", "href=", "<link", "url(", "@import"})
            EXPECT_EQ(Count(Html, Outside), 0) << Outside;
        for (const auto& [Open, Close] : {std::pair{"<table", "</table>"},
                                          {"<caption>", "</caption>"},
                                          {"<section", "</section>"},
                                          {"<tr>", "</tr>"},
                                          {"<td", "</td>"},
                                          {"<th scope=\"", "</th>"},
                                          {"<dl", "</dl>"}})
            EXPECT_EQ(Count(Html, Open), Count(Html, Close)) << Open;
        EXPECT_EQ(Count(Html, "<table"), Count(Html, "<caption>"));
        return Html;
    }

    std::unique_ptr<TCalc> Store_ = std::make_unique<TCalc>();
    TStepRecord Record_;
    TOutcome Outcome_ = TOutcome::Failed;
};

const TProblem& Small = HandWorked;

// The hand-worked steps, cell by cell.
TEST_F(StepReport, SmallTableausShowEveryCellWhereItBelongs) {
    const std::string Html = Report(Small);
    ASSERT_EQ(Record_.Pivots(), 2);
    const struct {
        int Step, Row, Col;
        const char* Shows;
    } Cells[] = {{0, 1, 1, "<b>10</b>"},
                 {0, 1, 1, "#1"},
                 {0, 1, 1, "\u22122"},
                 {0, 2, 1, "&Delta;-5"},
                 {0, 2, 1, "+1"},
                 {0, 2, 1, "class=\"in\""},
                 {0, 2, 2, "class=\"b out\""},
                 {0, 2, 3, "#4"},
                 {0, 1, 3, "&Delta;3"},
                 {0, 2, 4, ">6"},
                 {0, 3, 3, ">7"},
                 {1, 2, 2, "&Delta;5"},
                 {1, 1, 3, "+1"},
                 {2, 2, 4, ">3"},
                 {2, 1, 1, "&Delta;2"}};
    for (const auto& Cell : Cells) {
        const auto Rows = TableAfter(Html, "id=\"step-" + std::to_string(Cell.Step) + "\"");
        ASSERT_EQ(Rows.size(), 4u);
        EXPECT_NE(Rows[Cell.Row][Cell.Col].find(Cell.Shows), std::string::npos)
            << "step " << Cell.Step << " (" << Cell.Row << ", " << Cell.Col << ") "
            << Rows[Cell.Row][Cell.Col];
    }
    for (const char* Text : {"<dd>cell (2, 1), &Delta; = -5</dd>", "<dt>&theta;</dt><dd>5</dd>",
                             "<dt>Leaves</dt><dd>cell (2, 2)</dd>", "Total cost: 430.",
                             "this plan is optimal", "<h2>The optimum</h2>"})
        EXPECT_NE(Html.find(Text), std::string::npos) << Text;
}

TEST_F(StepReport, LargeProblemsListTheStepsBetweenTwoWholeTableaus) {
    const std::string Html = Report(RandomProblem(4, 25, 22, 40));
    const int Pivots = Record_.Pivots();
    ASSERT_GT(Pivots, 3);
    EXPECT_EQ(Count(Html, "<table class=\"tableau\">"), 2);
    EXPECT_EQ(TableAfter(Html, "id=\"step-0\"").size(), std::size_t(Record_.Problem().M) + 2);
    const auto Last = Html.find("id=\"step-" + std::to_string(Pivots) + "\"");
    EXPECT_EQ(Html.find("<table class=\"tableau\">", Html.find("id=\"step-1\"")),
              Html.find("<table class=\"tableau\">", Last));
    EXPECT_EQ(Count(Html, "<h3>Pivot "), Pivots);
    EXPECT_EQ(Count(Html, "Total cost: "), Pivots + 1);
}

TEST_F(StepReport, SaysHowTheRunEndedAndEscapesTheName) {
    const std::string Html =
        Report(TProblem(2, 3, {30, 25}, {10, 25, 15}, {8, 6, 10, 9, 12, 13}), "<Plan & \"B\">");
    EXPECT_NE(Html.find("&lt;Plan &amp; &quot;B&quot;&gt;"), std::string::npos);
    EXPECT_EQ(Html.find("<Plan"), std::string::npos);
    EXPECT_NE(Html.find("a dummy consumer, column 4"), std::string::npos);
    EXPECT_NE(TableAfter(Html, "id=\"step-0\"")[0][4].find("dummy"), std::string::npos);
    const struct {
        TOutcome Outcome;
        const char* Says;
    } Ends[] = {{TOutcome::Looping, "&quot;Looping&quot;"},
                {TOutcome::Aborted, "was aborted after "},
                {TOutcome::Failed, "failed after "}};
    for (const auto& End : Ends)
        EXPECT_NE(StepReportHtml(Record_, End.Outcome, "").find(End.Says), std::string::npos);
    Record_.Clear();
    EXPECT_NE(StepReportHtml(Record_, TOutcome::Failed, "").find("Nothing was recorded"),
              std::string::npos);
}

} // namespace
