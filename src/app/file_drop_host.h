#pragma once

#include <QString>

class TMondaiSet;

// What a file dropped on the window needs of the window: which card a box shows, a redraw after
// a box took a reference, and opening a dropped deck.
class FileDropHost {
public:
    virtual ~FileDropHost() = default;
    // The card the boxes of a row show, or null.
    virtual const TMondaiSet *CardShownInRow(int row) const = 0;
    virtual void RefreshView() = 0;
    // Opens a dropped deck as the File menu opens one, save prompt included.
    virtual void OpenDroppedDeck(const QString &path) = 0;
};
