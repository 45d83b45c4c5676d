#include "deck/card_search.h"
#include "deck/sjis_codec.h"
#include "deck/text_match.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>

namespace {

QByteArray Sjis(const char *utf8) {
    return sjis::FromQString(QString::fromUtf8(utf8));
}

struct MatchCase {
    const char *stored; // card text as the deck file holds it
    const char *typed;
    bool kanaSame;
    bool found;
};

class MatcherRules : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatcherRules, FindsTheTextAsTheUserSeesIt) {
    const MatchCase &c = GetParam();
    const textmatch::Query query(QString::fromUtf8(c.typed), c.kanaSame);
    EXPECT_EQ(query.MatchesStored(Sjis(c.stored)), c.found)
        << "text " << c.stored << " typed " << c.typed;
}

INSTANTIATE_TEST_SUITE_P(
    Table, MatcherRules,
    ::testing::Values(
        // Latin letters without regard to case, in both widths.
        MatchCase{"Apple pie", "apple", false, true}, MatchCase{"apple", "APPLE", false, true},
        MatchCase{"ＡＢＣ", "abc", false, true}, MatchCase{"abc", "ＡＢＣ", false, true},
        MatchCase{"ａｂｃ", "ABC", false, true}, MatchCase{"１２３", "23", false, true},
        MatchCase{"a！b", "a!b", false, true}, MatchCase{"東京　駅", "東京 駅", false, true},
        // Half-width katakana, voiced marks included, are the full-width ones.
        MatchCase{"ｶﾞｯｺｳ", "ガッコウ", false, true}, MatchCase{"ガッコウ", "ｶﾞｯｺｳ", false, true},
        MatchCase{"ﾊﾟﾝ", "パン", false, true}, MatchCase{"ヴァ", "ｳﾞｧ", false, true},
        MatchCase{"ｺｰﾋｰ", "コーヒー", false, true},
        // A bare kana does not find its voiced form, whichever width.
        MatchCase{"ガ", "カ", false, false}, MatchCase{"ｶﾞ", "カ", false, false},
        MatchCase{"カガ", "カ", false, true},
        // Hiragana and katakana differ unless asked.
        MatchCase{"がっこう", "ガッコウ", false, false},
        MatchCase{"がっこう", "ガッコウ", true, true}, MatchCase{"ｶﾞｯｺｳ", "がっこう", true, true},
        MatchCase{"ガッコウ", "がっこう", false, false},
        MatchCase{"がっこう", "がっこう", false, true},
        // Stored quoting and line-break escapes do not count.
        MatchCase{"\"a,b\"", "a,b", false, true}, MatchCase{"\"a,b\"", "\"a", false, false},
        MatchCase{"one\\ntwo", "one\\n", false, false}, MatchCase{"one\\ntwo", "two", false, true},
        MatchCase{"one\\ntwo", "onetwo", false, false},
        // A double-byte character's second byte is never an ASCII letter.
        MatchCase{"ソ表", "\\", false, false}, MatchCase{"ア", "A", false, false},
        MatchCase{"ｱｲｳ", "ｲ", false, true},
        // Other texts match only themselves; characters no deck can hold match nothing.
        MatchCase{"漢字の本", "の本", false, true}, MatchCase{"smile", "😀", false, false},
        MatchCase{"", "a", false, false}, MatchCase{"[しおり]abc", "しおり", false, true}));

// A small deck searched through the index.
class DeckSearch : public ::testing::Test {
protected:
    CardOwnerList cards;
    CardSearch search{cards};

    TMondaiSet *Add(const char *q, const char *a = "", const char *r = "") {
        cards.push_back(std::make_unique<TMondaiSet>(Sjis(q), Sjis(a), Sjis(r), 0, 0, 0, ""));
        return cards.back().get();
    }
    void Run(const char *typed, qsizetype from = 0, textmatch::FieldSet fields = {},
             bool kanaSame = false) {
        search.Start(QString::fromUtf8(typed), kanaSame, fields, from);
        search.Finish();
    }
    std::vector<qsizetype> Matches() const {
        std::vector<qsizetype> found;
        for (qsizetype i = 0; i < qsizetype(cards.size()); ++i)
            if (search.IsMatch(i))
                found.push_back(i);
        return found;
    }
    using Rows = std::vector<qsizetype>;
};

TEST_F(DeckSearch, FieldsRankAndWrapping) {
    Add("cat", "ネコ");     // 0
    Add("dog", "いぬ");     // 1
    Add("ねこ", "cat");     // 2
    Add("bird", "", "CAT"); // 3
    Run("cat");
    EXPECT_EQ(Matches(), (Rows{0, 2, 3}));
    EXPECT_EQ(search.Count(), 3);
    EXPECT_EQ(search.Rank(2), 2);
    Run("cat", 0, {true, false, false});
    EXPECT_EQ(Matches(), (Rows{0}));
    Run("cat", 0, {false, true, true});
    EXPECT_EQ(Matches(), (Rows{2, 3}));
    Run("ネコ", 1, {}, true);
    EXPECT_EQ(search.FirstMatch(), 2); // counted from the starting card on
    EXPECT_EQ(Matches(), (Rows{0, 2}));
    bool wrapped = false;
    EXPECT_EQ(search.Neighbour(2, false, &wrapped), 0);
    EXPECT_TRUE(wrapped);
    EXPECT_EQ(search.Neighbour(0, true, &wrapped), 2);
    EXPECT_TRUE(wrapped);
    EXPECT_EQ(search.Neighbour(1, false, &wrapped), 2);
    EXPECT_FALSE(wrapped);
    Run("ネコ"); // kana distinct: only the katakana card
    EXPECT_EQ(Matches(), (Rows{0}));
    Run("zebra");
    EXPECT_EQ(search.Count(), 0);
    EXPECT_EQ(search.FirstMatch(), -1);
}

TEST_F(DeckSearch, IndexFollowsEditsAddsAndDeletes) {
    Add("alpha");
    TMondaiSet *b = Add("beta");
    Add("gamma");
    Run("delta");
    EXPECT_EQ(search.Count(), 0);
    b->SetField(1, Sjis("delta"));
    EXPECT_TRUE(search.Stale() == false); // an edit is only known when it is told
    search.NoteEdited(b);
    EXPECT_TRUE(search.Stale());
    Run("delta");
    EXPECT_EQ(Matches(), (Rows{1}));
    // A card added in front and one deleted behind: the rows move with the deck.
    cards.insert(cards.begin(),
                 std::make_unique<TMondaiSet>(Sjis("delta two"), "", "", 0, 0, 0, ""));
    cards.erase(cards.begin() + 3); // gamma
    Run("delta");
    EXPECT_EQ(Matches(), (Rows{0, 2}));
    Run("gamma");
    EXPECT_EQ(search.Count(), 0);
    Run("alpha");
    EXPECT_EQ(Matches(), (Rows{1}));
}

TEST_F(DeckSearch, SlicesFindTheFirstMatchBeforeTheCount) {
    for (int i = 0; i < 100000; ++i)
        Add(i % 1000 == 7 ? "needle" : "hay");
    search.Start(QStringLiteral("needle"), false, {}, 500);
    while (!search.Step(QDeadlineTimer(0))) {
    }
    EXPECT_EQ(search.FirstMatch(), 1007);
    EXPECT_EQ(search.Count(), 100);
    // Smaller than the file even for cards this short.
    qsizetype fileBytes = 0;
    for (const auto &card : cards)
        fileBytes += RenderCardLine(*card).size() + 2;
    EXPECT_LT(search.Index().MemoryBytes(), fileBytes);
}

} // namespace
