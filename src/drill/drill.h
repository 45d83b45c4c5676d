#pragma once

#include "deck/deck.h"
#include "drill/answer_observer.h"
#include "drill/day_number.h"
#include "drill/delete_history.h"
#include "drill/drill_direction.h"
#include "drill/drill_host.h"
#include "drill/new_cards.h"
#include "drill/scheduling.h"

#include <random>

enum DisplayPatternKind { PatternMain = 0, PatternSub = 1, PatternList = 2 };

// Where an add or delete command points: a card-view row (0 main view, 1-5 sub rows) or the
// list view with the row its context menu was opened on (-1 for none).
struct CardTarget {
    bool list = false;
    int row = 0;       // card-view row, when !list
    int popupRow = -1; // grid row (1-based card number), when list
    static CardTarget Row(int r) { return {false, r, -1}; }
    static CardTarget List(int popup) { return {true, 0, popup}; }
};

// What the settings file decides in the drill.
struct DrillSettings {
    int jyun = 0; // 0 deck order, 1 random
    DisplayPatternKind pattern = PatternMain;
    int subRows = 5;
    DrillDirection direction = DrillDirection::QuestionFirst;
};

enum InsertPosition { InsertFirst = 0, InsertCurrent = 1, InsertLast = 2 };

// The state of one pass over the due cards and every command that moves it.
class Drill {
public:
    Drill(Deck &deck, DrillHost &host, DayClock today = TodayNumber);

    // --- state, read only: every change goes through the operations below ---
    const CardRefList &Queue() const { return askQueue_; } // cards still to be asked in this pass
    // 1-based position of Current() in Queue(); 0 = before the first.
    int QueuePos() const { return queuePos_; }
    TMondaiSet *Current() const { return current_; }
    bool AnswerShown() const { return answerShown_; }
    bool DoneFlag() const { return doneFlag_; }
    TMondaiSet *BookmarkCard() const { return bookmark_; }
    int Jyun() const { return jyun_; } // 0 deck order, 1 random
    DisplayPatternKind DisplayPattern() const { return pattern_; }
    int SubRows() const { return subRows_; }
    DrillDirection Direction() const { return direction_; } // which side is asked

    void SetRandomEngine(std::mt19937 engine) { rng_ = engine; }
    // Who hears of every できた, pass and take-back (null: nobody).
    void SetAnswerObserver(AnswerObserver *observer) { answers_ = observer; }
    AnswerObserver *Observer() const { return answers_; }
    // Who limits the new cards of each pass (null: no limit).
    void SetNewCardAllowance(NewCardAllowance *allowance) { newCards_ = allowance; }
    // Who gives the due day of a できた instead of the standard rule (null: the standard rule).
    void SetRestPlanner(RestPlanner *planner) { planner_ = planner; }
    qint32 Today() const { return today_(); }

    // Everything the settings file decides in the drill, applied once as the window starts.
    void ApplySettings(const DrillSettings &settings);
    // The other side becomes the one asked; its answer is hidden again, as on a new pattern.
    void SetDirection(DrillDirection direction);

    // --- a newly opened deck: the parser's due cards, in file order, then the start ---
    void TakeDueCards(CardRefList due);
    void StartNewDeck();
    // Cards appended to the deck join the end of the pass.
    void QueueAppended(const CardRefList &added);

    // --- the deck's cards replaced by a merge: the pass keeps the cards still there, in its
    // order, and the current one when it is; cards now due join at the end ---
    void KeepAfterMerge();

    // --- order and flow ---
    void BuildQueueNormal();
    void ShuffleQueue();
    void ApplyOrder();
    void SetOrder(int jyun); // menu: nothing when already that order
    void BackToStart();
    void AdvanceQueue();
    void StepBackQueue();
    void GoNext();
    void GoDone();
    void GoUndo();
    void ResetAllCommand(); // asks the host, then resets
    void ResetAll();        // every card due, queue = all cards in deck order, BackToStart
    // Switching the display pattern: keeps the pass; the main pattern hides the answer again.
    // Does not redraw: the window lays out the new pattern first.
    void SetPattern(DisplayPatternKind pattern, int subRows);
    // The main pattern asks the current card's question again (a layout shown anew).
    void HideAnswer();

    // --- what the view shows ---
    // The card shown in card-view row `row` (0/1: CurrentCard; 2-5: QueuePos + row - 1), or null.
    TMondaiSet *CardOfRow(int row) const;
    // 1-based number of CurrentCard in the deck, 0 without one.
    qsizetype CurrentCardNumber() const;
    qsizetype CardNumber(const TMondaiSet *card) const; // 1-based, 0 when absent
    bool DeckEmpty() const { return deck_.Cards().empty(); }

    // --- bookmarks ---
    void FindBookmark();
    void SetBookmark(TMondaiSet *target);
    void ClearBookmark();
    void MoveToBookmark();
    // After the user changed a card's question by hand.
    void AfterQuestionEdit(TMondaiSet *card);

    // --- adding and deleting ---
    // Inserts `card` (new, due) per the placement table and fix-ups; false when nothing was added
    // (empty deck or empty queue).
    bool InsertCard(std::unique_ptr<TMondaiSet> card, InsertPosition position, bool moveAfterAdding,
                    CardTarget target);
    // Deletes the target's card per the deletion table; false when nothing changed. The card
    // is kept in the delete history so that the delete can be taken back.
    bool DeleteCard(CardTarget target);
    // Takes back the newest delete: the card returns with its texts and record to its place in
    // the deck, to its place in the pass if it was in it, and to the bookmark if it held it and
    // no other card holds one now. When the drill has not moved since the delete, it stands
    // where it stood before the delete. Returns the card, or null when there is nothing to take
    // back. Opening a deck forgets every delete.
    TMondaiSet *TakeBackDelete();
    bool CanTakeBackDelete() const { return !deleted_.Empty(); }

private:
    friend class DrillStateForTests; // tests/support: odd states set up directly

    // With no current card, the card at QueuePos becomes it (1 <= QueuePos <= queue length):
    // every step that leaves the drill without one ends here, so a redraw only reads.
    void AdoptCurrentCard();
    // The drill's steps end here: adopt, then let the window draw what they left.
    void Redraw();

    // 0-based index of `card` in CardList / AskQueue, -1 when absent.
    qsizetype CardIndex(const TMondaiSet *card) const;
    qsizetype QueueIndex(const TMondaiSet *card) const;
    // Where a new card goes: CardList index and 0-based AskQueue index (size = append).
    struct Placement {
        qsizetype listIndex;
        qsizetype queueIndex;
    };
    Placement PlaceNewCard(InsertPosition position, CardTarget target) const;
    qsizetype QueueIndexFromListRow(qsizetype listIndex) const;
    void FixUpAfterInsert(InsertPosition position, bool moveAfterAdding, CardTarget target);
    // The card a delete command points at; also moves the drill off it as the table says.
    TMondaiSet *TakeDeleteTarget(CardTarget target);
    // Takes `card` out of both lists, noting in `record` where it stood.
    std::unique_ptr<TMondaiSet> RemoveCard(TMondaiSet *card, DeletedCard &record);
    DrillSpot Spot() const;
    void PutBack(DeletedCard &entry, bool drillUnmoved);

    void TellAnswer(AnswerKind kind, qint32 dueBefore);
    void LimitNewCardsOfPass();

    Deck &deck_;
    DrillHost &host_;
    AnswerObserver *answers_ = nullptr;
    NewCardAllowance *newCards_ = nullptr;
    RestPlanner *planner_ = nullptr;
    DayClock today_;
    std::mt19937 rng_;
    mutable qsizetype indexHint_ = 0; // where CardIndex last found a card
    DeleteHistory deleted_;

    CardRefList askQueue_;
    int queuePos_ = 0;
    TMondaiSet *current_ = nullptr;
    bool answerShown_ = false;
    bool doneFlag_ = false;
    TMondaiSet *bookmark_ = nullptr;
    int jyun_ = 0;
    DisplayPatternKind pattern_ = PatternMain;
    int subRows_ = 5;
    DrillDirection direction_ = DrillDirection::QuestionFirst;
};
