#pragma once

#include "media/sound_player.h"

#include <QStringList>

// Writes what it is asked to play, and "stop", into a list the test reads.
class RecordingSoundPlayer : public SoundPlayer {
public:
    explicit RecordingSoundPlayer(QStringList *log) : log_(log) {}
    void Play(const QString &path) override { log_->append(path); }
    void Stop() override { log_->append(QStringLiteral("stop")); }

private:
    QStringList *log_;
};
