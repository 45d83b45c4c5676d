#include "media/sound_player.h"

#ifdef KARDEON_HAVE_MULTIMEDIA
#include <QAudioDevice>
#include <QAudioOutput>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

namespace {

// Qt's GStreamer media backend crashes while it builds a player when GStreamer's base and good
// plugins are missing (a bare GStreamer core is common), so the player is only made when the
// plugins it builds from are installed.
bool HasGStreamerPlugins() {
    QStringList folders = qEnvironmentVariable("GST_PLUGIN_SYSTEM_PATH_1_0")
                              .split(QLatin1Char(':'), Qt::SkipEmptyParts);
    folders +=
        qEnvironmentVariable("GST_PLUGIN_PATH_1_0").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    folders << QStringLiteral("/usr/lib64/gstreamer-1.0")
            << QStringLiteral("/usr/lib/gstreamer-1.0");
    const QDir lib(QStringLiteral("/usr/lib"));
    for (const QString &arch : lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        folders << lib.filePath(arch + QStringLiteral("/gstreamer-1.0"));
    for (const QString &folder : folders) {
        const QDir dir(folder);
        bool all = true;
        for (const char *plugin : {"libgstplayback.so", "libgstaudioconvert.so", "libgstvolume.so",
                                   "libgstautodetect.so"})
            all = all && QFileInfo::exists(dir.filePath(QString::fromLatin1(plugin)));
        if (all)
            return true;
    }
    return false;
}

class MediaSoundPlayer : public SoundPlayer {
public:
    MediaSoundPlayer() {
        player_.setAudioOutput(&output_);
        QObject::connect(
            &player_, &QMediaPlayer::errorOccurred, &player_,
            [this](QMediaPlayer::Error, const QString &details) { ReportFailure(details); });
    }
    bool Available() const { return player_.isAvailable(); }
    void Play(const QString &path) override {
        player_.stop();
        // Without any output the backend plays into nothing and reports no error.
        if (!HasAudioOutput()) {
            ReportFailure(NoAudioOutputDetails());
            return;
        }
        // A device plugged in (or a sound server started) since the last sound is used.
        output_.setDevice(QMediaDevices::defaultAudioOutput());
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
    if (!HasGStreamerPlugins())
        return nullptr;
    auto player = std::make_unique<MediaSoundPlayer>();
    if (!player->Available())
        return nullptr;
    return player;
}

bool HasAudioOutput() {
    return !QMediaDevices::audioOutputs().isEmpty();
}

QString SoundUnavailableMessage() {
    return QStringLiteral("カードの音声ファイルを再生できません。\n"
                          "再生には GStreamer のプラグインが要ります。パッケージ "
                          "gstreamer1.0-plugins-base と gstreamer1.0-plugins-good を"
                          "インストールしてから Kardeon を起動し直してください。");
}
#else
bool HasAudioOutput() {
    return false;
}

std::unique_ptr<SoundPlayer> CreateSoundPlayer() {
    return nullptr;
}

QString SoundUnavailableMessage() {
    return QStringLiteral("カードの音声ファイルを再生できません。\n"
                          "この Kardeon は音声の再生 (Qt Multimedia) なしで作られています。");
}
#endif

QString SoundFailedNotice() {
    return QStringLiteral("カードの音声を再生できません。");
}

QString NoAudioOutputDetails() {
    return QStringLiteral("音声の出力先がありません。サウンドデバイスもサウンドサーバー "
                          "(PipeWire, PulseAudio) も見つかりませんでした。");
}
