#pragma once

#include <QString>

#include <vector>

class QObject;

// One hint: the object it belongs to (by object name) and its text. The text before the first
// "|" is the tooltip, the text after it the status line's; "\r" breaks a tooltip's lines.
struct HintEntry {
    QString name;
    QString text;
};

struct HintParts {
    QString toolTip;
    QString statusTip;
};

// A hint without "|" uses its whole text for both parts.
HintParts SplitHint(const QString &hint);

// The hints of the main window's controls and menu entries.
const std::vector<HintEntry> &MainWindowHints();
// The hints of the add-card dialog's controls.
const std::vector<HintEntry> &AddDialogHints();

// Gives every object under `root` (and `root` itself) named in `table` its hint: widgets get a
// tooltip, menu entries a status tip. Returns the names that matched nothing.
QStringList ApplyHints(QObject &root, const std::vector<HintEntry> &table);

// How long a tooltip stays up.
constexpr int ToolTipMillis = 30000;
