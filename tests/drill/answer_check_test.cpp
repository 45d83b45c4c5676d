#include "deck/sjis_codec.h"
#include "drill/answer_check.h"

#include <gtest/gtest.h>

namespace {

// Marked pieces written out with the differing ones in brackets: "ab[c]".
std::string Render(const answercheck::Marked &marked) {
    QString out;
    for (const answercheck::Piece &piece : marked)
        out += piece.differs ? QLatin1Char('[') + piece.text + QLatin1Char(']') : piece.text;
    return out.toStdString();
}

struct CheckCase {
    const char *answer; // display form, written here in UTF-8
    const char *typed;
    bool kanaSame;
    bool right;
    const char *expected; // the nearest accepted form with its differences marked
    const char *typedMarks;
};

class AnswerCheckRules : public ::testing::TestWithParam<CheckCase> {};

TEST_P(AnswerCheckRules, JudgesAndMarksAsTheLearnerMeans) {
    const CheckCase &c = GetParam();
    const QByteArray answer = sjis::FromQString(QString::fromUtf8(c.answer));
    const answercheck::Verdict verdict =
        answercheck::Check(QString::fromUtf8(c.typed), answer, c.kanaSame);
    EXPECT_EQ(verdict.right, c.right) << c.answer << " / " << c.typed;
    EXPECT_EQ(Render(verdict.expected), c.expected) << c.answer << " / " << c.typed;
    EXPECT_EQ(Render(verdict.typed), c.typedMarks) << c.answer << " / " << c.typed;
}

INSTANTIATE_TEST_SUITE_P(
    Table, AnswerCheckRules,
    ::testing::Values(
        // Latin case and width do not count; blanks count only inside.
        CheckCase{"Apple", "apple", false, true, "Apple", "apple"},
        CheckCase{"ＡＢＣ", "abc", false, true, "ＡＢＣ", "abc"},
        CheckCase{"abc", "ＡＢＣ", false, true, "abc", "ＡＢＣ"},
        CheckCase{"東京駅", "　東京駅 ", false, true, "東京駅", "東京駅"},
        CheckCase{"New York", "newyork", false, false, "New[ ]York", "newyork"},
        // Half-width kana with voiced marks are the full-width ones.
        CheckCase{"ガッコウ", "ｶﾞｯｺｳ", false, true, "ガッコウ", "ｶﾞｯｺｳ"},
        CheckCase{"ガッコウ", "ｶｯｺｳ", false, false, "[ガ]ッコウ", "[ｶ]ｯｺｳ"},
        // Hiragana against katakana only on request.
        CheckCase{"がっこう", "ガッコウ", true, true, "がっこう", "ガッコウ"},
        CheckCase{"がっこう", "ガッコウ", false, false, "[がっこう]", "[ガッコウ]"},
        // Several accepted forms: any one of them, or the whole text.
        CheckCase{"走る、駆ける", "駆ける", false, true, "駆ける", "駆ける"},
        CheckCase{"run, sprint", "RUN", false, true, "run", "RUN"},
        CheckCase{"run; dash / sprint", "dash", false, true, "dash", "dash"},
        CheckCase{"1,000", "1,000", false, true, "1,000", "1,000"},
        CheckCase{"ａ／ｂ", "b", false, true, "ｂ", "b"},
        CheckCase{"first\nsecond", "second", false, true, "second", "second"},
        // A wrong answer is marked against the nearest form.
        CheckCase{"cat, house", "hause", false, false, "h[o]use", "h[a]use"},
        CheckCase{"colour", "color", false, false, "colo[u]r", "color"},
        // Shift-JIS characters whose second byte is a backslash stay whole characters.
        CheckCase{"表示", "表示", false, true, "表示", "表示"},
        CheckCase{"ソフト", "ｿﾌﾄ", false, true, "ソフト", "ｿﾌﾄ"},
        CheckCase{"能力", "脳力", false, false, "[能]力", "[脳]力"},
        CheckCase{"表/裏", "裏", false, true, "裏", "裏"},
        // Nothing typed, or characters no deck can hold, are wrong.
        CheckCase{"abc", "", false, false, "[abc]", ""},
        CheckCase{"abc", "ab😀", false, false, "ab[c]", "ab[😀]"}));

} // namespace
