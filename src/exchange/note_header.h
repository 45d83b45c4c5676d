#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

namespace exchange {

// The header lines the plain-text note export of spaced-repetition programs starts with:
// "#separator:Tab", "#html:true", "#columns:Front\tBack", "#notetype column:1", "#deck column:2",
// "#tags column:3", "#guid column:4" (and the fixed "#notetype:", "#deck:", "#tags:" values,
// which are read past). Only lines with a known name count, so a card that starts with "#"
// stays a card.
struct NoteHeader {
    std::optional<char> separator;
    std::optional<bool> html;
    QByteArray columns; // the raw value of "#columns:", split once the separator is known
    // 1-based columns that hold no card text; 0 when absent.
    int notetypeColumn = 0;
    int deckColumn = 0;
    int tagsColumn = 0;
    int guidColumn = 0;
    qsizetype bodyOffset = 0; // where the first line after the header starts
    int lineCount = 0;

    bool IsMetaColumn(int column) const; // 0-based
    QList<QByteArray> ColumnNames(char separatorUsed) const;
};

NoteHeader ReadNoteHeader(QByteArrayView text);

// "Tab", "comma", "Semicolon", "Space", "Pipe", "Colon" or the character itself.
std::optional<char> SeparatorFromName(QByteArrayView name);

} // namespace exchange
