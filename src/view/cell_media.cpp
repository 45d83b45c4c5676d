#include "view/cell_media.h"

#include "deck/card.h"
#include "deck/media_reference.h"
#include "deck/sjis_codec.h"
#include "media/sound_player.h"
#include "view/card_view.h"
#include "view/cell_image.h"

#include <QFileInfo>
#include <QToolButton>

CellMedia::CellMedia(CardView &cells, PlayerFactory makePlayer, QObject *parent)
    : QObject(parent), cells_(cells), makePlayer_(std::move(makePlayer)) {
    connect(&loader_, &PictureLoader::pictureReady, this, &CellMedia::Update);
    for (int row = 0; row < CardView::RowCount; ++row)
        for (int kind : {KindQuestion, KindAnswer}) {
            TMyPane *pane = cells_.Pane(kind, row);
            connect(pane->SoundButton(), &QToolButton::clicked, this,
                    [this, pane] { PlaySound(SoundOf(pane->Memo()->toPlainText())); });
        }
}

CellMedia::~CellMedia() = default;

void CellMedia::SetPlayerFactory(PlayerFactory makePlayer) {
    makePlayer_ = std::move(makePlayer);
    player_.reset();
    playerTried_ = false;
}

void CellMedia::SetFolders(const QString &programFolder, const QString &deckFolder) {
    programFolder_ = programFolder;
    deckFolder_ = deckFolder;
}

void CellMedia::SetDeckFile(const QString &deckFile) {
    deckFolder_ = deckFile.isEmpty() ? QString() : QFileInfo(deckFile).absolutePath();
}

void CellMedia::FollowImageShares() {
    for (int kind = KindQuestion; kind <= KindAnswer; ++kind)
        for (int row = 0; row < CardView::RowCount; ++row)
            connect(cells_.Image(kind, row), &TMyImage::shareDragged, this, [this](int percent) {
                cells_.ImagePercent = percent;
                Q_EMIT layoutChanged();
            });
}

void CellMedia::Update() {
    if (deckFile_)
        SetDeckFile(deckFile_());
    bool flagsChanged = false;
    for (int row = 0; row < CardView::RowCount; ++row)
        for (int kind : {KindQuestion, KindAnswer})
            flagsChanged |= UpdateCell(kind, row);
    if (flagsChanged)
        Q_EMIT layoutChanged();
}

bool CellMedia::UpdateCell(int kind, int row) {
    TMyPane *pane = cells_.Pane(kind, row);
    TMyMemo *memo = pane->Memo();
    TMyImage *image = cells_.Image(kind, row);
    // Cells of a hidden pattern load nothing; switching patterns redraws and looks again.
    const bool seen = memo->Shown && pane->isVisibleTo(pane->window());
    const QString text = seen ? memo->toPlainText() : QString();

    QString picture;
    const MediaReference reference = FirstReference(text, MediaKind::Picture);
    if (reference.kind == MediaKind::Picture)
        picture = ResolveReference(reference.path, programFolder_, deckFolder_);
    const PictureLoader::Result loaded =
        picture.isEmpty() ? PictureLoader::Result{PictureLoader::State::Broken, {}}
                          : loader_.Picture(picture);
    // A file that is there but cannot be decoded gets a note naming it, not an empty area.
    const bool unreadable = !picture.isEmpty() && loaded.state == PictureLoader::State::Broken;
    if (loaded.state == PictureLoader::State::Ready)
        image->SetPicture(loaded.image);
    else if (unreadable)
        image->ShowUnreadable(QFileInfo(picture).fileName());
    else
        image->ClearPicture();
    // A picture still loading keeps its room, so the text does not jump when it arrives.
    const int flag = loaded.state == PictureLoader::State::Broken && !unreadable ? 0 : 1;
    int &stored = cells_.CellImageFlag[kind - 1][row];
    const bool changed = stored != flag;
    stored = flag;

    pane->SetSoundButtonVisible(CanPlay(SoundOf(text)));
    return changed;
}

QString CellMedia::SoundOf(const QString &text) const {
    const MediaReference reference = FirstReference(text, MediaKind::Sound);
    if (reference.kind != MediaKind::Sound)
        return {};
    return ResolveReference(reference.path, programFolder_, deckFolder_);
}

bool CellMedia::CanPlay(const QString &sound) {
    if (sound.isEmpty())
        return false;
    if (Player())
        return true;
    if (!unavailableTold_) {
        unavailableTold_ = true;
        Q_EMIT soundsUnavailable();
    }
    return false;
}

SoundPlayer *CellMedia::Player() {
    if (!playerTried_) {
        playerTried_ = true;
        if (makePlayer_)
            player_ = makePlayer_();
        if (player_)
            player_->OnFailure([this](const QString &details) {
                if (failureTold_)
                    return;
                failureTold_ = true;
                Q_EMIT soundFailed(details);
            });
    }
    return player_.get();
}

bool CellMedia::PlaySound(const QString &path) {
    if (path.isEmpty() || !Player())
        return false;
    player_->Play(path);
    return true;
}

bool CellMedia::PlayFieldSound(const QByteArray &storedField) {
    if (deckFile_)
        SetDeckFile(deckFile_());
    const QString text = sjis::ToDisplay(DisplayForm(storedField)).text;
    return PlaySound(SoundOf(text));
}

void CellMedia::StopSound() {
    if (player_)
        player_->Stop();
}
