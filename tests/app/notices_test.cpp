// What the user is told when a sound, speech, the review log or the manual fails, and how the
// overview's charts show their edges.
#include "app/help_page.h"
#include "media/sound_player.h"
#include "overview/overview_charts.h"
#include "progress/review_recorder.h"
#include "settings/settings.h"
#include "speech/speech_output.h"
#include "support/fake_speech.h"
#include "support/window_fixture.h"
#include "view/cell_media.h"
#include "view/hint_tracker.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStatusBar>
#include <QTest>

namespace {

// Fails every sound, as a desktop without any output does.
class FailingSoundPlayer : public SoundPlayer {
public:
    explicit FailingSoundPlayer(int *plays) : plays_(plays) {}
    void Play(const QString &) override {
        ++*plays_;
        ReportFailure(QStringLiteral("no output here"));
    }
    void Stop() override {}

private:
    int *plays_;
};

class NoticeTest : public WindowTest {
protected:
    QStatusBar *Status() const { return Find<QStatusBar>("StatusBar1"); }
    HintTracker *Hints() const { return form->findChild<HintTracker *>(); }
};

// Every lasting notice fits the status line at the window's first size, its details are in the
// line's tooltip (shown whatever the help-comment mode), and a hint over it hides it only while
// the hint lasts.
TEST_F(NoticeTest, NoticesAreReadWholeAndOutlastHints) {
    const QString notices[] = {SoundFailedNotice(), SpeechOutput::CannotStartNotice(),
                               SpeechOutput::CannotSpeakNotice(), SpeechOutput::NoOutputNotice(),
                               ReviewRecorder::UnwritableNotice()};
    ResizeOuter(567, 554);
    const QFontMetrics metrics(Status()->font());
    for (const QString &notice : notices) {
        SCOPED_TRACE(notice.toStdString());
        EXPECT_LE(metrics.horizontalAdvance(notice) + metrics.averageCharWidth() * 2,
                  Status()->width());
        form->ShowNotice(notice, QStringLiteral("/a/long/path/to/the/file.log"));
        EXPECT_EQ(Status()->currentMessage(), notice);
        Hints()->SetCurrentHint(QStringLiteral("メニューの説明"));
        EXPECT_EQ(Status()->currentMessage(), QStringLiteral("メニューの説明"));
        Hints()->SetCurrentHint(QString());
        EXPECT_EQ(Status()->currentMessage(), notice);
        EXPECT_EQ(ToolTipFor(Status()), notice + QStringLiteral("\n/a/long/path/to/the/file.log"));
    }
}

// A sound that cannot be played is told once a run, with the player's own words.
TEST_F(NoticeTest, AFailingSoundIsToldOnceWithThePlayersWords) {
    int plays = 0;
    form->Media().SetPlayerFactory(
        [&plays] { return std::make_unique<FailingSoundPlayer>(&plays); });
    const QString sound = dir.filePath(QStringLiteral("neko.wav"));
    QFile(sound).open(QIODevice::WriteOnly);
    int told = 0;
    QObject::connect(&form->Media(), &CellMedia::soundFailed, [&told] { ++told; });
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(form->Media().PlaySound(sound));
    EXPECT_EQ(plays, 3);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(Status()->currentMessage(), SoundFailedNotice());
    EXPECT_TRUE(Status()->toolTip().contains(QStringLiteral("no output here")));
    EXPECT_TRUE(prompts.asked.empty());
}

// Speech that cannot be heard is told once: no output, a start that failed (with espeak-ng's
// words), a text that failed; never a box, and never one notice per text.
TEST(SpeechNotices, EachFailureIsToldOnceInTheStatusLine) {
    struct Case {
        const char *name;
        FakeSpeech::Script script;
        QString notice;
        QString words;
    };
    FakeSpeech::Script noOutput, noData, failingText;
    noOutput.noOutput = true;
    noData.createFails = true;
    noData.failureWords = QStringLiteral("No such file or directory");
    failingText.failureWords = QStringLiteral("Internal error");
    const Case cases[] = {
        {"no output", noOutput, SpeechOutput::NoOutputNotice(), {}},
        {"no voice data", noData, SpeechOutput::CannotStartNotice(), noData.failureWords},
        {"a failing text", failingText, SpeechOutput::CannotSpeakNotice(),
         failingText.failureWords},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        {
            QFile file(SettingsFilePath());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("[Option]\r\nSpeakEnglish=1\r\n");
        }
        NextFakeSpeech() = c.script;
        ScriptedPrompts prompts;
        TForm1 form(prompts, FixedDayClock(TestToday));
        form.show();
        // The text fails once the engine has started.
        if (c.notice == SpeechOutput::CannotSpeakNotice())
            LastFakeSpeech()->Edit().speakFails = true;
        auto *status = form.findChild<QStatusBar *>();
        int shown = 0;
        QObject::connect(status, &QStatusBar::messageChanged, [&shown, &c](const QString &text) {
            if (text == c.notice)
                ++shown;
        });
        form.OpenDeckFile(
            WriteDeck(dir, QStringLiteral("deck.csv"),
                      {QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,")}));
        form.ClickSusume();
        form.ClickSusume();
        form.ClickSusume();
        EXPECT_EQ(status->currentMessage(), c.notice);
        EXPECT_TRUE(status->toolTip().contains(c.words));
        EXPECT_LE(shown, 1);
        EXPECT_TRUE(prompts.asked.empty());
        prompts.Answer(PromptButton::No); // the drill changed the deck
        form.close();
    }
}

// xdg-open waits for the browser it starts, so its exit code is often the browser's: only an
// opener that did not start, or that found no browser (3), means no browser showed the page.
TEST(HelpOpener, SaysNoBrowserOnlyWhenTheOpenerFailed) {
    QTemporaryDir dir;
    auto script = [&dir](int code) {
        const QString path = dir.filePath(QStringLiteral("opener-%1").arg(code));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nexit " + QByteArray::number(code) + "\n");
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        return path;
    };
    const struct {
        QString program;
        bool failed;
    } cases[] = {
        {dir.filePath(QStringLiteral("missing-opener")), true},
        {script(3), true},  // no program to open the page with
        {script(0), false}, // the page was handed over
        {script(1), false}, // the browser it waited for ended badly
        {script(4), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.program.toStdString());
        bool failed = false;
        DesktopOpener(c.program)(QUrl::fromLocalFile(QStringLiteral("/tmp/x.html")),
                                 [&failed] { failed = true; });
        // Done once the process object is gone.
        EXPECT_TRUE(QTest::qWaitFor(
            [] { return qApp->findChildren<QProcess *>(Qt::FindDirectChildrenOnly).isEmpty(); },
            5000));
        QTest::qWait(10);
        EXPECT_EQ(failed, c.failed);
    }
}

// The weekday names beside the heat map are whole, at 100 % and 200 %: the height of the ink of
// 月 is the height of the glyph.
TEST(HeatMapLabels, WeekdayNamesAreNotClipped) {
    HeatMap map;
    std::vector<qint32> counts(365, 3);
    map.SetDays(counts, 46000);
    const QFontMetrics metrics(map.font());
    // Rows half a line high: a label is twice its row.
    map.resize(map.sizeHint().width(), metrics.height() * 7);
    const int labelWidth =
        metrics.horizontalAdvance(QStringLiteral("月")) + metrics.height() * 3 / 4;
    const int glyph = metrics.tightBoundingRect(QStringLiteral("月")).height();
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        QImage image(map.size() * scale, QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        map.render(&image);
        const QRgb background = image.pixel(0, image.height() - 1);
        // The first run of rows with ink left of the cells, below the title, is 月.
        int top = -1, bottom = -1;
        for (int y = metrics.height() * 2 * scale; y < image.height(); ++y) {
            bool ink = false;
            for (int x = 0; x < labelWidth * scale && !ink; ++x)
                ink = image.pixel(x, y) != background;
            if (ink && top < 0)
                top = y;
            if (ink)
                bottom = y;
            else if (top >= 0)
                break;
        }
        ASSERT_GE(top, 0) << "no weekday name drawn";
        EXPECT_GE(bottom - top + 1, (glyph - 1) * scale);
    }
}

// On the rests' logarithmic axis one card beside a million still has a bar; none has none.
TEST(RestChart, OneCardBesideAMillionIsVisible) {
    BarChart chart;
    chart.resize(480, 300);
    chart.SetBars({1'000'000, 1, 0, 12}, {}, {});
    chart.SetLogScale(true);
    EXPECT_GE(chart.BarHeight(1), 4);
    EXPECT_EQ(chart.BarHeight(2), 0);
    EXPECT_GT(chart.BarHeight(3), chart.BarHeight(1));
    EXPECT_GT(chart.BarHeight(0), chart.BarHeight(3));
}

} // namespace
