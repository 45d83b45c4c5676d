#include "deck/sjis_codec.h"
#include "deck/text_match.h"
#include "drill/answer_choices.h"

#include <gtest/gtest.h>

#include <QSet>

namespace {

CardOwnerList Deck(std::initializer_list<std::pair<const char *, const char *>> cards) {
    CardOwnerList list;
    for (const auto &[question, answer] : cards)
        list.push_back(std::make_unique<TMondaiSet>(sjis::FromQString(QString::fromUtf8(question)),
                                                    sjis::FromQString(QString::fromUtf8(answer)),
                                                    QByteArray(), 0, 0, 0, QByteArray()));
    return list;
}

QStringList Texts(const AnswerChoices &choices) {
    QStringList texts;
    for (const QByteArray &text : choices.texts)
        texts.append(sjis::ToQString(text));
    return texts;
}

struct ChoiceCase {
    const char *name;
    CardOwnerList cards;
    std::size_t asked;
    DrillDirection direction;
    const char *answer;             // the asked card's answer, as offered
    std::vector<const char *> pool; // every text a distractor may be (empty: no choices)
};

// Many draws of each deck: the answer is offered once at the index given, the others come only
// from the pool, never twice and never as the answer in another width or case.
TEST(AnswerChoices, OfferTheAnswerOnceAndThreeAlikeDifferentOthers) {
    std::vector<ChoiceCase> cases;
    cases.push_back({"same script and length first",
                     Deck({{"apple", "りんご"},
                           {"orange", "みかん"},
                           {"pear", "なし"},
                           {"peach", "もも"},
                           {"grape", "ぶどう"},
                           {"melon", "メロン"},
                           {"cherry", "桜桃"},
                           {"lemon", "lemon"},
                           {"strawberry", "いちごのなかま"}}),
                     0,
                     DrillDirection::QuestionFirst,
                     "りんご",
                     {"みかん", "ぶどう", "なし", "もも"}});
    cases.push_back({"duplicates and the answer's twins are left out",
                     Deck({{"1", "ABC"},
                           {"2", "ａｂｃ"},
                           {"3", "abc"},
                           {"4", "xyz"},
                           {"5", "XYZ"},
                           {"6", "dog"},
                           {"7", "cat"}}),
                     0,
                     DrillDirection::QuestionFirst,
                     "ABC",
                     {"xyz", "XYZ", "dog", "cat"}});
    cases.push_back({"the other direction offers questions",
                     Deck({{"犬", "dog"}, {"猫", "cat"}, {"鳥", "bird"}, {"魚", "fish"}}),
                     2,
                     DrillDirection::AnswerFirst,
                     "鳥",
                     {"犬", "猫", "魚"}});
    cases.push_back({"fewer than four different answers",
                     Deck({{"a", "x"}, {"b", "x"}, {"c", "y"}, {"d", "Ｙ"}, {"e", "z"}}),
                     0,
                     DrillDirection::QuestionFirst,
                     "x",
                     {}});
    cases.push_back({"empty answers are no choice",
                     Deck({{"a", "x"}, {"b", ""}, {"c", "y"}, {"d", " "}, {"e", "z"}}),
                     0,
                     DrillDirection::QuestionFirst,
                     "x",
                     {}});

    for (const ChoiceCase &c : cases) {
        SCOPED_TRACE(c.name);
        QSet<int> rightPlaces;
        for (unsigned seed = 0; seed < 40; ++seed) {
            std::mt19937 rng(seed);
            const auto choices = PickChoices(c.cards, *c.cards[c.asked], c.direction, rng);
            if (c.pool.empty()) {
                EXPECT_FALSE(choices.has_value());
                break;
            }
            ASSERT_TRUE(choices.has_value());
            const QStringList texts = Texts(*choices);
            EXPECT_EQ(texts[choices->right], QString::fromUtf8(c.answer));
            rightPlaces.insert(choices->right);
            QSet<QByteArray> folded;
            for (int i = 0; i < 4; ++i) {
                folded.insert(textmatch::Fold(choices->texts[std::size_t(i)], false));
                if (i == choices->right)
                    continue;
                const bool inPool =
                    std::any_of(c.pool.begin(), c.pool.end(), [&](const char *text) {
                        return QString::fromUtf8(text) == texts[i];
                    });
                EXPECT_TRUE(inPool) << texts[i].toStdString();
            }
            EXPECT_EQ(folded.size(), 4) << texts.join(u' ').toStdString();
        }
        if (!c.pool.empty()) {
            EXPECT_EQ(rightPlaces.size(), 4) << "the answer moves between the places";
        }
    }
}

// A deck far beyond the sample size still finds the only three other answers it has.
TEST(AnswerChoices, ALargeDeckWithFewDifferentAnswersStillFindsThem) {
    CardOwnerList cards;
    for (int i = 0; i < 20000; ++i)
        cards.push_back(std::make_unique<TMondaiSet>(QByteArray::number(i), "same", QByteArray(), 0,
                                                     0, 0, QByteArray()));
    for (const char *other : {"one", "two", "six"})
        cards.push_back(
            std::make_unique<TMondaiSet>("q", other, QByteArray(), 0, 0, 0, QByteArray()));
    std::mt19937 rng(3);
    const auto choices = PickChoices(cards, *cards.front(), DrillDirection::QuestionFirst, rng);
    ASSERT_TRUE(choices.has_value());
    QStringList texts = Texts(*choices);
    texts.sort();
    EXPECT_EQ(texts, QStringList({QStringLiteral("one"), QStringLiteral("same"),
                                  QStringLiteral("six"), QStringLiteral("two")}));
}

} // namespace
