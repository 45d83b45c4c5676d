// The settings file: read once while the window is created, written once when it closes.
#include "app/tform1.h"
#include "overview/learning_progress.h"
#include "ui/prompts.h"
#include "view/answer_modes.h"
#include "view/card_view.h"
#include "view/font_settings.h"

#include <QSplitter>

void TForm1::ReadSettings() {
    bool readable = true;
    settings_ = LoadSettings(SettingsFilePath(), &readable);
    // Told now and never again: closing leaves such a file alone without a word.
    settingsUnreadable_ = !readable;
    if (settingsUnreadable_)
        prompts_.Warning(this, UnreadableSettingsMessage(SettingsFilePath()));
    const AppSettings &s = settings_;

    placement_.Apply(QRect(s.left, s.top, s.width, s.height));
    drill_.ApplySettings({s.jyun, static_cast<DisplayPatternKind>(s.panelPattern), s.count,
                          DrillDirection(s.drillDirection)});
    cells_->ImagePercent = s.imageSize;
    fonts_->Load(s);

    Yajirusi = s.yajirusi;
    AutoSave = s.autoSave;
    UpdateArrowCaptions(); // both check boxes and the arrow captions
    ApplyPattern();
    HelpComment = s.helpComment;
    ApplyHelpComment();
    modes_->Load(s);
    progress_->ApplyStudySettings({s.newCardsPerDay, s.scheduler, s.desiredRetention});

    cells_->SetMondaiHeight(s.mondaiHeight);
    // The pane may be hidden at close, so a dragged height is remembered as it happens.
    connect(cells_->Splitter(), &QSplitter::splitterMoved, this,
            [this] { settings_.mondaiHeight = cells_->MondaiHeight(); });

    ShowRecentPaths(s.fileNames);
}

void TForm1::WriteSettings() {
    AppSettings &s = settings_;
    const QRect outer = placement_.RestoredOuterBounds();
    s.top = outer.top();
    s.left = outer.left();
    s.width = outer.width();
    s.height = outer.height();
    s.count = drill_.SubRows();
    s.imageSize = cells_->ImagePercent;
    s.jyun = drill_.Jyun();
    s.yajirusi = Yajirusi;
    s.autoSave = AutoSave;
    s.panelPattern = drill_.DisplayPattern();
    s.helpComment = HelpComment;
    modes_->Store(s);
    const StudySettingsDialog::Values &study = progress_->StudySettings();
    s.newCardsPerDay = study.newCardsPerDay;
    s.scheduler = study.scheduler;
    s.desiredRetention = study.retention;
    fonts_->Store(s);
    if (Panel_Mondai->isVisible())
        s.mondaiHeight = cells_->MondaiHeight();
    s.fileNames = RecentPaths();
    if (settingsUnreadable_)
        return;
    if (const std::optional<QString> failure = StoreSettings(s, SettingsFilePath()))
        prompts_.Error(this, *failure);
}

void TForm1::ClickStudySettings() {
    const StudySettingsDialog::Values before = progress_->StudySettings();
    StudySettingsDialog dialog(before, this);
    dialog.SetFitter([this, &dialog] { return progress_->FitToLog(&dialog); });
    if (dialog.exec() != QDialog::Accepted || dialog.Chosen() == before)
        return;
    progress_->ApplyStudySettings(dialog.Chosen());
    // A new limit shapes the pass from its start; the standard order builds it anew now.
    if (dialog.Chosen().newCardsPerDay != before.newCardsPerDay && drill_.Jyun() == 0)
        drill_.ApplyOrder();
    RefreshView();
}

void TForm1::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    // The keyboard starts out with the drill (or the typing mode's answer box), not in a card's
    // text (a window coming back from the task bar keeps its focus).
    if (!event->spontaneous()) {
        ParkFocus();
        modes_->FocusBox();
    }
    placement_.CheckFrame();
    placement_.Shown();
}

void TForm1::moveEvent(QMoveEvent *event) {
    QMainWindow::moveEvent(event);
    placement_.CheckFrame();
}

void TForm1::changeEvent(QEvent *event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::ActivationChange)
        placement_.CheckFrame();
}
