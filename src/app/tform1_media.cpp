// Pictures and sounds that the shown card texts refer to.
#include "app/tform1.h"

#include "media/sound_player.h"
#include "ui/prompts.h"
#include "view/card_view.h"
#include "view/cell_media.h"

#include <QCoreApplication>

void TForm1::CreateCellMedia() {
    media_ = new CellMedia(*cells_, CreateSoundPlayer, this);
    media_->SetProgramFolder(QCoreApplication::applicationDirPath());
    connect(media_, &CellMedia::layoutChanged, this, &TForm1::SizeCellTexts);
    // Told after the redraw that found the sound, not in the middle of it.
    connect(
        media_, &CellMedia::soundsUnavailable, this,
        [this] { prompts_.Inform(this, SoundUnavailableMessage(), {PromptButton::Ok}); },
        Qt::QueuedConnection);
    connect(media_, &CellMedia::soundFailed, this,
            [this](const QString &details) { ShowNotice(SoundFailedNotice(), details); });
    for (int kind = KindQuestion; kind <= KindAnswer; ++kind)
        for (int row = 0; row < CardView::RowCount; ++row)
            connect(cells_->Image(kind, row), &TMyImage::shareDragged, this,
                    &TForm1::SetImagePercent);
}

void TForm1::UpdateCellMedia() {
    if (!media_)
        return;
    media_->SetDeckFile(deck_.FileName());
    media_->Update();
}

void TForm1::SetImagePercent(int percent) {
    cells_->ImagePercent = percent;
    settings_.imageSize = percent;
    SizeCellTexts();
}

void TForm1::StopCardSound() {
    if (media_)
        media_->StopSound();
}

bool TForm1::PlayRecordedVoice(const QByteArray &storedField) {
    if (!media_)
        return false;
    // A new deck speaks its first card before its first redraw.
    media_->SetDeckFile(deck_.FileName());
    return media_->PlayFieldSound(storedField);
}
