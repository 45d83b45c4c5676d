// Opening and saving the deck as a document, on a deck and a drill without the main window:
// what the window is told through the hooks, and which file the deck and the title name.
#include "app/after_first_paint.h"
#include "app/deck_document.h"
#include "deck/sjis_codec.h"
#include "drill/drill.h"
#include "drill/fake_host.h"
#include "support/file_bytes.h"
#include "ui/app_texts.h"
#include "ui/scripted_prompts.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

class DeckDocumentTest : public ::testing::Test {
protected:
    DeckDocumentTest() {
        host.drill = &drill;
        DeckDocument::Hooks hooks;
        hooks.parkFocus = [this] { heard << QStringLiteral("park"); };
        hooks.autoSave = [this] { return autoSave; };
        hooks.refreshView = [this] { heard << QStringLiteral("refresh"); };
        hooks.showStatus = [this](const QString &) { heard << QStringLiteral("status"); };
        hooks.cardsReplaced = [this] { heard << QStringLiteral("replaced"); };
        hooks.showInList = [this](const TMondaiSet *) { heard << QStringLiteral("list"); };
        hooks.fileOpened = [this](const QString &path) {
            heard << QStringLiteral("recent:") + QFileInfo(path).fileName();
        };
        document = std::make_unique<DeckDocument>(deck, drill, prompts, window, afterPaint,
                                                  std::move(hooks));
    }

    QString Write(const QString &name, const QByteArray &lines) {
        const QString path = dir.filePath(name);
        WriteBytes(path, lines);
        return path;
    }
    std::string Title(const QString &name) const {
        return (app_texts::WindowCaptionPrefix() + name).toStdString();
    }
    std::string Heard() const { return heard.join(u' ').toStdString(); }

    QTemporaryDir dir;
    QWidget window;
    Deck deck;
    FakeDrillHost host;
    Drill drill{deck, host, FixedDayClock(40000)};
    ScriptedPrompts prompts;
    AfterFirstPaint afterPaint{&window};
    bool autoSave = false;
    QStringList heard;
    std::unique_ptr<DeckDocument> document;
};

const QByteArray TwoCards = "A,a,,0,0,0,\r\nB,b,,0,0,0,\r\n";

struct Step {
    const char *name;
    std::function<void()> run; // on the opened two-card deck "deck.csv"

    std::string heard;    // what the window was told, after the opening
    std::string fileName; // the deck's file afterwards
    bool deckFileWritten;
};

class DeckDocumentSteps : public DeckDocumentTest {
protected:
    void Run(const Step &step) {
        const QString path = Write(QStringLiteral("deck.csv"), TwoCards);
        ASSERT_EQ(document->Open(path), 0);
        EXPECT_EQ(Heard(), "park recent:deck.csv replaced");
        EXPECT_EQ(window.windowTitle().toStdString(), Title(QStringLiteral("deck.csv")));
        EXPECT_EQ(drill.Current(), deck.Cards()[0].get());
        heard.clear();
        step.run();
        EXPECT_EQ(Heard(), step.heard);
        EXPECT_EQ(QFileInfo(deck.FileName()).fileName().toStdString(), step.fileName);
        EXPECT_EQ(window.windowTitle().toStdString(), Title(QString::fromStdString(step.fileName)));
        EXPECT_EQ(FileBytes(path) != TwoCards, step.deckFileWritten);
        EXPECT_FALSE(prompts.PendingAnswers());
    }
};

TEST_F(DeckDocumentSteps, WhatTheWindowHearsAndWhichFileTheDeckNames) {
    const auto removeFirst = [this] { drill.DeleteCard(CardTarget::Row(0)); };
    const auto openNext = [this] {
        EXPECT_EQ(document->Open(Write(QStringLiteral("next.csv"), TwoCards)), 0);
    };
    const Step steps[] = {
        {"SaveAsTakesTheNewName",
         [this] {
             prompts.AnswerFile(dir.filePath(QStringLiteral("other.csv")));
             document->SaveAs();
         },
         "park recent:other.csv", "other.csv", false},
        {"SaveAsIntoAMissingFolderKeepsTheOldName",
         [this] {
             prompts.AnswerFile(dir.filePath(QStringLiteral("missing/other.csv")));
             prompts.Answer(PromptButton::Ok); // the write failed
             document->SaveAs();
         },
         "park", "deck.csv", false},
        {"AutoSaveWritesTheChangedDeckBeforeAnotherOpens",
         [&, this] {
             removeFirst();
             autoSave = true;
             openNext();
         },
         "park recent:next.csv replaced", "next.csv", true},
        {"NoToTheSavePromptOpensTheOtherDeckUnsaved",
         [&, this] {
             removeFirst();
             prompts.Answer(PromptButton::No);
             openNext();
         },
         "park recent:next.csv replaced", "next.csv", false},
        {"CancelToTheSavePromptKeepsTheDeck",
         [&, this] {
             removeFirst();
             prompts.Answer(PromptButton::Cancel);
             openNext();
             EXPECT_EQ(deck.Cards().size(), 1u);
         },
         "", "deck.csv", false},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.name);
        heard.clear();
        prompts.asked.clear();
        autoSave = false;
        Run(step);
    }
}

TEST_F(DeckDocumentTest, AnEmptyDeckIsNeverSaved) {
    document->Save();
    document->SaveAs();
    EXPECT_TRUE(heard.isEmpty());
    EXPECT_TRUE(prompts.fileRequests.empty());
}

} // namespace
