// The results window: the calculation time, the total transport cost, the plan, and for an
// unbalanced problem what the dummy supplier or consumer received. Filled from the store at
// every showing; filling takes the dummy row or column out of the store's size again.
#pragma once

#include "StringGrid.h"
#include "Toolkit.h"

#include <string>
#include <vector>

class TAnswerForm : public TForm {
public:
    TAnswerForm();

    TPanel* ButtonsPanel;
    TSpeedButton* SaveButton;
    TButton* OkButton;
    TButton* StepsButton;
    TGroupBox* AddBox;
    TStringGrid* AddGrid;
    TPanel* SumPanel;
    TLabel* SumLabel;
    TLabel* TimeLabel;
    TStaticText* SumText;
    TStaticText* TimeText;
    TGroupBox* AnswerBox;
    TStringGrid* AnswerGrid;

    void FormShow();
    void FormResize();
    void OkButtonClick();
    // The calculation step by step, in the Steps window.
    void StepsButtonClick();
    // The result to a CSV file.
    void SaveButtonClick();
    // Reads Calc and decrements its M (a dummy supplier) or N (a dummy consumer): run it once
    // per calculation.
    void FillResults();

    // The whole result as Ctrl+C copies it, for a spreadsheet: the calculation time and the total
    // cost, each beside its label, then the plan under its title with the consumers' and the
    // suppliers' numbers as headers, then the unused stocks or unmet demands when shown, a blank
    // line between the parts. Numbers carry no padding. The plain text is tab-separated with the
    // full stop as the decimal point, as the program reads numbers back; the HTML table takes the
    // decimal mark of the user's region, by which spreadsheets read HTML numbers.
    std::string ResultText() const;
    std::string ResultHtml() const;
    void CopyResult() const;
    // The result as Save writes it, comma separated: the plan with the stocks as its last column
    // and the demands as its last row, beside them the unused stocks or below them the unmet
    // demands when shown, and the total cost; the numbers as the window shows them, unpadded.
    std::string ResultCsv() const;

private:
    // The numbers the last filling showed.
    struct TShown {
        std::string Time;
        double Cost = 0.0;
        std::vector<double> Plan; // M x N, row by row
        // The unmet demands (BalanceKind 1) or the unused stocks (2); none for a balanced problem.
        int ExtraKind = 0;
        std::vector<double> Extra;
        std::vector<double> Stocks, Demands;

        int M() const { return int(Stocks.size()); }
        int N() const { return int(Demands.size()); }
        // Rows and columns from 1.
        double X(int I, int J) const {
            return Plan[std::size_t(I - 1) * Demands.size() + std::size_t(J - 1)];
        }
    } Shown_;
    struct TResultCell {
        std::string Text;
        bool Header;
    };
    std::vector<std::vector<TResultCell>> ResultRows(const std::string& Decimal) const;
};

extern TAnswerForm* AnswerForm;
