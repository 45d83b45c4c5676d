#pragma once

#include <QString>

// Where the caret goes when a box's text changes from `before` to `after` under it (a bookmark
// marker put in or taken out): before the same text it stood before. When the text after the
// caret is unchanged the caret keeps its distance from the end; otherwise it moves by the
// change in length. Always within `after`.
int CaretBeforeSameText(const QString &before, const QString &after, int caret);
