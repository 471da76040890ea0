// The data-entry window's history of edits, for Undo and Redo. Each step is what one action
// changed across the grids - a paste, a random fill, a problem opened, the typing into one cell -
// with what every cell held before and after it, so that it is undone and redone whole.
//
// A step keeps its cells' places and texts packed, one list of places and two pools of texts,
// since a fill of the largest table changes 250,500 cells: a few megabytes a step rather than
// tens. Steps are kept, newest first, while their bytes stay within a budget: a few fills of the
// largest table fit, and the history never grows without bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TEditHistory {
public:
    // Writes Text into the cell of grid Grid at (Col, Row).
    using TApply = std::function<void(int Grid, int Col, int Row, std::string_view Text)>;

    explicit TEditHistory(std::size_t BudgetBytes) : Budget_(BudgetBytes) {}

    void Clear();

    // A keystroke's change of one cell: it joins the last step when that is the typing into the
    // same cell.
    void Type(int Grid, int Col, int Row, std::string_view Old, std::string_view New);

    // A step of many cells: Before for each cell with what it holds, After with what it holds
    // afterwards, the K-th After for the K-th Before (they may alternate), then End. Whatever
    // was undone can no longer be redone once a step is added. Cells, when known, is how many
    // there will be, so that the step takes its room at once.
    void Begin(std::size_t Cells = 0);
    void Before(int Grid, int Col, int Row, std::string_view Old);
    void After(std::string_view New);
    void End();

    // Puts the cells back as they were before the last step that changed anything, or as they
    // were after the step undone last; false when there is none.
    bool Undo(const TApply& Apply);
    bool Redo(const TApply& Apply);

private:
    struct TStep {
        std::vector<std::uint32_t> Places; // grid, column and row, packed
        std::vector<std::uint32_t> OldEnds, NewEnds;
        std::string Olds, News;
        bool Typing = false;
        std::size_t Bytes() const;
        std::string_view Old(std::size_t K) const;
        std::string_view New(std::size_t K) const;
        bool ChangesAnything() const;
    };
    void Push(TStep&& Step);
    static void Put(const TStep& Step, std::size_t K, std::string_view Text, const TApply& Apply);

    std::size_t Budget_;
    std::size_t Held_ = 0;
    std::deque<TStep> Done_;
    std::vector<TStep> Undone_;
    TStep Building_;
};
