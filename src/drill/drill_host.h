#pragma once

// What the drill asks of the window around it, in the order the drill needs it.
class DrillHost {
public:
    virtual ~DrillHost() = default;
    virtual void RefreshView() = 0;
    // The speech trigger for a newly shown question or answer.
    virtual void AutoSpeak() = 0;
    // End of study: true when the user chose to start over ("はい").
    virtual bool AskRestartStudy() = 0;
    // The reset-all confirmation: true for "はい".
    virtual bool ConfirmResetAll() = 0;
    // できた on the bookmarked card.
    virtual void ShowBookmarkExempt() = 0;
    // A jump to the bookmark found its card outside the queue; nothing changed.
    virtual void BookmarkNotInQueue() = 0;
    // The question order changed (tick the matching menu item).
    virtual void OrderApplied(int jyun) = 0;
};
