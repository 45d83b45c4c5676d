#pragma once

#include "deck/card.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Finding words in card texts as the user sees them: the stored quoting and the "\n" escapes
// do not count, Latin letters match without regard to case, full-width and half-width forms
// match each other (ＡＢＣ and ABC, ｶﾞ and ガ) and, on request, hiragana match katakana.
//
// Both sides are folded into one byte form that is never longer than the text it comes from:
// letters to lower-case ASCII, full-width signs to their ASCII forms, katakana (and hiragana
// when kana are the same) to half-width katakana with separate voiced marks. Everything else
// keeps its Shift-JIS bytes, so a match still has to start on a character boundary.
namespace textmatch {

// The card fields a search looks at.
struct FieldSet {
    bool question = true;
    bool answer = true;
    bool reference = true;
    bool Any() const { return question || answer || reference; }
    bool Has(int field) const { return field == 0 ? question : field == 1 ? answer : reference; }
};

// Bytes 0x01 and 0x02 end a folded question and answer in the search index; folded texts
// never contain them (nor 0x00 and 0x03).
constexpr char kFieldEnd[2] = {'\x01', '\x02'};

// Appends the folded display form of a stored card text.
void AppendFoldedStored(QByteArray &out, QByteArrayView stored, bool kanaSame);
// The folded form of display text already in Shift-JIS.
QByteArray Fold(QByteArrayView display, bool kanaSame);

// What the user typed, folded. A text with characters no deck can hold matches nothing.
class Query {
public:
    Query() = default;
    Query(const QString &typed, bool kanaSame);

    bool Empty() const { return folded_.isEmpty(); }
    bool CanMatch() const { return !folded_.isEmpty() && encodable_; }
    bool KanaSame() const { return kanaSame_; }
    const QByteArray &Folded() const { return folded_; }

    // Offset of the first match in folded text at or after `from`, or -1. `charStart` is an
    // offset known to start a character at or before `from` (the start of the text).
    qsizetype FindIn(QByteArrayView folded, qsizetype from = 0, qsizetype charStart = 0) const;
    // Whether a stored card text holds the query.
    bool MatchesStored(QByteArrayView stored) const;
    bool MatchesCard(const TMondaiSet &card, FieldSet fields) const;

private:
    // A match found at `at` in `folded` that is not one: a bare kana of the query followed by a
    // voiced mark in the text (カ does not find ガ).
    bool CutsVoicedKana(QByteArrayView folded, qsizetype at) const;

    QByteArray folded_;
    bool encodable_ = true;
    bool kanaSame_ = false;
};

} // namespace textmatch
