#include "drill/answer_choices.h"

#include "deck/sjis_codec.h"
#include "deck/text_match.h"

#include <QSet>

#include <algorithm>
#include <vector>

namespace {

enum class Script { None, Kanji, Hiragana, Katakana, Latin, Digit, Other };

Script ScriptOf(char32_t c) {
    if (c >= 0x4E00 && c <= 0x9FFF)
        return Script::Kanji;
    if (c >= 0x3041 && c <= 0x309F)
        return Script::Hiragana;
    if ((c >= 0x30A0 && c <= 0x30FF) || (c >= 0xFF66 && c <= 0xFF9F))
        return Script::Katakana;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xFF21 && c <= 0xFF3A) ||
        (c >= 0xFF41 && c <= 0xFF5A))
        return Script::Latin;
    if ((c >= '0' && c <= '9') || (c >= 0xFF10 && c <= 0xFF19))
        return Script::Digit;
    if (c == ' ' || c == 0x3000 || c < 0x80)
        return Script::None; // blanks and signs say nothing of the script
    return Script::Other;
}

// What a text offered as a choice looks like: its main script and its length.
struct Shape {
    Script script = Script::None;
    qsizetype length = 0;
};

Shape ShapeOf(const QString &text) {
    std::array<int, 7> counts{};
    Shape shape;
    for (const char32_t c : text.toUcs4()) {
        ++counts[std::size_t(ScriptOf(c))];
        ++shape.length;
    }
    const auto most = std::max_element(counts.begin() + 1, counts.end());
    shape.script = *most > 0 ? Script(most - counts.begin()) : Script::None;
    return shape;
}

struct Candidate {
    QByteArray text;
    int unlikeness = 0; // lower is more alike
};

constexpr int kOtherScript = 1000;

int Unlikeness(const Shape &answer, const Shape &other) {
    const int scriptCost = answer.script == other.script ? 0 : kOtherScript;
    return scriptCost + int(std::min<qsizetype>(std::abs(answer.length - other.length), 500));
}

// Beyond this many cards a sample of them gives choices alike enough, without walking a deck of
// a million cards for every question.
constexpr std::size_t kSampleSize = 4000;

std::vector<const TMondaiSet *> Pool(const CardOwnerList &cards, std::mt19937 &rng, bool sample) {
    std::vector<const TMondaiSet *> pool;
    if (!sample) {
        for (const auto &card : cards)
            pool.push_back(card.get());
        return pool;
    }
    std::uniform_int_distribution<std::size_t> pick(0, cards.size() - 1);
    for (std::size_t i = 0; i < kSampleSize; ++i)
        pool.push_back(cards[pick(rng)].get());
    return pool;
}

std::vector<Candidate> Candidates(const std::vector<const TMondaiSet *> &pool,
                                  const TMondaiSet &card, TMondaiSet::Text field,
                                  const QByteArray &answer, const Shape &answerShape) {
    QSet<QByteArray> seen{textmatch::Fold(answer, false).trimmed()};
    std::vector<Candidate> found;
    for (const TMondaiSet *other : pool) {
        if (other == &card)
            continue;
        const QByteArray text = DisplayForm(other->GetText(field));
        const QByteArray key = textmatch::Fold(text, false).trimmed();
        if (key.isEmpty() || seen.contains(key))
            continue;
        seen.insert(key);
        found.push_back({text, Unlikeness(answerShape, ShapeOf(sjis::ToQString(text)))});
    }
    return found;
}

} // namespace

std::optional<AnswerChoices> PickChoices(const CardOwnerList &cards, const TMondaiSet &card,
                                         DrillDirection direction, std::mt19937 &rng) {
    const TMondaiSet::Text field = ExpectedText(direction);
    const QByteArray answer = DisplayForm(card.GetText(field));
    const Shape answerShape = ShapeOf(sjis::ToQString(answer));
    std::vector<Candidate> candidates;
    for (const bool sample : {true, false}) {
        if (sample && cards.size() <= kSampleSize)
            continue;
        candidates = Candidates(Pool(cards, rng, sample), card, field, answer, answerShape);
        if (candidates.size() >= 3)
            break;
    }
    if (candidates.size() < 3)
        return std::nullopt;
    // Alike ones first; among equally alike ones chance decides.
    std::shuffle(candidates.begin(), candidates.end(), rng);
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [](const Candidate &a, const Candidate &b) { return a.unlikeness < b.unlikeness; });
    AnswerChoices choices;
    choices.right = std::uniform_int_distribution<int>(0, 3)(rng);
    for (int i = 0, next = 0; i < 4; ++i)
        choices.texts[std::size_t(i)] =
            i == choices.right ? answer : candidates[std::size_t(next++)].text;
    return choices;
}
