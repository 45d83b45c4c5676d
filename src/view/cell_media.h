#pragma once

#include "media/picture_loader.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class CardView;
class SoundPlayer;

// Shows what the references in the shown card texts point to: the first picture of a cell in
// its picture area (setting the cell's picture flag), and a play button for the first sound.
// The texts and the deck are never changed.
class CellMedia : public QObject {
    Q_OBJECT
public:
    // `makePlayer` is asked for a sound player the first time a card refers to a sound.
    using PlayerFactory = std::function<std::unique_ptr<SoundPlayer>()>;
    CellMedia(CardView &cells, PlayerFactory makePlayer, QObject *parent = nullptr);
    ~CellMedia() override;

    // Replaces the source of the sound player; a player made before is dropped.
    void SetPlayerFactory(PlayerFactory makePlayer);
    // Where references are looked up: below the program's folder first, then the deck's.
    void SetFolders(const QString &programFolder, const QString &deckFolder);
    void SetProgramFolder(const QString &folder) { programFolder_ = folder; }
    void SetDeckFolder(const QString &folder) { deckFolder_ = folder; }
    // The deck file whose folder is looked in; an unnamed deck has none.
    void SetDeckFile(const QString &deckFile);
    // The open deck's file, asked before every look-up, so a new deck speaks its first card
    // from its own folder before its first redraw.
    void SetDeckFileSource(std::function<QString()> deckFile) { deckFile_ = std::move(deckFile); }
    // Dragging a picture's edge sets the share of every picture cell and lays the texts out
    // again.
    void FollowImageShares();
    // Looks at every shown cell again; emits layoutChanged when a picture flag changed.
    void Update();
    // The file of the first sound a text refers to; empty when it names none that exists.
    QString SoundOf(const QString &text) const;
    // Plays a sound file; false when sounds cannot be played here.
    bool PlaySound(const QString &path);
    // Plays the first sound a card field (in its stored form) refers to; false when it names
    // none that exists or sounds cannot be played here.
    bool PlayFieldSound(const QByteArray &storedField);
    void StopSound();
    PictureLoader &Loader() { return loader_; }

Q_SIGNALS:
    void layoutChanged();
    // A shown card refers to a sound that cannot be played here; sent once.
    void soundsUnavailable();
    // A sound was not played (no output, a file the player cannot read); sent once a run.
    void soundFailed(const QString &details);

private:
    bool UpdateCell(int kind, int row);
    SoundPlayer *Player();
    bool CanPlay(const QString &sound);

    CardView &cells_;
    PlayerFactory makePlayer_;
    std::unique_ptr<SoundPlayer> player_;
    bool playerTried_ = false;
    bool unavailableTold_ = false;
    bool failureTold_ = false;
    QString programFolder_;
    QString deckFolder_;
    std::function<QString()> deckFile_;
    PictureLoader loader_;
};
