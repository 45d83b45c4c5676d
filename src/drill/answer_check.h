#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

// Checking an answer the learner typed against the card's answer. What a learner does not mean
// does not count: Latin case, full/half width, blanks before and after, and (on request)
// hiragana against katakana, folded as find folds them. An answer may list several accepted
// forms separated by 、 , ; / or a line break; any one of them, or the whole text, is right.
namespace answercheck {

// A run of characters, marked when it differs from the other side.
struct Piece {
    QString text;
    bool differs = false;
    bool operator==(const Piece &) const = default;
};
using Marked = QList<Piece>;

struct Verdict {
    bool right = false;
    // The accepted form nearest to what was typed, its characters missing from the typed text
    // marked; and the typed text, its characters not in that form marked.
    Marked expected;
    Marked typed;
};

// `answer` is the card's answer in display form (Shift-JIS bytes, line breaks as themselves).
Verdict Check(const QString &typed, QByteArrayView answer, bool kanaSame);

// The marked pieces joined back into their text.
QString PlainText(const Marked &marked);

} // namespace answercheck
