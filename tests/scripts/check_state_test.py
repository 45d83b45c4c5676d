#!/usr/bin/env python3
"""The state checker passes owners that keep their state private and fails each way of writing it
from outside."""
import sys

from checker_cases import checker_path, run_cases

CHECKER = checker_path("check_state")

DECK = """class Deck {
public:
    const Cards &Cards() const { return cards_; } // a comment; int Fake = 0;
    void AddCard(int card) { cards_.push_back(card); }
    static constexpr int kMax = 5;
    using Row = int;
    enum class Kind { A, B };
private:
    friend void ParseDeck(Deck &deck);
    Cards cards_ = {};
};
"""
DRILL = """struct DrillSettings { int jyun = 0; };
class Drill {
public:
    explicit Drill(Deck &deck);
    int Jyun() const { return jyun_; }
    void ApplySettings(const DrillSettings &settings);
private:
    friend class DrillStateForTests;
    int jyun_ = 0;
    std::function<void()> redraw_;
};
"""
CLEAN = {"deck/deck.h": DECK, "deck/parse.cpp": "void ParseDeck(Deck &deck) {\n}",
         "drill/drill.h": DRILL, "app/window.cpp": "int Order(const Drill &d) { return d.Jyun(); }"}


def tree(**changes):
    files = dict(CLEAN)
    files.update({path.replace("__", "/").replace("_dot_", "."): text
                  for path, text in changes.items()})
    return files


# Each case: files of a small src/ tree, and a text the report must hold (None: must pass).
CASES = [
    ("private state, accessors, a friend of the room and a test-side one", tree(), None),
    ("a public field in the drill",
     tree(drill__drill_dot_h=DRILL.replace("public:\n", "public:\n    int Jyun = 0;\n")),
     "drill/drill.h: Drill has a public data member: int Jyun = 0;"),
    ("a field of a struct deck",
     tree(deck__deck_dot_h="struct Deck {\n    QString DeckFileName;\n};"),
     "deck/deck.h: Deck has a public data member: QString DeckFileName;"),
    ("a field made public after the private part",
     tree(drill__drill_dot_h=DRILL.replace("    int jyun_ = 0;\n", "public:\n    int jyun_;\n")),
     "Drill has a public data member: int jyun_;"),
    ("the window befriended by the drill",
     tree(drill__drill_dot_h=DRILL.replace("friend class DrillStateForTests;",
                                           "friend class TForm1;"),
          app__tform1_dot_h="class TForm1 : public QMainWindow {\n};"),
     "drill/drill.h: Drill befriends TForm1, defined in app/tform1.h"),
    ("a function of another room befriended by the deck",
     tree(deck__deck_dot_h=DECK.replace("ParseDeck", "ImportCards"),
          exchange__card_import_dot_cpp="void ImportCards(Deck &deck) {\n}"),
     "Deck befriends ImportCards, defined in exchange/card_import.cpp"),
    ("the queue's const cast away",
     tree(app__window_dot_cpp="void F(Drill &d) { const_cast<CardRefList &>(d.Queue()).clear(); }"),
     "app/window.cpp:1: casts away the const"),
    ("a const deck cast away",
     tree(view__list_dot_cpp="void F(const Deck &d) {\n    const_cast<Deck &>(d).AddCard(1);\n}"),
     "view/list.cpp:2: casts away the const"),
]


if __name__ == "__main__":
    sys.exit(run_cases(CHECKER, CASES))
