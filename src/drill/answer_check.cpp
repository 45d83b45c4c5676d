#include "drill/answer_check.h"

#include "deck/sjis_codec.h"
#include "deck/sjis_text.h"
#include "deck/text_match.h"

#include <algorithm>
#include <vector>

namespace answercheck {
namespace {

// One character as shown, and the folded bytes it compares by.
struct Unit {
    QString shown;
    QByteArray key;
};
using Units = std::vector<Unit>;

bool IsHalfWidthVoicedMark(const QByteArray &key) {
    return key.size() == 1 && (uchar(key[0]) == 0xDE || uchar(key[0]) == 0xDF);
}

// A half-width voiced mark belongs to the kana before it (ｶﾞ compares as ガ does).
void Append(Units &units, Unit unit) {
    if (!units.empty() && IsHalfWidthVoicedMark(unit.key)) {
        units.back().shown += unit.shown;
        units.back().key += unit.key;
        return;
    }
    units.push_back(std::move(unit));
}

Units AnswerUnits(QByteArrayView answer, bool kanaSame) {
    Units units;
    for (qsizetype at = 0; at < answer.size();) {
        const qsizetype length = sjis::CharLength(answer, at);
        const QByteArray bytes = answer.sliced(at, length).toByteArray();
        Append(units, {sjis::ToDisplay(bytes).text, textmatch::Fold(bytes, kanaSame)});
        at += length;
    }
    return units;
}

Units TypedUnits(const QString &typed, bool kanaSame) {
    Units units;
    for (qsizetype at = 0; at < typed.size();) {
        const qsizetype length = typed.at(at).isHighSurrogate() && at + 1 < typed.size() ? 2 : 1;
        const QString shown = typed.mid(at, length);
        const sjis::Encoded encoded = sjis::FromDisplay(shown);
        // A character no deck can hold matches nothing: its key holds a byte folds never give.
        const QByteArray key = encoded.unencodable.isEmpty()
                                   ? textmatch::Fold(encoded.bytes, kanaSame)
                                   : QByteArray(1, '\0') + shown.toUtf8();
        Append(units, {shown, key});
        at += length;
    }
    return units;
}

bool IsBlank(const Unit &unit) {
    return unit.key == " " || unit.key == "\t" || unit.key == "\r" || unit.key == "\n";
}

// 、 folds to its half-width form, and ， ； ／ to their ASCII forms.
bool IsSeparator(const Unit &unit) {
    return unit.key == "," || unit.key == ";" || unit.key == "/" || unit.key == "\n" ||
           unit.key == "\xA4";
}

Units Trimmed(Units::const_iterator begin, Units::const_iterator end) {
    while (begin != end && IsBlank(*begin))
        ++begin;
    while (end != begin && IsBlank(*(end - 1)))
        --end;
    return Units(begin, end);
}

std::vector<Units> AcceptedForms(const Units &answer) {
    std::vector<Units> forms{Trimmed(answer.begin(), answer.end())};
    auto start = answer.begin();
    for (auto it = answer.begin();; ++it) {
        if (it != answer.end() && !IsSeparator(*it))
            continue;
        if (start != answer.begin() || it != answer.end()) {
            Units form = Trimmed(start, it);
            if (!form.empty())
                forms.push_back(std::move(form));
        }
        if (it == answer.end())
            break;
        start = it + 1;
    }
    return forms;
}

bool SameKeys(const Units &a, const Units &b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Unit &x, const Unit &y) { return x.key == y.key; });
}

// Longest common subsequence of the keys; `inA`/`inB` tell which units belong to it. Beyond a
// size no typed answer reaches, everything counts as differing rather than costing time.
constexpr std::size_t kMaxCells = 1'000'000;

std::size_t CommonUnits(const Units &a, const Units &b, std::vector<bool> *inA,
                        std::vector<bool> *inB) {
    const std::size_t n = a.size(), m = b.size();
    if (inA)
        inA->assign(n, false);
    if (inB)
        inB->assign(m, false);
    if (n == 0 || m == 0 || (n + 1) * (m + 1) > kMaxCells)
        return 0;
    std::vector<std::vector<std::size_t>> table(n + 1, std::vector<std::size_t>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            table[i][j] = a[i].key == b[j].key ? table[i + 1][j + 1] + 1
                                               : std::max(table[i + 1][j], table[i][j + 1]);
    if (inA && inB) {
        for (std::size_t i = 0, j = 0; i < n && j < m;) {
            if (a[i].key == b[j].key) {
                (*inA)[i++] = true;
                (*inB)[j++] = true;
            } else if (table[i + 1][j] >= table[i][j + 1]) {
                ++i;
            } else {
                ++j;
            }
        }
    }
    return table[0][0];
}

Marked MarkUnits(const Units &units, const std::vector<bool> &common) {
    Marked marked;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const bool differs = !common[i];
        if (!marked.isEmpty() && marked.back().differs == differs)
            marked.back().text += units[i].shown;
        else
            marked.append({units[i].shown, differs});
    }
    return marked;
}

} // namespace

Verdict Check(const QString &typed, QByteArrayView answer, bool kanaSame) {
    const Units typedUnits = [&] {
        const Units all = TypedUnits(typed, kanaSame);
        return Trimmed(all.begin(), all.end());
    }();
    const std::vector<Units> forms = AcceptedForms(AnswerUnits(answer, kanaSame));

    Verdict verdict;
    const Units *nearest = &forms.front();
    std::size_t nearestDistance = SIZE_MAX;
    for (const Units &form : forms) {
        if (SameKeys(form, typedUnits)) {
            verdict.right = true;
            nearest = &form;
            break;
        }
        const std::size_t distance =
            form.size() + typedUnits.size() - 2 * CommonUnits(form, typedUnits, nullptr, nullptr);
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = &form;
        }
    }
    std::vector<bool> inExpected, inTyped;
    CommonUnits(*nearest, typedUnits, &inExpected, &inTyped);
    verdict.expected = MarkUnits(*nearest, inExpected);
    verdict.typed = MarkUnits(typedUnits, inTyped);
    return verdict;
}

QString PlainText(const Marked &marked) {
    QString text;
    for (const Piece &piece : marked)
        text += piece.text;
    return text;
}

} // namespace answercheck
