#pragma once

#include "deck/recent_files.h"
#include "settings/settings.h"

#include <functional>

class AnswerModes;
class CardScreen;
class CardView;
class DeckProgress;
class Drill;
class DrillControls;
class FontSettings;
class HelpMenu;
class Prompts;
class QWidget;
class WindowPlacement;

// The settings file as the main window uses it: read once while the window is created and
// handed to the owner of each value, gathered back from them and written once when it closes.
// Values whose controls do not exist yet stay in `values` and are written back unchanged.
class WindowSettings {
public:
    // The owners of what the settings set.
    struct Owners {
        WindowPlacement &placement;
        Drill &drill;
        CardView &cells;
        QWidget &mainPane; // the main view's panel: the question pane's height counts while shown
        CardScreen &screen;
        FontSettings &fonts;
        DrillControls &controls;
        HelpMenu &help;
        AnswerModes &modes;
        DeckProgress &progress;
        std::function<RecentFileList::Paths()> recentPaths;
        std::function<void(const RecentFileList::Paths &)> showRecentPaths;
    };
    WindowSettings(AppSettings &values, Prompts &prompts, QWidget &window);

    // Reads the file into `values` and every owner; an unreadable file is told about now.
    void ReadInto(const Owners &owners);
    // Gathers every owner's values and writes the file, unless it was unreadable.
    void WriteFrom(const Owners &owners);

private:
    AppSettings &values_;
    Prompts &prompts_;
    QWidget &window_;
    bool unreadable_ = false; // never written back then
};
