#include "progress/deck_progress.h"
#include "settings/settings.h"

#include "../drill/drill_fixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A deck file in a temporary folder with its review log and settings file beside it.
class DeckProgressTest : public DrillFixture {
protected:
    QTemporaryDir dir;

    DeckProgressTest() {
        AddDue({"N1", "N2", "N3"});
        deck.SetFileName(dir.filePath(QStringLiteral("deck.csv")));
        SetSettingsFilePath(dir.filePath(QStringLiteral("kardeon.ini")));
    }
    ~DeckProgressTest() override { SetSettingsFilePath(QString()); }

    std::unique_ptr<DeckProgress> Make() {
        auto progress =
            std::make_unique<DeckProgress>(deck, drill, [this](const QString &deckPath) {
                // Named as the program names logs: the deck's name and a digest of its path.
                const QByteArray digest =
                    QCryptographicHash::hash(deckPath.toUtf8(), QCryptographicHash::Md5)
                        .toHex()
                        .left(16);
                return dir.filePath(QFileInfo(deckPath).completeBaseName() + u'-' +
                                    QString::fromLatin1(digest) + QStringLiteral(".log"));
            });
        Open();
        return progress;
    }
};

// What the study settings change: the status line's note, and whether the memory model
// follows the answers (and forgets them when switched off).
TEST_F(DeckProgressTest, StudySettingsShapeTheNoteAndTheMemory) {
    struct Case {
        const char *name;
        StudyValues values;
        QString note;
        bool remembers;
    } cases[] = {
        {"no limit, standard rule", {0, 0, 90}, QString(), false},
        {"a limit of two", {2, 0, 90}, QStringLiteral("新規 1/2"), false},
        {"the memory model", {0, 1, 85}, QString(), true},
    };
    for (const Case &c : cases) {
        // A log of its own for each case; its first due card is still new.
        deck.SetFileName(dir.filePath(QString::fromLatin1(c.name) + QStringLiteral(".csv")));
        auto progress = Make();
        progress->ApplyStudySettings(c.values);
        drill.GoNext(); // shows the answer
        drill.GoDone(); // remembered: the first new card answered
        EXPECT_EQ(progress->StudySettings(), c.values) << c.name;
        EXPECT_EQ(progress->NewCardStatus(), c.note) << c.name;
        EXPECT_EQ(progress->Memory().Known() > 0, c.remembers) << c.name;
        EXPECT_DOUBLE_EQ(progress->Memory().Retention(), c.values.retention / 100.0) << c.name;
        progress->ApplyStudySettings({});
        EXPECT_EQ(progress->Memory().Known(), 0u) << c.name;
        EXPECT_TRUE(progress->NewCardStatus().isEmpty()) << c.name;
    }
}

// Fitted parameters are kept per deck: the next opening of the same deck starts with them,
// another deck with the defaults; a settings file that cannot be written says so.
TEST_F(DeckProgressTest, FittedParametersComeBackForTheirDeckOnly) {
    fsrs::Parameters fitted = fsrs::DefaultParameters();
    fitted[0] = 1.25;
    fitted[3] = 9.5;
    {
        auto progress = Make();
        EXPECT_FALSE(progress->LogForFitting().isEmpty());
        EXPECT_TRUE(progress->KeepParameters(fitted));
        EXPECT_EQ(progress->Memory().Parameters(), fitted);
    }
    auto again = Make();
    EXPECT_EQ(again->Memory().Parameters(), fitted);

    deck.SetFileName(dir.filePath(QStringLiteral("other.csv")));
    again->Recorder().DeckStarted();
    EXPECT_EQ(again->Memory().Parameters(), fsrs::DefaultParameters());

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.ini")));
    SetSettingsFilePath(dir.filePath(QStringLiteral("folder.ini")));
    EXPECT_FALSE(again->KeepParameters(fitted));
}

} // namespace
