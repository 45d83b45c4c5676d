#pragma once

#include "drill/drill.h"

#include <QString>
#include <QStringList>

#include <string>

// Records every call the drill makes, in order, and answers the questions from presets.
// When attached to a drill its RefreshView checks that the drill has a current card wherever
// it stands on one: the drill adopts it before it asks for a redraw.
class FakeDrillHost : public DrillHost {
public:
    QStringList calls;
    bool restartAnswer = false;
    bool resetAnswer = false;
    Drill *drill = nullptr;

    void RefreshView() override {
        if (drill && !drill->Current() && drill->QueuePos() >= 1 &&
            drill->QueuePos() <= qsizetype(drill->Queue().size()))
            calls << QStringLiteral("UnadoptedRedraw");
        calls << QStringLiteral("RefreshView");
    }
    void AutoSpeak() override { calls << QStringLiteral("AutoSpeak"); }
    bool AskRestartStudy() override {
        calls << QStringLiteral("AskRestartStudy");
        return restartAnswer;
    }
    bool ConfirmResetAll() override {
        calls << QStringLiteral("ConfirmResetAll");
        return resetAnswer;
    }
    void ShowBookmarkExempt() override { calls << QStringLiteral("ShowBookmarkExempt"); }
    void BookmarkNotInQueue() override { calls << QStringLiteral("BookmarkNotInQueue"); }
    void OrderApplied(int jyun) override { calls << QStringLiteral("OrderApplied:%1").arg(jyun); }

    // The calls since the last Take, joined by spaces.
    std::string Take() {
        const std::string joined = calls.join(QLatin1Char(' ')).toStdString();
        calls.clear();
        return joined;
    }
};
