#pragma once

#include <QString>

#include <functional>
#include <memory>

// Plays the recorded sounds that cards refer to, without waiting for them.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void Play(const QString &path) = 0;
    virtual void Stop() = 0;

    // Called, now or later, with the player's own words each time a sound could not be played.
    using FailureHandler = std::function<void(const QString &details)>;
    void OnFailure(FailureHandler handler) { failure_ = std::move(handler); }

protected:
    void ReportFailure(const QString &details) const {
        if (failure_)
            failure_(details);
    }

private:
    FailureHandler failure_;
};

// The player of this desktop, or null when no sound can be played here (Kardeon built without
// Qt Multimedia, or no media backend installed): cards then show no play button.
std::unique_ptr<SoundPlayer> CreateSoundPlayer();

// What the user is told when a card refers to a sound and CreateSoundPlayer made no player:
// why, and what to install.
QString SoundUnavailableMessage();

// Whether this desktop has a sound output at all (a sound device or a sound server). Asked on
// first use: looking for devices costs time.
bool HasAudioOutput();
// The status-line notice when a card's sound was not played, and why when no output exists.
QString SoundFailedNotice();
QString NoAudioOutputDetails();
