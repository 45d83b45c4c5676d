#pragma once

#include "deck/deck.h"

#include <QByteArray>
#include <QDate>

// The open deck written for other programs, in UTF-8. Texts go out as the user sees them: the
// quotes of the stored form removed, "\n" as a real line break. The deck is only read.
namespace exchange {

enum class ExportFormat {
    Csv,   // RFC 4180: comma-separated, CR LF after each record, fields quoted where needed
    Tsv,   // the same with tabs
    Notes, // tab-separated HTML fields under the header lines spaced-repetition programs read
};

struct ExportOptions {
    ExportFormat format = ExportFormat::Csv;
    bool withRecord = false; // due day as a date, right and wrong counts as extra columns
    bool headerRow = false;  // a first row of column names (CSV and TSV)
};

QByteArray ExportCards(const CardOwnerList &cards, const ExportOptions &options);

// The same written to `path` as a deck is saved, atomically and durably, a block at a time:
// the export of a large deck is never held whole.
FileResult ExportCardsToFile(const QString &path, const CardOwnerList &cards,
                             const ExportOptions &options);

// The calendar date of a day number (day 0 is 1899-12-30).
QDate DateOfDay(qint32 day);

} // namespace exchange
