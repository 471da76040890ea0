#include "EditHistory.h"

#include <algorithm>

void TEditHistory::Clear() {
    Done_.clear();
    Undone_.clear();
    Held_ = 0;
}

void TEditHistory::Add(std::vector<TChange>&& Step) {
    if (!Step.empty())
        Push({std::move(Step), false});
}

void TEditHistory::Type(TChange&& Change) {
    if (!Done_.empty() && Done_.back().Typing && Undone_.empty()) {
        TChange& Last = Done_.back().Changes.back();
        if (Last.Grid == Change.Grid && Last.Col == Change.Col && Last.Row == Change.Row) {
            Last.New = std::move(Change.New);
            return;
        }
    }
    std::vector<TChange> Step;
    Step.push_back(std::move(Change));
    Push({std::move(Step), true});
}

void TEditHistory::Push(TStep&& Step) {
    for (const TStep& Dropped : Undone_)
        Held_ -= Dropped.Changes.size();
    Undone_.clear();
    Held_ += Step.Changes.size();
    Done_.push_back(std::move(Step));
    // The newest step stays even when it alone is over the budget.
    while (Held_ > Budget_ && Done_.size() > 1) {
        Held_ -= Done_.front().Changes.size();
        Done_.pop_front();
    }
}

bool TEditHistory::Undo(const TApply& Apply) {
    const auto Changes = [](const TStep& Step) {
        return std::any_of(Step.Changes.begin(), Step.Changes.end(),
                           [](const TChange& Change) { return Change.Old != Change.New; });
    };
    // Typing that was taken back in the cell itself changed nothing.
    while (!Done_.empty() && !Changes(Done_.back())) {
        Held_ -= Done_.back().Changes.size();
        Done_.pop_back();
    }
    if (Done_.empty())
        return false;
    TStep Step = std::move(Done_.back());
    Done_.pop_back();
    for (auto Change = Step.Changes.rbegin(); Change != Step.Changes.rend(); ++Change)
        Apply(*Change, Change->Old);
    Step.Typing = false;
    Undone_.push_back(std::move(Step));
    return true;
}

bool TEditHistory::Redo(const TApply& Apply) {
    if (Undone_.empty())
        return false;
    TStep Step = std::move(Undone_.back());
    Undone_.pop_back();
    for (const TChange& Change : Step.Changes)
        Apply(Change, Change.New);
    Done_.push_back(std::move(Step));
    return true;
}
