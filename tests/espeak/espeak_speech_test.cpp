// Drives the real espeak-ng library. espeak-ng keeps one engine per process and does not start
// reliably a second time, so this program holds the one test that starts it for real.
#include "speech/espeak_speech.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(EspeakSpeech, SpeaksEnglishAndKanaWithTheInstalledVoices) {
    long samples = 0;
    EspeakSpeech speech([&samples](const short *, int count) { samples += count; }, {});
    ASSERT_TRUE(speech.Create());

    const int count = speech.VoiceCount().value_or(0);
    ASSERT_GT(count, 1);
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << speech.VoiceName(i).value_or(QString());
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    })) << "a stable order";
    EXPECT_EQ(speech.VoiceName(speech.CurrentVoice().value_or(0)),
              QStringLiteral("English (America) [en-us]"));

    ASSERT_TRUE(speech.Speak(QStringLiteral("Hello! I can speak English.\n")));
    EXPECT_GT(samples, 10000) << "about a second of speech at 22050 Hz";

    const auto japanese = std::find_if(names.begin(), names.end(), [](const QString &name) {
        return name.endsWith(QStringLiteral("[ja]"));
    });
    ASSERT_NE(japanese, names.end());
    ASSERT_TRUE(speech.SelectVoice(int(japanese - names.begin()) + 1));
    samples = 0;
    ASSERT_TRUE(speech.Speak(QStringLiteral("あいうえお")));
    EXPECT_GT(samples, 1000);
    EXPECT_TRUE(speech.Stop());

    EXPECT_FALSE(speech.SelectVoice(count + 1));
    EXPECT_EQ(speech.CurrentVoice(), int(japanese - names.begin()) + 1)
        << "a failed selection keeps the voice";
}
