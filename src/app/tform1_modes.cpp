// The drill modes' wiring: their box under the question, their note in the status line.
#include "app/tform1.h"

#include "view/answer_modes.h"
#include "view/card_view.h"

#include <QLabel>
#include <QStatusBar>

void TForm1::CreateAnswerModes() {
    modes_ = std::make_unique<AnswerModes>(drill_, deck_, this);
    cells_->PlaceUnderQuestion(modes_->Panel());
    StatusBar1->addPermanentWidget(modes_->StatusLabel());
    // A message needs the line's width (a merge's count, a reload): the mode's note stands aside
    // while one is shown.
    connect(StatusBar1, &QStatusBar::messageChanged, modes_->StatusLabel(),
            [label = modes_->StatusLabel()](const QString &text) {
                label->setVisible(text.isEmpty());
            });
    modes_->SetStepHook([this] { StopCardSound(); });
    modes_->SetNotice([this](const QString &text) { ShowStatus(text); });
    modes_->SetRedraw([this] {
        RefreshView();
        AutoSpeak();
    });
    modes_->SetLeaveBox([this] { ParkFocus(); });
}
