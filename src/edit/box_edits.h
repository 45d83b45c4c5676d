#pragma once

#include <QObject>

#include <functional>

class CardView;
class Drill;
class TMondaiSet;
class TMyMemo;

// Typing in a card box changes the card it shows: each edit is stored in the card at once, and
// the box shows what was stored (a character the deck cannot hold is dropped and named in the
// status line).
class BoxEdits : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void(TMondaiSet *)> cardEdited; // the find bar's index follows
        std::function<void()> mediaChanged;           // a reference typed or dropped shows at once
        std::function<void(const QString &)> showStatus;
    };
    // Edits are ignored while `suppressEdits` is set: the cells are being filled then.
    BoxEdits(const CardView &cells, Drill &drill, bool &suppressEdits, Hooks hooks,
             QObject *parent);

private:
    void Store(TMyMemo *memo);

    Drill &drill_;
    bool &suppressEdits_;
    Hooks hooks_;
};
