#include "speech/sound_player.h"

#ifdef KARDEON_HAVE_MULTIMEDIA
#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

namespace {

class MediaSoundPlayer : public SoundPlayer {
public:
    MediaSoundPlayer() { player_.setAudioOutput(&output_); }
    bool Available() const { return player_.isAvailable(); }
    void Play(const QString &path) override {
        player_.stop();
        player_.setSource(QUrl::fromLocalFile(path));
        player_.play();
    }
    void Stop() override { player_.stop(); }

private:
    QAudioOutput output_;
    QMediaPlayer player_;
};

} // namespace

std::unique_ptr<SoundPlayer> CreateSoundPlayer() {
    auto player = std::make_unique<MediaSoundPlayer>();
    if (!player->Available())
        return nullptr;
    return player;
}
#else
std::unique_ptr<SoundPlayer> CreateSoundPlayer() {
    return nullptr;
}
#endif
