#pragma once

#include <QString>

// Laying out a line of text costs time that grows faster than the line: a line of a few hundred
// thousand characters would hold the window for seconds or minutes. A cell therefore shows at
// most kMaxShownLine characters of each line, the rest cut off behind "…"; the card keeps its
// whole text, and a cell showing a cut text is never stored back.
constexpr qsizetype kMaxShownLine = 4000;

struct ShownText {
    QString text;
    bool cut = false; // some line was cut
};

// `text` with every line (ended by "\n") longer than kMaxShownLine characters cut.
ShownText CutLongLines(QString text);

// The tooltip of a cell showing a cut text: how long the whole text is.
QString CutTextNote(qsizetype fullLength);
