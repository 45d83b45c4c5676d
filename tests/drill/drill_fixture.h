#pragma once

#include "drill/drill.h"
#include "fake_host.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <initializer_list>
#include <string>

// A deck of cards named by their questions, a drill over it and a recording host.
class DrillFixture : public ::testing::Test {
protected:
    static constexpr qint32 kToday = 40000;

    Deck deck;
    FakeDrillHost host;
    Drill drill{deck, host, FixedDayClock(kToday)};

    DrillFixture() { host.drill = &drill; }

    TMondaiSet *Add(const char *question, qint32 jikan = 0) {
        deck.AddCard(std::make_unique<TMondaiSet>(QByteArray(question), "a", "", jikan, 0, 0, ""));
        return deck.Cards().back().get();
    }
    void AddDue(std::initializer_list<const char *> questions) {
        for (const char *q : questions)
            Add(q);
    }
    // What opening the deck does: the due cards in deck order, then the drill start.
    void Open() {
        CardRefList due;
        for (const auto &card : deck.Cards())
            if (IsDue(*card, kToday))
                due.push_back(card.get());
        drill.TakeDueCards(std::move(due));
        drill.StartNewDeck();
        host.calls.clear();
    }
    TMondaiSet *Card(const char *question) const {
        for (const auto &card : deck.Cards())
            if (card->Mondai() == question)
                return card.get();
        return nullptr;
    }
    // Questions joined by spaces ("-" for an empty row).
    static std::string Names(const CardRefList &cards) {
        std::string names;
        for (const TMondaiSet *card : cards) {
            if (!names.empty())
                names += ' ';
            names += card ? card->Mondai().toStdString() : std::string("-");
        }
        return names;
    }
    std::string Queue() const { return Names(drill.Queue()); }
    std::string List() const {
        CardRefList cards;
        for (const auto &card : deck.Cards())
            cards.push_back(card.get());
        return Names(cards);
    }
    std::string Current() const { return Names({drill.Current()}); }
};
