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

// ---------------------------------------------------------------- a newly opened deck

void Drill::StartNewDeck() {
    CurrentCard = nullptr;
    QueuePos = 0;
    AnswerShown = false;
    DoneFlag = false;
    indexHint_ = 0;
    deleted_.Clear();
    FindBookmark();
    if (answers_)
        answers_->DeckStarted();
    LimitNewCardsOfPass();
    ApplyOrder();
    host_.RefreshView();
}

void Drill::TellAnswer(AnswerKind kind, qint32 dueBefore) {
    if (answers_)
        answers_->CardAnswered(*CurrentCard, kind, dueBefore);
}

void Drill::KeepAfterMerge() {
    std::unordered_set<const TMondaiSet *> alive;
    alive.reserve(deck_.CardList.size());
    for (const auto &card : deck_.CardList)
        alive.insert(card.get());
    CardRefList queue;
    queue.reserve(deck_.CardList.size());
    int position = 0; // cards kept up to the current one
    for (qsizetype i = 0; i < qsizetype(AskQueue.size()); ++i) {
        if (!alive.contains(AskQueue[size_t(i)]))
            continue;
        queue.push_back(AskQueue[size_t(i)]);
        if (i < QueuePos)
            position = int(queue.size());
    }
    const std::unordered_set<const TMondaiSet *> queued(queue.begin(), queue.end());
    const qint32 today = Today();
    for (const auto &card : deck_.CardList)
        if (card->Jikan < today && !queued.contains(card.get()))
            queue.push_back(card.get());
    AskQueue = std::move(queue);
    if (CurrentCard && !alive.contains(CurrentCard)) {
        // The next card in the pass takes the place of one the merge took away.
        CurrentCard = nullptr;
        AnswerShown = false;
        QueuePos = position + 1;
    } else {
        QueuePos = position;
    }
    indexHint_ = 0;
    deleted_.Clear();
    FindBookmark();
    host_.RefreshView();
}

void Drill::LimitNewCardsOfPass() {
    if (newCards_)
        LimitNewCards(AskQueue, newCards_->NewCardsLeft(Today()));
}

// ---------------------------------------------------------------- order and flow

void Drill::BuildQueueNormal() {
    const qint32 today = Today();
    AskQueue.clear();
    AskQueue.reserve(deck_.CardList.size());
    for (const auto &card : deck_.CardList) {
        if (IsDue(*card, today))
            AskQueue.push_back(card.get());
    }
    LimitNewCardsOfPass();
}

void Drill::ShuffleQueue() {
    const std::size_t n = AskQueue.size();
    if (n < 2)
        return;
    // Each position swaps with any position, this one included.
    std::uniform_int_distribution<std::size_t> draw(0, n - 1);
    for (std::size_t i = 0; i < n; ++i)
        std::swap(AskQueue[i], AskQueue[draw(rng_)]);
}

void Drill::ApplyOrder() {
    if (Jyun != 1)
        Jyun = 0;
    host_.OrderApplied(Jyun);
    if (Jyun == 0)
        BuildQueueNormal();
    else
        ShuffleQueue();
    BackToStart();
}

void Drill::SetOrder(int jyun) {
    if (jyun == Jyun)
        return;
    Jyun = jyun;
    ApplyOrder();
}

void Drill::BackToStart() {
    if (DeckEmpty() || AskQueue.empty())
        return;
    AnswerShown = false;
    DoneFlag = false;
    if (DisplayPattern == PatternSub) {
        QueuePos = 0;
        CurrentCard = nullptr;
    } else {
        QueuePos = 1;
        CurrentCard = AskQueue.front();
        CurrentCard->Jikan = 0;
    }
    host_.AutoSpeak();
    host_.RefreshView();
}

void Drill::AdvanceQueue() {
    if (QueuePos >= qsizetype(AskQueue.size())) {
        if (Jyun == 1)
            ShuffleQueue();
        BackToStart();
        return;
    }
    CurrentCard = AskQueue[std::size_t(QueuePos)];
    ++QueuePos;
}

void Drill::StepBackQueue() {
    --QueuePos;
    if (QueuePos < 0) {
        QueuePos = int(AskQueue.size());
        if (Jyun == 1)
            ShuffleQueue();
    }
}

void Drill::GoNext() {
    if (DeckEmpty())
        return;
    if (AskQueue.empty()) {
        CurrentCard = nullptr;
        DoneFlag = false;
        host_.RefreshView();
        if (host_.AskRestartStudy())
            ResetAll();
        return;
    }
    if (DisplayPattern == PatternMain && !AnswerShown) {
        AnswerShown = true;
        host_.RefreshView();
        host_.AutoSpeak();
        return;
    }
    if (!DoneFlag && CurrentCard && CurrentCard != BookmarkCard) {
        const qint32 dueBefore = CurrentCard->Jikan;
        MarkWrong(*CurrentCard);
        if (planner_) // the card stays in this pass; the due day counts if it is left there
            CurrentCard->Jikan =
                planner_->DueAfter(*CurrentCard, AnswerKind::Wrong, Today(), dueBefore);
        TellAnswer(AnswerKind::Wrong, dueBefore);
    }
    AnswerShown = false;
    DoneFlag = false;
    AdvanceQueue();
    host_.RefreshView();
    host_.AutoSpeak();
}

void Drill::GoDone() {
    if (DeckEmpty() || !CurrentCard || (DisplayPattern == PatternMain && !AnswerShown))
        return;
    if (CurrentCard == BookmarkCard) {
        host_.ShowBookmarkExempt();
        return;
    }
    const qint32 dueBefore = CurrentCard->Jikan;
    MarkRight(*CurrentCard, Today());
    if (planner_)
        CurrentCard->Jikan =
            planner_->DueAfter(*CurrentCard, AnswerKind::Right, Today(), dueBefore);
    TellAnswer(AnswerKind::Right, dueBefore);
    if (!DoneFlag) {
        // The current card normally sits at QueuePos; after a card was inserted in front of it
        // it sits one further on. Either way it is this card that leaves the pass, and QueuePos
        // keeps naming the card before the next one.
        const qsizetype at = QueueIndex(CurrentCard);
        if (at >= 0) {
            AskQueue.erase(AskQueue.begin() + at);
            if (at < QueuePos)
                --QueuePos;
        }
    }
    DoneFlag = true;
    host_.RefreshView();
}

void Drill::GoUndo() {
    if (DeckEmpty() || !CurrentCard || (DisplayPattern == PatternMain && !AnswerShown) ||
        CurrentCard == BookmarkCard)
        return;
    const qint32 dueBefore = CurrentCard->Jikan;
    if (!UndoRight(*CurrentCard))
        return;
    TellAnswer(AnswerKind::TakenBack, dueBefore);
    if (DoneFlag) {
        const qsizetype at = std::clamp<qsizetype>(QueuePos, 0, qsizetype(AskQueue.size()));
        AskQueue.insert(AskQueue.begin() + at, CurrentCard);
        QueuePos = int(at) + 1;
    }
    DoneFlag = false;
    host_.RefreshView();
}

void Drill::ResetAllCommand() {
    if (DeckEmpty())
        return;
    if (host_.ConfirmResetAll())
        ResetAll();
}

void Drill::ResetAll() {
    ResetAllTimes(deck_.CardList);
    AskQueue.clear();
    AskQueue.reserve(deck_.CardList.size());
    for (const auto &card : deck_.CardList)
        AskQueue.push_back(card.get());
    LimitNewCardsOfPass();
    BackToStart();
}

void Drill::AdoptCurrentCard() {
    if (!CurrentCard && QueuePos >= 1 && QueuePos <= qsizetype(AskQueue.size()))
        CurrentCard = AskQueue[std::size_t(QueuePos - 1)];
}

void Drill::SetPattern(DisplayPatternKind pattern, int subRows) {
    DisplayPattern = pattern;
    SubRows = std::clamp(subRows, 2, 5);
    if (pattern == PatternMain)
        AnswerShown = false;
}

// ---------------------------------------------------------------- what the view shows

TMondaiSet *Drill::CardOfRow(int row) const {
    if (row <= 1)
        return CurrentCard;
    const qsizetype at = qsizetype(QueuePos) + row - 2; // 0-based
    if (at < 0 || at >= qsizetype(AskQueue.size()))
        return nullptr;
    return AskQueue[std::size_t(at)];
}

qsizetype Drill::CurrentCardNumber() const {
    return CardNumber(CurrentCard);
}

qsizetype Drill::CardNumber(const TMondaiSet *card) const {
    return CardIndex(card) + 1;
}

qsizetype Drill::CardIndex(const TMondaiSet *card) const {
    if (!card)
        return -1;
    const CardOwnerList &cards = deck_.CardList;
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
    const qsizetype n = qsizetype(AskQueue.size());
    // Look where the drill stands first: the current card and the one after it.
    for (qsizetype i = QueuePos - 1; i <= QueuePos; ++i) {
        if (i >= 0 && i < n && AskQueue[std::size_t(i)] == card)
            return i;
    }
    const auto found = std::find(AskQueue.begin(), AskQueue.end(), card);
    return found == AskQueue.end() ? -1 : found - AskQueue.begin();
}

// ---------------------------------------------------------------- bookmarks

void Drill::FindBookmark() {
    BookmarkCard = nullptr;
    for (TMondaiSet *card : AskQueue) {
        if (HasSioriMark(*card)) {
            BookmarkCard = card;
            return;
        }
    }
}

void Drill::SetBookmark(TMondaiSet *target) {
    if (!target)
        return;
    if (BookmarkCard)
        ClearBookmark();
    AddSioriMark(*target);
    BookmarkCard = target;
    host_.RefreshView();
}

void Drill::ClearBookmark() {
    if (!BookmarkCard)
        return;
    RemoveSioriMark(*BookmarkCard);
    BookmarkCard = nullptr;
    host_.RefreshView();
}

void Drill::MoveToBookmark() {
    if (!BookmarkCard)
        return;
    const qsizetype at = QueueIndex(BookmarkCard);
    if (at < 0) {
        host_.BookmarkNotInQueue();
        return;
    }
    CurrentCard = BookmarkCard;
    QueuePos = int(at) + 1;
    AnswerShown = true;
    DoneFlag = false;
    host_.RefreshView();
}

void Drill::AfterQuestionEdit(TMondaiSet *card) {
    if (!card)
        return;
    const bool marked = HasSioriMark(*card);
    if (card == BookmarkCard && !marked) {
        ClearBookmark();
    } else if (marked && BookmarkCard && BookmarkCard != card) {
        ClearBookmark();
        BookmarkCard = card;
    }
}

// ---------------------------------------------------------------- adding

bool Drill::InsertCard(std::unique_ptr<TMondaiSet> card, InsertPosition position,
                       bool moveAfterAdding, CardTarget target) {
    if (!card || DeckEmpty() || AskQueue.empty())
        return false;
    const Placement place = PlaceNewCard(position, target);
    TMondaiSet *added = card.get();
    deck_.CardList.insert(deck_.CardList.begin() + place.listIndex, std::move(card));
    if (indexHint_ >= place.listIndex)
        ++indexHint_;
    AskQueue.insert(AskQueue.begin() + place.queueIndex, added);
    FixUpAfterInsert(position, moveAfterAdding, target);
    host_.RefreshView();
    return true;
}

Drill::Placement Drill::PlaceNewCard(InsertPosition position, CardTarget target) const {
    const qsizetype listEnd = qsizetype(deck_.CardList.size());
    const qsizetype queueEnd = qsizetype(AskQueue.size());
    if (position == InsertFirst || (position == InsertCurrent && !CurrentCard))
        return {0, 0};
    if (position == InsertLast)
        return {listEnd, queueEnd};

    if (target.list) {
        if (target.popupRow < 1) {
            const qsizetype inQueue = QueueIndex(CurrentCard);
            return {CardIndex(CurrentCard), inQueue >= 0 ? inQueue : queueEnd};
        }
        const qsizetype listIndex = std::min(qsizetype(target.popupRow) - 1, listEnd);
        return {listIndex, QueueIndexFromListRow(listIndex)};
    }
    if (target.row <= 1) {
        const qsizetype at = DoneFlag ? QueuePos : QueuePos - 1;
        return {CardIndex(CurrentCard), std::clamp<qsizetype>(at, 0, queueEnd)};
    }
    // Sub row k: in front of the card shown there (or at the end when the row is empty).
    const TMondaiSet *shown = CardOfRow(target.row);
    const qsizetype at = qsizetype(QueuePos) + target.row - 2;
    return {shown ? CardIndex(shown) : listEnd, std::clamp<qsizetype>(at, 0, queueEnd)};
}

qsizetype Drill::QueueIndexFromListRow(qsizetype listIndex) const {
    const std::unordered_set<const TMondaiSet *> queued(AskQueue.begin(), AskQueue.end());
    const CardOwnerList &cards = deck_.CardList;
    for (auto it = cards.begin() + listIndex; it != cards.end(); ++it) {
        if (queued.contains(it->get()))
            return QueueIndex(it->get());
    }
    return qsizetype(AskQueue.size());
}

void Drill::FixUpAfterInsert(InsertPosition position, bool moveAfterAdding, CardTarget target) {
    if (!moveAfterAdding) {
        if (position != InsertCurrent || target.list)
            return;
        if (target.row == 0) {
            // The new card becomes current, shown with its answer; the next すすめ goes on to
            // the card that was current before.
            if (DoneFlag)
                AdvanceQueue();
            CurrentCard = nullptr;
            AnswerShown = true;
            DoneFlag = false;
        } else if (target.row == 1 && DoneFlag) {
            TMondaiSet *const kept = CurrentCard;
            AdvanceQueue();
            CurrentCard = kept;
        }
        return;
    }
    if (position == InsertFirst) {
        BackToStart();
    } else if (position == InsertLast) {
        QueuePos = int(AskQueue.size()) - 1;
        CurrentCard = nullptr;
        // The card that becomes current has not been answered yet.
        AnswerShown = false;
        DoneFlag = false;
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
    if (doomed == CurrentCard) {
        // A sub row can show the current card too (after a card was inserted in front of it).
        CurrentCard = nullptr;
        AnswerShown = false;
        DoneFlag = false;
    } else if (!subRow) {
        AnswerShown = false;
        DoneFlag = false;
    }
    record.heldBookmark = doomed == BookmarkCard;
    if (record.heldBookmark)
        BookmarkCard = nullptr;
    record.card = RemoveCard(doomed, record);
    const bool kept = record.card != nullptr;
    if (kept)
        deleted_.Push(std::move(record));
    host_.RefreshView();
    if (kept)
        deleted_.Newest().after = Spot();
    return true;
}

TMondaiSet *Drill::TakeDeleteTarget(CardTarget target) {
    if (target.list) {
        if (target.popupRow >= 1) {
            if (target.popupRow > qsizetype(deck_.CardList.size()))
                return nullptr;
            CurrentCard = nullptr;
            return deck_.CardList[std::size_t(target.popupRow - 1)].get();
        }
        TMondaiSet *doomed = CurrentCard;
        if (!doomed)
            return nullptr;
        CurrentCard = nullptr;
        StepBackQueue();
        return doomed;
    }
    if (target.row >= 2)
        return CardOfRow(target.row);
    TMondaiSet *doomed = CurrentCard;
    if (!doomed)
        return nullptr;
    CurrentCard = nullptr;
    if (target.row == 0 && DoneFlag)
        AdvanceQueue();
    else if (target.row == 1 && !DoneFlag)
        StepBackQueue();
    return doomed;
}

std::unique_ptr<TMondaiSet> Drill::RemoveCard(TMondaiSet *card, DeletedCard &record) {
    const qsizetype inQueue = QueueIndex(card);
    record.inPass = inQueue >= 0;
    if (record.inPass) {
        record.passIndex = inQueue;
        const std::size_t next = std::size_t(inQueue) + 1;
        record.nextInPass = next < AskQueue.size() ? AskQueue[next] : nullptr;
        AskQueue.erase(AskQueue.begin() + inQueue);
    }
    const qsizetype at = CardIndex(card);
    if (at < 0)
        return nullptr;
    record.deckIndex = at;
    const std::size_t next = std::size_t(at) + 1;
    record.nextInDeck = next < deck_.CardList.size() ? deck_.CardList[next].get() : nullptr;
    std::unique_ptr<TMondaiSet> owned = std::move(deck_.CardList[std::size_t(at)]);
    deck_.CardList.erase(deck_.CardList.begin() + at);
    if (indexHint_ > at)
        --indexHint_;
    return owned;
}

DrillSpot Drill::Spot() const {
    return {CurrentCard, QueuePos, AnswerShown, DoneFlag, AskQueue.size(), int(DisplayPattern)};
}

// ---------------------------------------------------------------- taking a delete back

TMondaiSet *Drill::TakeBackDelete() {
    DeletedCard entry = deleted_.Pop();
    if (!entry.card)
        return nullptr;
    TMondaiSet *card = entry.card.get();
    PutBack(entry, Spot() == entry.after);
    host_.RefreshView();
    return card;
}

void Drill::PutBack(DeletedCard &entry, bool drillUnmoved) {
    TMondaiSet *card = entry.card.get();
    const qsizetype listAt =
        ReturnIndex(deck_.CardList, entry.nextInDeck, entry.deckIndex,
                    [](const std::unique_ptr<TMondaiSet> &owned) { return owned.get(); });
    deck_.CardList.insert(deck_.CardList.begin() + listAt, std::move(entry.card));
    if (indexHint_ >= listAt)
        ++indexHint_;
    if (entry.inPass) {
        const qsizetype queueAt = ReturnIndex(AskQueue, entry.nextInPass, entry.passIndex,
                                              [](TMondaiSet *queued) { return queued; });
        AskQueue.insert(AskQueue.begin() + queueAt, card);
        // The drill keeps its card when it has moved on since the delete.
        if (!drillUnmoved && queueAt < QueuePos)
            ++QueuePos;
    }
    if (entry.heldBookmark && !BookmarkCard)
        BookmarkCard = card;
    if (drillUnmoved) {
        CurrentCard = entry.before.currentCard;
        QueuePos = entry.before.queuePos;
        AnswerShown = entry.before.answerShown;
        DoneFlag = entry.before.doneFlag;
    }
}
