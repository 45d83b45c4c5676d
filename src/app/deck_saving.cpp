#include "app/deck_saving.h"

#include "ui/prompts.h"

SaveOutcome SaveOpenDeck(Deck &deck, Prompts &prompts, QWidget *parent) {
    if (CheckDeckOnDisk(deck) == DiskState::Changed &&
        prompts.Confirm(parent,
                        QStringLiteral("このファイルは他のプログラムによって変更されています。\n"
                                       "上書きしますか？"),
                        {PromptButton::Yes, PromptButton::No}) != PromptButton::Yes)
        return SaveOutcome::Declined;
    const FileResult saved = SaveDeck(deck);
    if (saved.ok)
        return SaveOutcome::Saved;
    prompts.Error(parent, saved.error);
    return SaveOutcome::Failed;
}
