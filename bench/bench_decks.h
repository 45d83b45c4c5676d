#pragma once

#include "deck/deck.h"
#include "drill/drill_host.h"

#include <QByteArray>
#include <QtGlobal>

// Generated decks for the benchmarks: realistic English questions, Japanese answers and notes
// (Shift-JIS), some quoted fields holding commas, some "\n" breaks, learning records, and a
// share of cards that are not due. The same count and seed always give the same bytes.
namespace bench {

// The "today" the generated learning records are built around (2025-01-01).
constexpr qint32 kToday = 45658;
constexpr quint32 kSeed = 20250101;
// Share of generated cards whose Jikan lies ten to twenty years after kToday, so that they
// are not due for years yet, in percent.
constexpr int kNotDuePercent = 30;

// A deck of `cards` lines as file bytes, every line ending in CR LF.
QByteArray GenerateDeckBytes(qsizetype cards, quint32 seed = kSeed);

// The cards of a deck as another program would write them: UTF-8, tab-separated question,
// answer and reference as the user sees them (the export's own TSV).
QByteArray GenerateTsvBytes(const QByteArray &deckBytes);

// The same deck, cached per card count, for benchmarks that need it more than once.
const QByteArray &CachedDeckBytes(qsizetype cards);

// A review log of `lines` answers over `cards` (a prime stride through them, so about a quarter
// of a million-card deck is named), the year up to `today`, one in five a pass; 64-bit keys.
QByteArray GenerateReviewLog(const CardOwnerList &cards, qint64 lines, qint32 today);

// A window for a drill that shows nothing and answers every question no.
class QuietHost : public DrillHost {
public:
    void RefreshView() override {}
    void AutoSpeak() override {}
    bool AskRestartStudy() override { return false; }
    bool ConfirmResetAll() override { return false; }
    void ShowBookmarkExempt() override {}
    void BookmarkNotInQueue() override {}
    void OrderApplied(int) override {}
};

} // namespace bench
