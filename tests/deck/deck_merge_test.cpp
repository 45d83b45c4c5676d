#include "deck/deck_merge.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>

namespace {

// A deck written as tokens: `q` is a card whose question is q (answer qA, no note, no record),
// `q=s/f/j` or `q=s/f/j/h` one with right and wrong counts, due day and history.
CardOwnerList Cards(const char *tokens) {
    CardOwnerList cards;
    for (const QString &token : QString::fromLatin1(tokens).split(u' ', Qt::SkipEmptyParts)) {
        const QStringList parts = token.split(u'=');
        const QByteArray q = parts[0].toLatin1();
        const QStringList r =
            parts.size() > 1
                ? parts[1].split(u'/')
                : QStringList{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
        cards.push_back(std::make_unique<TMondaiSet>(
            q, q + "A", QByteArray(), r[2].toInt(), r[0].toInt(), r[1].toInt(),
            r.size() > 3 ? r[3].toLatin1() : QByteArray()));
    }
    return cards;
}

QString Token(const TMondaiSet &card) {
    QString token = QString::fromLatin1(card.Mondai());
    if (card.Kaitou() != card.Mondai() + "A")
        token += u'~' + QString::fromLatin1(card.Kaitou());
    if (card.Seikai || card.Fuseikai || card.Jikan || !card.Rireki().isEmpty())
        token += QStringLiteral("=%1/%2/%3").arg(card.Seikai).arg(card.Fuseikai).arg(card.Jikan);
    if (!card.Rireki().isEmpty())
        token += u'/' + QString::fromLatin1(card.Rireki());
    return token;
}

// The merged deck as tokens, the cards the user is told of marked with "!".
QStringList Tokens(const MergeResult &merged) {
    QStringList out;
    for (size_t i = 0; i < merged.cards.size(); ++i) {
        const bool listed =
            std::count(merged.conflicts.begin(), merged.conflicts.end(), qsizetype(i)) > 0;
        out << (listed ? QStringLiteral("!") : QString()) + Token(*merged.cards[i]);
    }
    return out;
}

// Whether `tokens` read as `expected`, where the cards of a brace group come in any order.
bool Matches(QStringList tokens, const QString &expected) {
    QString rest = expected.trimmed();
    qsizetype at = 0;
    while (!rest.isEmpty()) {
        const bool group = rest.startsWith(u'{');
        const qsizetype end = group ? rest.indexOf(u'}') + 1 : rest.indexOf(u' ');
        const QString part = end < 0 ? rest : rest.left(end);
        rest = end < 0 ? QString() : rest.mid(end).trimmed();
        QStringList want = QString(part).remove(u'{').remove(u'}').split(u' ', Qt::SkipEmptyParts);
        if (at + want.size() > tokens.size())
            return false;
        QStringList got = tokens.mid(at, want.size());
        want.sort();
        got.sort();
        if (want != got)
            return false;
        at += want.size();
    }
    return at == tokens.size();
}

// base nullptr: no base, the two-way rule.
MergeResult Merge(const char *base, const char *ours, const char *theirs) {
    CardOwnerList o = Cards(ours);
    CardOwnerList t = Cards(theirs);
    if (!base)
        return MergeDecks(nullptr, o, t);
    const MergeBase b = MergeBase::Of(Cards(base));
    return MergeDecks(&b, o, t);
}

struct MergeCase {
    const char *name;
    const char *base; // nullptr: no base, the two-way rule
    const char *ours;
    const char *theirs;
    const char *merged;
    qsizetype fromTheirs;
};

const MergeCase kCases[] = {
    {"nothing changed", "a b c", "a b c", "a b c", "a b c", 0},
    {"theirs unchanged gives ours", "a b c", "a x b=1/0/9 d", "a b c", "a x b=1/0/9 d", 0},
    {"ours unchanged gives theirs", "a b c", "a b c", "c=0/1/4 a y", "c=0/1/4 a y", 2},
    {"record changed on one side", "a=0/0/100 b", "a=1/0/105/o b", "a=0/0/100 b", "a=1/0/105/o b",
     0},
    {"records changed on both sides add up the answers", "a=1/1/100/b b", "a=3/1/110/oob b",
     "a=1/2/105/tb b", "a=3/2/105/oob b", 1},
    {"the same answer given on both sides counts twice", "a=1/0/100/o b", "a=2/0/105/oo b",
     "a=2/0/105/oo b", "a=3/0/105/oo b", 1},
    {"their history wins with more new answers", "a=1/1/100/b", "a=2/1/110/ob", "a=1/3/120/ttb",
     "a=2/3/110/ttb", 1},
    {"text edited on one side, record on the other", "a b c", "a B c", "a b=1/0/5 c", "a B=1/0/5 c",
     1},
    {"text edited the same on both sides", "a b", "a X", "a X", "a X", 0},
    {"texts edited apart keep both", "a b c", "a X c", "a Y c", "a {!X !Y} c", 1},
    {"edited on one side, deleted on the other", "a b c", "a c", "a B c", "a !B c", 1},
    {"answered on one side, deleted on the other", "a b", "a", "a b=1/0/5", "a !b=1/0/5", 1},
    {"deleted on one side, unchanged on the other", "a b c", "a c", "a b c", "a c", 0},
    {"deleted on both sides", "a b c", "a c", "a c", "a c", 0},
    {"inserts at the same place on both sides", "a c", "a x c", "a y c", "a {x y} c", 1},
    {"inserts at both ends", "a", "x a", "a y", "x a y", 1},
    {"moved on one side, answered on the other", "a b c", "c a b", "a b=1/0/5 c", "c a b=1/0/5", 1},
    {"duplicates match by occurrence", "a a a", "a a=1/0/5 a", "a a a=0/1/6", "a a=1/0/5 a=0/1/6",
     1},
    {"a duplicate deleted", "a a", "a", "a=1/0/5 a", "a=1/0/5", 1},
    {"empty base", "", "a", "b", "{a b}", 1},
    {"all empty", "", "", "", "", 0},
    {"the other side emptied, ours answered", "a b", "a=1/0/3 b", "", "!a=1/0/3", 0},
    {"two-way: records take the larger counts and the earlier day", nullptr, "a=2/0/10/oo b",
     "a=1/3/8/tttt b", "a=2/3/8/tttt b", 1},
    {"two-way: cards on one side only are kept", nullptr, "x a", "a y", "x a y", 1},
    {"two-way: texts apart at one place are listed", nullptr, "a b", "a c", "a {!b !c}", 1},
    {"two-way: same decks", nullptr, "a b=1/0/3", "a b=1/0/3", "a b=1/0/3", 0},
};

TEST(DeckMerge, CasesGiveTheSameDeckWhicheverSideIsOurs) {
    for (const MergeCase &c : kCases) {
        SCOPED_TRACE(c.name);
        const char *b = c.base;
        const MergeResult merged = Merge(b, c.ours, c.theirs);
        EXPECT_TRUE(Matches(Tokens(merged), QString::fromLatin1(c.merged)))
            << Tokens(merged).join(u' ').toStdString();
        EXPECT_EQ(merged.fromTheirs, c.fromTheirs);
        // The same inputs give the same deck, in the same order, either way round.
        EXPECT_EQ(Tokens(Merge(b, c.ours, c.theirs)), Tokens(merged));
        EXPECT_EQ(Tokens(Merge(b, c.theirs, c.ours)), Tokens(merged));
    }
}

TEST(DeckMerge, KeepsTheCardsOfOursItTakes) {
    CardOwnerList ours = Cards("a b c");
    CardOwnerList theirs = Cards("a b=1/0/5 c d");
    const TMondaiSet *b = ours[1].get();
    const MergeBase base = MergeBase::Of(Cards("a b c"));
    const MergeResult merged = MergeDecks(&base, ours, theirs);
    ASSERT_EQ(merged.cards.size(), 4u);
    EXPECT_EQ(merged.cards[1].get(), b);
    EXPECT_EQ(b->Seikai, 1);
}

TEST(DeckMerge, BaseReadsBackFromItsBytesAndRefusesOthers) {
    const MergeBase base = MergeBase::Of(Cards("a=1/2/3/h b"));
    const std::optional<MergeBase> back = MergeBase::FromBytes(base.ToBytes());
    ASSERT_TRUE(back);
    ASSERT_EQ(back->cards.size(), 2u);
    EXPECT_EQ(back->cards[0].texts, base.cards[0].texts);
    EXPECT_EQ(back->cards[0].history, base.cards[0].history);
    EXPECT_EQ(back->cards[0].fuseikai, 2);
    EXPECT_FALSE(MergeBase::FromBytes(base.ToBytes().chopped(1)));
    EXPECT_FALSE(MergeBase::FromBytes(QByteArray("a,b,c\r\n")));
    EXPECT_FALSE(MergeBase::FromBytes(QByteArray()));
}

TEST(DeckMerge, AVersionIsABaseOnlyWhenNoCardHasLostAnswersSinceIt) {
    const struct {
        const char *base;
        const char *cards;
        bool startedFrom;
    } cases[] = {
        {"a=1/0/3 b", "a=1/0/9 b=0/1/4", true},
        {"a=2/0/3 b", "a=1/0/3 b", false},
        {"a b=0/1/3", "a b=0/0/3", false},
        {"a b=0/4/3", "a c", true},        // b deleted or edited: nothing to compare
        {"a a=1/0/3", "a=1/0/3 a", false}, // the second a lost its answer
        {"", "a", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.base) + " -> " + c.cards);
        EXPECT_EQ(CanHaveStartedFrom(Cards(c.cards), MergeBase::Of(Cards(c.base))), c.startedFrom);
    }
}

} // namespace
