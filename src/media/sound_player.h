#pragma once

#include <QString>

#include <memory>

// Plays the recorded sounds that cards refer to, without waiting for them.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void Play(const QString &path) = 0;
    virtual void Stop() = 0;
};

// The player of this desktop, or null when no sound can be played here (Kardeon built without
// Qt Multimedia, or no media backend installed): cards then show no play button.
std::unique_ptr<SoundPlayer> CreateSoundPlayer();

// What the user is told when a card refers to a sound and CreateSoundPlayer made no player:
// why, and what to install.
QString SoundUnavailableMessage();
