#include "app/window_settings.h"

#include "app/help_menu.h"
#include "app/window_placement.h"
#include "drill/drill.h"
#include "progress/deck_progress.h"
#include "ui/prompts.h"
#include "view/answer_modes.h"
#include "view/card_screen.h"
#include "view/card_view.h"
#include "view/drill_controls.h"
#include "view/font_settings.h"

#include <QSplitter>

WindowSettings::WindowSettings(AppSettings &values, Prompts &prompts, QWidget &window)
    : values_(values), prompts_(prompts), window_(window) {}

void WindowSettings::ReadInto(const Owners &owners) {
    bool readable = true;
    values_ = LoadSettings(SettingsFilePath(), &readable);
    // Told now and never again: closing leaves such a file alone without a word.
    unreadable_ = !readable;
    if (unreadable_)
        prompts_.Warning(&window_, UnreadableSettingsMessage(SettingsFilePath()));
    const AppSettings &s = values_;

    owners.placement.Apply(QRect(s.left, s.top, s.width, s.height));
    owners.drill.ApplySettings({s.jyun, static_cast<DisplayPatternKind>(s.panelPattern), s.count,
                                DrillDirection(s.drillDirection)});
    owners.cells.ImagePercent = s.imageSize;
    owners.fonts.Load(s);

    owners.controls.SetArrowKeys(s.yajirusi);
    owners.controls.SetAutoSave(s.autoSave);
    owners.screen.ApplyPattern();
    owners.help.ShowComments(s.helpComment);
    owners.modes.Load(s);
    owners.progress.ApplyStudySettings({s.newCardsPerDay, s.scheduler, s.desiredRetention});

    owners.cells.SetMondaiHeight(s.mondaiHeight);
    // The pane may be hidden at close, so a dragged height is remembered as it happens.
    CardView &cells = owners.cells;
    QObject::connect(cells.Splitter(), &QSplitter::splitterMoved, &window_,
                     [this, &cells] { values_.mondaiHeight = cells.MondaiHeight(); });

    owners.showRecentPaths(s.fileNames);
}

void WindowSettings::WriteFrom(const Owners &owners) {
    AppSettings &s = values_;
    const QRect outer = owners.placement.RestoredOuterBounds();
    s.top = outer.top();
    s.left = outer.left();
    s.width = outer.width();
    s.height = outer.height();
    s.count = owners.drill.SubRows();
    s.imageSize = owners.cells.ImagePercent;
    s.jyun = owners.drill.Jyun();
    s.yajirusi = owners.controls.ArrowKeys();
    s.autoSave = owners.controls.AutoSave();
    s.panelPattern = owners.drill.DisplayPattern();
    s.helpComment = owners.help.CommentsShown();
    owners.modes.Store(s);
    const StudyValues &study = owners.progress.StudySettings();
    s.newCardsPerDay = study.newCardsPerDay;
    s.scheduler = study.scheduler;
    s.desiredRetention = study.retention;
    owners.fonts.Store(s);
    if (owners.mainPane.isVisible())
        s.mondaiHeight = owners.cells.MondaiHeight();
    s.fileNames = owners.recentPaths();
    if (unreadable_)
        return;
    if (const std::optional<QString> failure = StoreSettings(s, SettingsFilePath()))
        prompts_.Error(&window_, *failure);
}
