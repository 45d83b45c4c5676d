#pragma once

#include "deck/deck_lines.h"

#include <QByteArrayView>

#include <array>

// The seven fields of a line in stored form, found in one walk; empty past the end of the line.
// A field starting with a double quote ends at the first double quote after it that is
// followed by a comma, else at the line's end when the line ends in a double quote, else like
// any other field at the next comma. Further fields are ignored.
using LineFields = std::array<QByteArrayView, 7>;
LineFields SplitFields(QByteArrayView line);

// Finds a deck's lines and their fields in one walk over the bytes, sixteen at a time: only
// commas, double quotes and line ends are looked at one by one. A line where a field opens with
// a double quote is split by SplitFields, whose rules it follows in every other case too.
class FieldScanner {
public:
    explicit FieldScanner(const DeckLines &lines);
    // `lines` whole lines, each followed by CR LF, as a part of a deck's bytes.
    FieldScanner(QByteArrayView bytes, qsizetype lines);

    // The fields of the next line; false after the last line.
    bool Next(LineFields &fields);

private:
    bool NextMark(const char *&mark);
    void LoadBlock();

    const char *block_;     // the 16 bytes last looked at
    const char *const end_; // the end of the bytes
    const char *lineStart_; // the start of the next line
    quint32 marks_ = 0;     // the marks of the block not yet visited, one bit a byte
    qsizetype linesLeft_;
};
