// espeak-ng without its data: the engine must fail to start, never end the program, and say so.
// Only failing starts happen in this test program (a started engine does not start twice).
#include "speech/espeak_speech.h"
#include "speech/start_gate.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(EspeakStart, WithoutDataTheBackgroundStartReportsFailure) {
    QTemporaryDir emptyData;
    const QByteArray saved = qgetenv("ESPEAK_DATA_PATH");
    qputenv("ESPEAK_DATA_PATH", emptyData.path().toLocal8Bit());
    bool failed = false;
    {
        EspeakSpeech speech;
        speech.OnLateFailure([&failed] { failed = true; });
        EXPECT_TRUE(speech.Create()) << "starting goes on in the background";
        // Kept for later or refused, depending on how far the start has got.
        speech.Speak(QStringLiteral("."));
        EXPECT_TRUE(QTest::qWaitFor([&failed] { return failed; }, 10000));
        EXPECT_FALSE(speech.Speak(QStringLiteral("x")));
        EXPECT_FALSE(speech.VoiceCount());
        // espeak-ng's own words on why, for the notice's details.
        EXPECT_FALSE(speech.FailureDetails().isEmpty());
    }
    if (saved.isNull())
        qunsetenv("ESPEAK_DATA_PATH");
    else
        qputenv("ESPEAK_DATA_PATH", saved);
}

// Start-up holds the engine back until the window is drawn: nothing loads meanwhile, what is
// said is kept, and the start goes on once released.
TEST(EspeakStart, AHeldStartWaitsForTheRelease) {
    QTemporaryDir emptyData;
    const QByteArray saved = qgetenv("ESPEAK_DATA_PATH");
    qputenv("ESPEAK_DATA_PATH", emptyData.path().toLocal8Bit());
    bool failed = false;
    speech_start::Hold();
    {
        EspeakSpeech speech;
        speech.OnLateFailure([&failed] { failed = true; });
        EXPECT_TRUE(speech.Create());
        EXPECT_FALSE(QTest::qWaitFor([&failed] { return failed; }, 300))
            << "the engine did not try to load while held";
        EXPECT_TRUE(speech.Speak(QStringLiteral("kept"))) << "kept for when it is ready";
        speech_start::Release();
        EXPECT_TRUE(QTest::qWaitFor([&failed] { return failed; }, 10000));
    }
    if (saved.isNull())
        qunsetenv("ESPEAK_DATA_PATH");
    else
        qputenv("ESPEAK_DATA_PATH", saved);
}
