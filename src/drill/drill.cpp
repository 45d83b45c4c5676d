#include "drill/drill.h"

#include <algorithm>
#include <chrono>
#include <unordered_set>

namespace {

std::mt19937 ClockSeededEngine() {
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    return std::mt19937(static_cast<std::mt19937::result_type>(ticks ^ (ticks >> 32)));
}

// How far past the last hit CardIndex looks before scanning the whole deck: in deck order the
// next card asked is usually close behind the previous one.
constexpr qsizetype kNearbyCards = 64;

// Where a returning card goes: in front of the card that followed it when that one is still
// there, else at its old index as far as the list now reaches.
template <typename List, typename Get>
qsizetype ReturnIndex(const List &list, const TMondaiSet *next, qsizetype oldIndex, Get get) {
    if (next) {
        const auto found = std::find_if(list.begin(), list.end(),
                                        [&](const auto &item) { return get(item) == next; });
        if (found != list.end())
            return found - list.begin();
    }
    return std::clamp<qsizetype>(oldIndex, 0, qsizetype(list.size()));
}

} // namespace

Drill::Drill(Deck &deck, DrillHost &host, DayClock today)
    : deck_(deck), host_(host), today_(std::move(today)), rng_(ClockSeededEngine()) {}

void Drill::ApplySettings(const DrillSettings &settings) {
    subRows_ = settings.subRows;
    jyun_ = settings.jyun;
    ApplyOrder();
    SetPattern(settings.pattern, settings.subRows);
    direction_ = settings.direction;
}

void Drill::SetDirection(DrillDirection direction) {
    if (direction_ == direction)
        return;
    direction_ = direction;
    SetPattern(pattern_, subRows_);
}

// ---------------------------------------------------------------- a newly opened deck

void Drill::TakeDueCards(CardRefList due) {
    askQueue_ = std::move(due);
}

void Drill::QueueAppended(const CardRefList &added) {
    askQueue_.insert(askQueue_.end(), added.begin(), added.end());
    AdoptCurrentCard();
}

void Drill::StartNewDeck() {
    current_ = nullptr;
    queuePos_ = 0;
    answerShown_ = false;
    doneFlag_ = false;
    indexHint_ = 0;
    deleted_.Clear();
    FindBookmark();
    if (answers_)
        answers_->DeckStarted();
    LimitNewCardsOfPass();
    ApplyOrder();
    Redraw();
}

void Drill::TellAnswer(AnswerKind kind, qint32 dueBefore) {
    if (answers_)
        answers_->CardAnswered(*current_, kind, dueBefore);
}

void Drill::KeepAfterMerge() {
    std::unordered_set<const TMondaiSet *> alive;
    alive.reserve(deck_.Cards().size());
    for (const auto &card : deck_.Cards())
        alive.insert(card.get());
    CardRefList queue;
    queue.reserve(deck_.Cards().size());
    int position = 0; // cards kept up to the current one
    for (qsizetype i = 0; i < qsizetype(askQueue_.size()); ++i) {
        if (!alive.contains(askQueue_[size_t(i)]))
            continue;
        queue.push_back(askQueue_[size_t(i)]);
        if (i < queuePos_)
            position = int(queue.size());
    }
    const std::unordered_set<const TMondaiSet *> queued(queue.begin(), queue.end());
    const qint32 today = Today();
    for (const auto &card : deck_.Cards())
        if (card->Jikan < today && !queued.contains(card.get()))
            queue.push_back(card.get());
    askQueue_ = std::move(queue);
    if (current_ && !alive.contains(current_)) {
        // The next card in the pass takes the place of one the merge took away.
        current_ = nullptr;
        answerShown_ = false;
        queuePos_ = position + 1;
    } else {
        queuePos_ = position;
    }
    indexHint_ = 0;
    deleted_.Clear();
    FindBookmark();
    Redraw();
}

void Drill::LimitNewCardsOfPass() {
    if (newCards_)
        LimitNewCards(askQueue_, newCards_->NewCardsLeft(Today()));
}

// ---------------------------------------------------------------- order and flow

void Drill::BuildQueueNormal() {
    const qint32 today = Today();
    askQueue_.clear();
    askQueue_.reserve(deck_.Cards().size());
    for (const auto &card : deck_.Cards()) {
        if (IsDue(*card, today))
            askQueue_.push_back(card.get());
    }
    LimitNewCardsOfPass();
}

void Drill::ShuffleQueue() {
    const std::size_t n = askQueue_.size();
    if (n < 2)
        return;
    // Each position swaps with any position, this one included.
    std::uniform_int_distribution<std::size_t> draw(0, n - 1);
    for (std::size_t i = 0; i < n; ++i)
        std::swap(askQueue_[i], askQueue_[draw(rng_)]);
}

void Drill::ApplyOrder() {
    if (jyun_ != 1)
        jyun_ = 0;
    host_.OrderApplied(jyun_);
    if (jyun_ == 0)
        BuildQueueNormal();
    else
        ShuffleQueue();
    BackToStart();
}

void Drill::SetOrder(int jyun) {
    if (jyun == jyun_)
        return;
    jyun_ = jyun;
    ApplyOrder();
}

void Drill::BackToStart() {
    if (DeckEmpty() || askQueue_.empty())
        return;
    answerShown_ = false;
    doneFlag_ = false;
    if (pattern_ == PatternSub) {
        queuePos_ = 0;
        current_ = nullptr;
    } else {
        queuePos_ = 1;
        current_ = askQueue_.front();
        current_->Jikan = 0;
    }
    host_.AutoSpeak();
    Redraw();
}

void Drill::AdvanceQueue() {
    if (queuePos_ >= qsizetype(askQueue_.size())) {
        if (jyun_ == 1)
            ShuffleQueue();
        BackToStart();
        return;
    }
    current_ = askQueue_[std::size_t(queuePos_)];
    ++queuePos_;
}

void Drill::StepBackQueue() {
    --queuePos_;
    if (queuePos_ < 0) {
        queuePos_ = int(askQueue_.size());
        if (jyun_ == 1)
            ShuffleQueue();
    }
}

void Drill::GoNext() {
    if (DeckEmpty())
        return;
    if (askQueue_.empty()) {
        current_ = nullptr;
        doneFlag_ = false;
        Redraw();
        if (host_.AskRestartStudy())
            ResetAll();
        return;
    }
    if (pattern_ == PatternMain && !answerShown_) {
        answerShown_ = true;
        Redraw();
        host_.AutoSpeak();
        return;
    }
    if (!doneFlag_ && current_ && current_ != bookmark_) {
        const qint32 dueBefore = current_->Jikan;
        MarkWrong(*current_);
        if (planner_) // the card stays in this pass; the due day counts if it is left there
            current_->Jikan = planner_->DueAfter(*current_, AnswerKind::Wrong, Today(), dueBefore);
        TellAnswer(AnswerKind::Wrong, dueBefore);
    }
    answerShown_ = false;
    doneFlag_ = false;
    AdvanceQueue();
    Redraw();
    host_.AutoSpeak();
}

void Drill::GoDone() {
    if (DeckEmpty() || !current_ || (pattern_ == PatternMain && !answerShown_))
        return;
    if (current_ == bookmark_) {
        host_.ShowBookmarkExempt();
        return;
    }
    const qint32 dueBefore = current_->Jikan;
    MarkRight(*current_, Today());
    if (planner_)
        current_->Jikan = planner_->DueAfter(*current_, AnswerKind::Right, Today(), dueBefore);
    TellAnswer(AnswerKind::Right, dueBefore);
    if (!doneFlag_) {
        // The current card normally sits at queuePos_; after a card was inserted in front of it
        // it sits one further on. Either way it is this card that leaves the pass, and queuePos_
        // keeps naming the card before the next one.
        const qsizetype at = QueueIndex(current_);
        if (at >= 0) {
            askQueue_.erase(askQueue_.begin() + at);
            if (at < queuePos_)
                --queuePos_;
        }
    }
    doneFlag_ = true;
    Redraw();
}

void Drill::GoUndo() {
    if (DeckEmpty() || !current_ || (pattern_ == PatternMain && !answerShown_) ||
        current_ == bookmark_)
        return;
    const qint32 dueBefore = current_->Jikan;
    if (!UndoRight(*current_))
        return;
    TellAnswer(AnswerKind::TakenBack, dueBefore);
    if (doneFlag_) {
        const qsizetype at = std::clamp<qsizetype>(queuePos_, 0, qsizetype(askQueue_.size()));
        askQueue_.insert(askQueue_.begin() + at, current_);
        queuePos_ = int(at) + 1;
    }
    doneFlag_ = false;
    Redraw();
}

void Drill::ResetAllCommand() {
    if (DeckEmpty())
        return;
    if (host_.ConfirmResetAll())
        ResetAll();
}

void Drill::ResetAll() {
    ResetAllTimes(deck_.Cards());
    askQueue_.clear();
    askQueue_.reserve(deck_.Cards().size());
    for (const auto &card : deck_.Cards())
        askQueue_.push_back(card.get());
    LimitNewCardsOfPass();
    BackToStart();
}

void Drill::Redraw() {
    AdoptCurrentCard();
    host_.RefreshView();
}

void Drill::AdoptCurrentCard() {
    if (!current_ && queuePos_ >= 1 && queuePos_ <= qsizetype(askQueue_.size()))
        current_ = askQueue_[std::size_t(queuePos_ - 1)];
}

void Drill::SetPattern(DisplayPatternKind pattern, int subRows) {
    pattern_ = pattern;
    subRows_ = std::clamp(subRows, 2, 5);
    if (pattern == PatternMain)
        answerShown_ = false;
}

void Drill::HideAnswer() {
    if (pattern_ == PatternMain)
        answerShown_ = false;
}

// ---------------------------------------------------------------- what the view shows

TMondaiSet *Drill::CardOfRow(int row) const {
    if (row <= 1)
        return current_;
    const qsizetype at = qsizetype(queuePos_) + row - 2; // 0-based
    if (at < 0 || at >= qsizetype(askQueue_.size()))
        return nullptr;
    return askQueue_[std::size_t(at)];
}

qsizetype Drill::CurrentCardNumber() const {
    return CardNumber(current_);
}

qsizetype Drill::CardNumber(const TMondaiSet *card) const {
    return CardIndex(card) + 1;
}

qsizetype Drill::CardIndex(const TMondaiSet *card) const {
    if (!card)
        return -1;
    const CardOwnerList &cards = deck_.Cards();
    const qsizetype n = qsizetype(cards.size());
    const qsizetype nearbyEnd = std::min(n, std::max<qsizetype>(indexHint_, 0) + kNearbyCards);
    for (qsizetype i = std::max<qsizetype>(indexHint_, 0); i < nearbyEnd; ++i) {
        if (cards[std::size_t(i)].get() == card)
            return indexHint_ = i;
    }
    const auto found = std::find_if(cards.begin(), cards.end(),
                                    [card](const auto &owned) { return owned.get() == card; });
    if (found == cards.end())
        return -1;
    return indexHint_ = found - cards.begin();
}

qsizetype Drill::QueueIndex(const TMondaiSet *card) const {
    const qsizetype n = qsizetype(askQueue_.size());
    // Look where the drill stands first: the current card and the one after it.
    for (qsizetype i = queuePos_ - 1; i <= queuePos_; ++i) {
        if (i >= 0 && i < n && askQueue_[std::size_t(i)] == card)
            return i;
    }
    const auto found = std::find(askQueue_.begin(), askQueue_.end(), card);
    return found == askQueue_.end() ? -1 : found - askQueue_.begin();
}

// ---------------------------------------------------------------- bookmarks

void Drill::FindBookmark() {
    bookmark_ = nullptr;
    for (TMondaiSet *card : askQueue_) {
        if (HasSioriMark(*card)) {
            bookmark_ = card;
            return;
        }
    }
}

void Drill::SetBookmark(TMondaiSet *target) {
    if (!target)
        return;
    if (bookmark_)
        ClearBookmark();
    AddSioriMark(*target);
    bookmark_ = target;
    Redraw();
}

void Drill::ClearBookmark() {
    if (!bookmark_)
        return;
    RemoveSioriMark(*bookmark_);
    bookmark_ = nullptr;
    Redraw();
}

void Drill::MoveToBookmark() {
    if (!bookmark_)
        return;
    const qsizetype at = QueueIndex(bookmark_);
    if (at < 0) {
        host_.BookmarkNotInQueue();
        return;
    }
    current_ = bookmark_;
    queuePos_ = int(at) + 1;
    answerShown_ = true;
    doneFlag_ = false;
    Redraw();
}

void Drill::AfterQuestionEdit(TMondaiSet *card) {
    if (!card)
        return;
    const bool marked = HasSioriMark(*card);
    if (card == bookmark_ && !marked) {
        ClearBookmark();
    } else if (marked && bookmark_ && bookmark_ != card) {
        ClearBookmark();
        bookmark_ = card;
    }
}

// ---------------------------------------------------------------- adding

bool Drill::InsertCard(std::unique_ptr<TMondaiSet> card, InsertPosition position,
                       bool moveAfterAdding, CardTarget target) {
    if (!card || DeckEmpty() || askQueue_.empty())
        return false;
    const Placement place = PlaceNewCard(position, target);
    TMondaiSet *added = card.get();
    deck_.InsertCard(place.listIndex, std::move(card));
    if (indexHint_ >= place.listIndex)
        ++indexHint_;
    askQueue_.insert(askQueue_.begin() + place.queueIndex, added);
    FixUpAfterInsert(position, moveAfterAdding, target);
    Redraw();
    return true;
}

Drill::Placement Drill::PlaceNewCard(InsertPosition position, CardTarget target) const {
    const qsizetype listEnd = qsizetype(deck_.Cards().size());
    const qsizetype queueEnd = qsizetype(askQueue_.size());
    if (position == InsertFirst || (position == InsertCurrent && !current_))
        return {0, 0};
    if (position == InsertLast)
        return {listEnd, queueEnd};

    if (target.list) {
        if (target.popupRow < 1) {
            const qsizetype inQueue = QueueIndex(current_);
            return {CardIndex(current_), inQueue >= 0 ? inQueue : queueEnd};
        }
        const qsizetype listIndex = std::min(qsizetype(target.popupRow) - 1, listEnd);
        return {listIndex, QueueIndexFromListRow(listIndex)};
    }
    if (target.row <= 1) {
        const qsizetype at = doneFlag_ ? queuePos_ : queuePos_ - 1;
        return {CardIndex(current_), std::clamp<qsizetype>(at, 0, queueEnd)};
    }
    // Sub row k: in front of the card shown there (or at the end when the row is empty).
    const TMondaiSet *shown = CardOfRow(target.row);
    const qsizetype at = qsizetype(queuePos_) + target.row - 2;
    return {shown ? CardIndex(shown) : listEnd, std::clamp<qsizetype>(at, 0, queueEnd)};
}

qsizetype Drill::QueueIndexFromListRow(qsizetype listIndex) const {
    const std::unordered_set<const TMondaiSet *> queued(askQueue_.begin(), askQueue_.end());
    const CardOwnerList &cards = deck_.Cards();
    for (auto it = cards.begin() + listIndex; it != cards.end(); ++it) {
        if (queued.contains(it->get()))
            return QueueIndex(it->get());
    }
    return qsizetype(askQueue_.size());
}

void Drill::FixUpAfterInsert(InsertPosition position, bool moveAfterAdding, CardTarget target) {
    if (!moveAfterAdding) {
        if (position != InsertCurrent || target.list)
            return;
        if (target.row == 0) {
            // The new card becomes current, shown with its answer; the next すすめ goes on to
            // the card that was current before.
            if (doneFlag_)
                AdvanceQueue();
            current_ = nullptr;
            answerShown_ = true;
            doneFlag_ = false;
        } else if (target.row == 1 && doneFlag_) {
            TMondaiSet *const kept = current_;
            AdvanceQueue();
            current_ = kept;
        }
        return;
    }
    if (position == InsertFirst) {
        BackToStart();
    } else if (position == InsertLast) {
        queuePos_ = int(askQueue_.size()) - 1;
        current_ = nullptr;
        // The card that becomes current has not been answered yet.
        answerShown_ = false;
        doneFlag_ = false;
    }
}

// ---------------------------------------------------------------- deleting

bool Drill::DeleteCard(CardTarget target) {
    if (DeckEmpty())
        return false;
    DeletedCard record;
    record.before = Spot();
    TMondaiSet *doomed = TakeDeleteTarget(target);
    if (!doomed)
        return false;
    const bool subRow = !target.list && target.row >= 2;
    if (doomed == current_) {
        // A sub row can show the current card too (after a card was inserted in front of it).
        current_ = nullptr;
        answerShown_ = false;
        doneFlag_ = false;
    } else if (!subRow) {
        answerShown_ = false;
        doneFlag_ = false;
    }
    record.heldBookmark = doomed == bookmark_;
    if (record.heldBookmark)
        bookmark_ = nullptr;
    record.card = RemoveCard(doomed, record);
    const bool kept = record.card != nullptr;
    if (kept)
        deleted_.Push(std::move(record));
    Redraw();
    if (kept)
        deleted_.Newest().after = Spot();
    return true;
}

TMondaiSet *Drill::TakeDeleteTarget(CardTarget target) {
    if (target.list) {
        if (target.popupRow >= 1) {
            if (target.popupRow > qsizetype(deck_.Cards().size()))
                return nullptr;
            current_ = nullptr;
            return deck_.Cards()[std::size_t(target.popupRow - 1)].get();
        }
        TMondaiSet *doomed = current_;
        if (!doomed)
            return nullptr;
        current_ = nullptr;
        StepBackQueue();
        return doomed;
    }
    if (target.row >= 2)
        return CardOfRow(target.row);
    TMondaiSet *doomed = current_;
    if (!doomed)
        return nullptr;
    current_ = nullptr;
    if (target.row == 0 && doneFlag_)
        AdvanceQueue();
    else if (target.row == 1 && !doneFlag_)
        StepBackQueue();
    return doomed;
}

std::unique_ptr<TMondaiSet> Drill::RemoveCard(TMondaiSet *card, DeletedCard &record) {
    const qsizetype inQueue = QueueIndex(card);
    record.inPass = inQueue >= 0;
    if (record.inPass) {
        record.passIndex = inQueue;
        const std::size_t next = std::size_t(inQueue) + 1;
        record.nextInPass = next < askQueue_.size() ? askQueue_[next] : nullptr;
        askQueue_.erase(askQueue_.begin() + inQueue);
    }
    const qsizetype at = CardIndex(card);
    if (at < 0)
        return nullptr;
    record.deckIndex = at;
    const std::size_t next = std::size_t(at) + 1;
    record.nextInDeck = next < deck_.Cards().size() ? deck_.Cards()[next].get() : nullptr;
    std::unique_ptr<TMondaiSet> owned = deck_.TakeCard(at);
    if (indexHint_ > at)
        --indexHint_;
    return owned;
}

DrillSpot Drill::Spot() const {
    return {current_, queuePos_, answerShown_, doneFlag_, askQueue_.size(), int(pattern_)};
}

// ---------------------------------------------------------------- taking a delete back

TMondaiSet *Drill::TakeBackDelete() {
    DeletedCard entry = deleted_.Pop();
    if (!entry.card)
        return nullptr;
    TMondaiSet *card = entry.card.get();
    PutBack(entry, Spot() == entry.after);
    Redraw();
    return card;
}

void Drill::PutBack(DeletedCard &entry, bool drillUnmoved) {
    TMondaiSet *card = entry.card.get();
    const qsizetype listAt =
        ReturnIndex(deck_.Cards(), entry.nextInDeck, entry.deckIndex,
                    [](const std::unique_ptr<TMondaiSet> &owned) { return owned.get(); });
    deck_.InsertCard(listAt, std::move(entry.card));
    if (indexHint_ >= listAt)
        ++indexHint_;
    if (entry.inPass) {
        const qsizetype queueAt = ReturnIndex(askQueue_, entry.nextInPass, entry.passIndex,
                                              [](TMondaiSet *queued) { return queued; });
        askQueue_.insert(askQueue_.begin() + queueAt, card);
        // The drill keeps its card when it has moved on since the delete.
        if (!drillUnmoved && queueAt < queuePos_)
            ++queuePos_;
    }
    if (entry.heldBookmark && !bookmark_)
        bookmark_ = card;
    if (drillUnmoved) {
        current_ = entry.before.currentCard;
        queuePos_ = entry.before.queuePos;
        answerShown_ = entry.before.answerShown;
        doneFlag_ = entry.before.doneFlag;
    }
}
