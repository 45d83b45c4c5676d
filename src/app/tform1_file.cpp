// Opening, saving and the save prompt.
#include "app/tform1.h"

#include "app/deck_saving.h"
#include "app/utf8_deck_question.h"
#include "ui/prompts.h"

#include <QFileInfo>

namespace {
const QString OpenFilter = QStringLiteral("テキスト (*.txt *.csv);;すべてのファイル (*)");
} // namespace

int TForm1::OpenDeckFile(const QString &path) {
    DeckLines lines;
    FileResult read = ReadDeckFile(path, &lines);
    if (!read.ok) {
        prompts_.Error(this, read.error);
        return 0;
    }
    if (IsUnsuitable(lines)) {
        prompts_.Warning(this, QStringLiteral("ファイルが不適切です。\n読み込めませんでした。"));
        return 1;
    }
    const DeckReading reading = AskDeckReading(prompts_, this, lines);
    if (reading == DeckReading::Cancelled || AskSaveDeck() == SaveAnswer::Cancelled)
        return 0;
    // Read again: the prompt may just have saved the open deck into this very file.
    FileStamp stamp;
    read = ReadDeckFile(path, &lines, &stamp);
    if (!read.ok) {
        prompts_.Error(this, read.error);
        return 0;
    }
    ParkFocus();
    deck_.SavedLines = CardLines(prompts_, this, lines, reading);
    deck_.DeckFileName = path;
    deck_.DiskStamp = stamp;
    UpdateRecentFiles();
    ParseDeck(deck_, drill_.Today(), drill_.AskQueue);
    // A converted deck keeps the file's own lines, so it counts as changed until it is saved.
    deck_.SavedLines = std::move(lines);
    drill_.StartNewDeck();
    return 0;
}

SaveAnswer TForm1::AskSaveDeck() {
    if (!IsDeckChanged(deck_))
        return SaveAnswer::Continue;
    bool ask = !AutoSave;
    for (;;) {
        const PromptButton answer =
            ask ? prompts_.Confirm(this, QStringLiteral("学習結果を保存しますか？"),
                                   {PromptButton::Yes, PromptButton::No, PromptButton::Cancel})
                : PromptButton::Yes;
        if (answer == PromptButton::Cancel)
            return SaveAnswer::Cancelled;
        if (answer == PromptButton::No)
            return SaveAnswer::Continue;
        const SaveOutcome saved = SaveOpenDeck(deck_, prompts_, this);
        if (saved == SaveOutcome::Saved)
            return SaveAnswer::Continue;
        // Kept in memory, so the user can still save it under another name.
        if (saved == SaveOutcome::Declined)
            return SaveAnswer::Cancelled;
        // Nothing may be lost silently: after a failed save the user decides again.
        ask = true;
    }
}

void TForm1::ClickOpen() {
    const QString dir =
        deck_.DeckFileName.isEmpty() ? QString() : QFileInfo(deck_.DeckFileName).absolutePath();
    const QString path = prompts_.OpenFileName(this, {QString(), OpenFilter, dir});
    if (!path.isEmpty())
        OpenDeckFile(path);
}

void TForm1::ClickSaveFile() {
    if (deck_.CardList.empty())
        return;
    ParkFocus();
    SaveOpenDeck(deck_, prompts_, this);
}

void TForm1::ClickSaveAsFile() {
    if (deck_.CardList.empty())
        return;
    ParkFocus();
    // Starts where the deck is, with its name, as a save dialog does everywhere else.
    const QString path = prompts_.SaveFileName(this, {QString(), QString(), deck_.DeckFileName});
    if (path.isEmpty())
        return;
    // A name that cannot be written is not taken on: the deck stays with its old file.
    const QString previous = deck_.DeckFileName;
    deck_.DeckFileName = path;
    if (SaveOpenDeck(deck_, prompts_, this) != SaveOutcome::Saved) {
        deck_.DeckFileName = previous;
        return;
    }
    UpdateRecentFiles();
}
