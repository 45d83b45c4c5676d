#include "bench_decks.h"

#include "deck/deck.h"
#include "exchange/card_export.h"
#include "progress/review_log.h"

#include <QByteArrayList>
#include <QMap>
#include <QStringEncoder>
#include <QStringList>

#include <random>

namespace bench {

namespace {

const char *const kEnglish[] = {
    "apple",       "run",        "table",     "software",   "borrow",      "library",
    "weather",     "improve",    "necessary", "opinion",    "therefore",   "remember",
    "environment", "government", "achieve",   "describe",   "interest",    "pleasure",
    "ability",     "sufficient", "consider",  "experience", "knowledge",   "tomorrow",
    "although",    "increase",   "medicine",  "neighbour",  "quiet",       "recently",
    "suggest",     "journey",    "valuable",  "celebrate",  "decision",    "familiar",
    "give up",     "look after", "take off",  "carry out",  "put up with", "get along with",
};

const char *const kJapanese[] = {
    "りんご",       "走る",       "表",         "ソフトウェア", "借りる",   "図書館",
    "天気",         "改善する",   "必要な",     "意見",         "それゆえ", "覚えている",
    "環境",         "政府",       "達成する",   "説明する",     "興味",     "喜び",
    "能力",         "十分な",     "よく考える", "経験",         "知識",     "明日",
    "～だけれども", "増える",     "薬",         "隣人",         "静かな",   "最近",
    "提案する",     "旅",         "貴重な",     "祝う",         "決定",     "よく知っている",
    "あきらめる",   "世話をする", "離陸する",   "実行する",     "我慢する", "仲良くやる",
};

const char *const kNotes[] = {
    "名詞",     "動詞",      "形容詞",     "副詞",         "不規則動詞", "過去形",     "反意語",
    "類義語",   "発音注意",  "ソ連の表記", "十分に注意",   "例文あり",   "試験に出る", "第３章",
    "ｶﾀｶﾅ表記", "①よく使う", "句動詞",     "複数形に注意", "会話表現",   "書き言葉",
};

const char *const kExamples[] = {
    "I borrowed a book, and read it.",
    "Yes, I do.",
    "slowly, quietly",
    "first, second, third",
    "He gave up, at last.",
};

QByteArrayList ToShiftJis(const char *const *texts, size_t count) {
    QStringEncoder encoder("windows-31j");
    QByteArrayList out;
    for (size_t i = 0; i < count; ++i)
        out.append(encoder.encode(QString::fromUtf8(texts[i])));
    return out;
}

template <size_t N> QByteArrayList ToShiftJis(const char *const (&texts)[N]) {
    return ToShiftJis(texts, N);
}

struct Words {
    QByteArrayList english = ToShiftJis(kEnglish);
    QByteArrayList japanese = ToShiftJis(kJapanese);
    QByteArrayList notes = ToShiftJis(kNotes);
    QByteArrayList examples = ToShiftJis(kExamples);
    QByteArray right = QStringEncoder("windows-31j").encode(QStringLiteral("正"));
    QByteArray wrong = QStringEncoder("windows-31j").encode(QStringLiteral("誤"));
    QByteArray separator = QStringEncoder("windows-31j").encode(QStringLiteral("、"));
};

class Generator {
public:
    explicit Generator(quint32 seed) : random_(seed) {}

    void AppendCard(QByteArray &out) {
        AppendQuestion(out);
        out += ',';
        AppendAnswer(out);
        out += ',';
        AppendNote(out);
        AppendRecord(out);
        out += "\r\n";
    }

private:
    quint32 Below(quint32 n) { return random_() % n; }
    bool Chance(quint32 percent) { return Below(100) < percent; }
    const QByteArray &Pick(const QByteArrayList &list) { return list[Below(quint32(list.size()))]; }

    void AppendQuestion(QByteArray &out) {
        if (Chance(4)) { // an example sentence with commas, so quoted
            out += '"' + Pick(words_.examples) + '"';
            return;
        }
        out += Pick(words_.english);
        if (Chance(30))
            out += ' ' + Pick(words_.english);
    }

    void AppendAnswer(QByteArray &out) {
        if (Chance(6)) { // two meanings separated by a comma
            out += '"' + Pick(words_.japanese) + ',' + Pick(words_.japanese) + '"';
            return;
        }
        out += Pick(words_.japanese);
        if (Chance(25))
            out += words_.separator + Pick(words_.japanese);
    }

    void AppendNote(QByteArray &out) {
        if (Chance(30))
            return;
        if (Chance(5)) {
            out += Pick(words_.notes) + "\\n" + Pick(words_.notes);
            return;
        }
        out += Pick(words_.notes);
    }

    void AppendRecord(QByteArray &out) {
        const bool fresh = Chance(35);
        const int seikai = fresh ? 0 : int(Below(12));
        const int fuseikai = fresh ? 0 : int(Below(6));
        qint32 jikan = 0;
        if (Chance(kNotDuePercent)) // rested for years, so not due for a long while yet
            jikan = kToday + 3650 + qint32(Below(3650));
        else if (!fresh)
            jikan = kToday - 1 - qint32(Below(900));
        out += ',' + QByteArray::number(jikan) + ',' + QByteArray::number(seikai) + ',' +
               QByteArray::number(fuseikai) + ',';
        const int history = fresh ? 0 : int(Below(9));
        for (int i = 0; i < history; ++i)
            out += Chance(70) ? words_.right : words_.wrong;
    }

    std::mt19937 random_;
    Words words_;
};

} // namespace

QByteArray GenerateDeckBytes(qsizetype cards, quint32 seed) {
    QByteArray out;
    out.reserve(cards * 52);
    Generator generator(seed);
    for (qsizetype i = 0; i < cards; ++i)
        generator.AppendCard(out);
    return out;
}

QByteArray GenerateTsvBytes(const QByteArray &deckBytes) {
    Deck deck;
    deck.SetSavedLines(DeckLines::FromFileBytes(deckBytes));
    CardRefList queue;
    ParseDeck(deck, kToday, queue);
    return exchange::ExportCards(deck.Cards(), {exchange::ExportFormat::Tsv});
}

const QByteArray &CachedDeckBytes(qsizetype cards) {
    static QMap<qsizetype, QByteArray> cache;
    auto found = cache.find(cards);
    if (found == cache.end())
        found = cache.insert(cards, GenerateDeckBytes(cards));
    return *found;
}

QByteArray GenerateReviewLog(const CardOwnerList &cards, qint64 lines, qint32 today) {
    QByteArray text;
    if (cards.empty())
        return text;
    text.reserve(qsizetype(lines) * 56);
    const qint64 n = qint64(cards.size());
    for (qint64 i = 0; i < lines; ++i) {
        const TMondaiSet &card = *cards[std::size_t(i * 7919 % n)];
        const qint32 day = today - 365 + qint32(i * 365 / lines);
        const AnswerKind kind = i % 5 == 0 ? AnswerKind::Wrong : AnswerKind::Right;
        text += FormatReviewLine({day, qint32(i * 37 % 86400), kind, day - 3, day + 27,
                                  ReviewCardKey64(card), true, false});
    }
    return text;
}

} // namespace bench
