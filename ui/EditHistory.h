// The data-entry window's history of edits, for Undo and Redo. Each step is what one action
// changed across the grids - a paste, a random fill, the typing into one cell - with what every
// cell held before and after it, so that it is undone and redone whole. Steps are kept, newest
// first, while the changes they hold stay within a budget: a few fills of the largest table fit,
// and the history never grows without bound.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class TEditHistory {
public:
    struct TChange {
        int Grid;
        int Col;
        int Row;
        std::string Old;
        std::string New;
    };
    // Writes Text into the cell of Change.
    using TApply = std::function<void(const TChange& Change, const std::string& Text)>;

    explicit TEditHistory(std::size_t Budget) : Budget_(Budget) {}

    void Clear();
    // A step of its own: a paste or a fill. Whatever was undone can no longer be redone.
    void Add(std::vector<TChange>&& Step);
    // A keystroke's change of one cell: it joins the last step when that is the typing into the
    // same cell.
    void Type(TChange&& Change);

    // Puts the cells back as they were before the last step that changed anything, or as they
    // were after the step undone last; false when there is none.
    bool Undo(const TApply& Apply);
    bool Redo(const TApply& Apply);

private:
    struct TStep {
        std::vector<TChange> Changes;
        bool Typing = false;
    };
    void Push(TStep&& Step);

    std::size_t Budget_;
    std::size_t Held_ = 0;
    std::deque<TStep> Done_;
    std::vector<TStep> Undone_;
};
