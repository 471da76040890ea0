#include "EditHistory.h"

namespace {

// Rows and columns of a grid are below 1024, and there are at most four grids.
std::uint32_t Pack(int Grid, int Col, int Row) {
    return std::uint32_t(Grid) << 20 | std::uint32_t(Col) << 10 | std::uint32_t(Row);
}

} // namespace

std::size_t TEditHistory::TStep::Bytes() const {
    return sizeof(TStep) + (Places.capacity() + OldEnds.capacity() + NewEnds.capacity()) * 4 +
           Olds.capacity() + News.capacity();
}

std::string_view TEditHistory::TStep::Old(std::size_t K) const {
    const std::uint32_t From = K == 0 ? 0 : OldEnds[K - 1];
    return std::string_view(Olds).substr(From, OldEnds[K] - From);
}

std::string_view TEditHistory::TStep::New(std::size_t K) const {
    const std::uint32_t From = K == 0 ? 0 : NewEnds[K - 1];
    return std::string_view(News).substr(From, NewEnds[K] - From);
}

bool TEditHistory::TStep::ChangesAnything() const {
    for (std::size_t K = 0; K < Places.size(); ++K)
        if (Old(K) != New(K))
            return true;
    return false;
}

void TEditHistory::Clear() {
    Done_.clear();
    Undone_.clear();
    Held_ = 0;
}

void TEditHistory::Type(int Grid, int Col, int Row, std::string_view Old, std::string_view New) {
    const std::uint32_t Place = Pack(Grid, Col, Row);
    if (!Done_.empty() && Done_.back().Typing && Undone_.empty() &&
        Done_.back().Places.back() == Place) {
        TStep& Last = Done_.back();
        Held_ -= Last.Bytes();
        Last.News.assign(New);
        Last.NewEnds.back() = std::uint32_t(Last.News.size());
        Held_ += Last.Bytes();
        return;
    }
    Begin();
    Before(Grid, Col, Row, Old);
    After(New);
    Building_.Typing = true;
    End();
}

void TEditHistory::Begin(std::size_t Cells) {
    Building_ = TStep();
    Building_.Places.reserve(Cells);
    Building_.OldEnds.reserve(Cells);
    Building_.NewEnds.reserve(Cells);
}

void TEditHistory::Before(int Grid, int Col, int Row, std::string_view Old) {
    Building_.Places.push_back(Pack(Grid, Col, Row));
    Building_.Olds.append(Old);
    Building_.OldEnds.push_back(std::uint32_t(Building_.Olds.size()));
}

void TEditHistory::After(std::string_view New) {
    Building_.News.append(New);
    Building_.NewEnds.push_back(std::uint32_t(Building_.News.size()));
}

void TEditHistory::End() {
    if (!Building_.Places.empty() && Building_.NewEnds.size() == Building_.Places.size())
        Push(std::move(Building_));
    Building_ = TStep();
}

void TEditHistory::Push(TStep&& Step) {
    for (const TStep& Dropped : Undone_)
        Held_ -= Dropped.Bytes();
    Undone_.clear();
    Held_ += Step.Bytes();
    Done_.push_back(std::move(Step));
    // The newest step stays even when it alone is over the budget.
    while (Held_ > Budget_ && Done_.size() > 1) {
        Held_ -= Done_.front().Bytes();
        Done_.pop_front();
    }
}

void TEditHistory::Put(const TStep& Step, std::size_t K, std::string_view Text,
                       const TApply& Apply) {
    const std::uint32_t Place = Step.Places[K];
    Apply(int(Place >> 20), int(Place >> 10 & 1023), int(Place & 1023), Text);
}

bool TEditHistory::Undo(const TApply& Apply) {
    // Typing that was taken back in the cell itself changed nothing.
    while (!Done_.empty() && !Done_.back().ChangesAnything()) {
        Held_ -= Done_.back().Bytes();
        Done_.pop_back();
    }
    if (Done_.empty())
        return false;
    TStep Step = std::move(Done_.back());
    Done_.pop_back();
    for (std::size_t K = Step.Places.size(); K-- > 0;)
        Put(Step, K, Step.Old(K), Apply);
    Step.Typing = false;
    Undone_.push_back(std::move(Step));
    return true;
}

bool TEditHistory::Redo(const TApply& Apply) {
    if (Undone_.empty())
        return false;
    TStep Step = std::move(Undone_.back());
    Undone_.pop_back();
    for (std::size_t K = 0; K < Step.Places.size(); ++K)
        Put(Step, K, Step.New(K), Apply);
    Done_.push_back(std::move(Step));
    return true;
}
