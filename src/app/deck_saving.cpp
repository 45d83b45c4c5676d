#include "app/deck_saving.h"

#include "ui/prompts.h"

namespace {

// 統合して保存 (Yes), 上書き (No) or キャンセル.
PromptButton AskChangedOnDisk(Prompts &prompts, QWidget *parent) {
    MessageRequest request;
    request.title = QStringLiteral("確認");
    request.icon = PromptIcon::Question;
    request.text = QStringLiteral("このファイルは他のプログラムによって変更されています。\n"
                                  "変更を統合して保存しますか？");
    request.buttons = {PromptButton::Yes, PromptButton::No, PromptButton::Cancel};
    request.captions = {QStringLiteral("統合して保存"), QStringLiteral("上書き"),
                        QStringLiteral("キャンセル")};
    request.defaultButton = PromptButton::Yes;
    return prompts.Message(parent, request);
}

} // namespace

SaveOutcome SaveOpenDeck(Deck &deck, Prompts &prompts, QWidget *parent,
                         const std::function<bool()> &merge) {
    if (CheckDeckOnDisk(deck) == DiskState::Changed) {
        const PromptButton answer = AskChangedOnDisk(prompts, parent);
        if (answer == PromptButton::Cancel || (answer == PromptButton::Yes && !merge()))
            return SaveOutcome::Declined;
    }
    const FileResult saved = SaveDeck(deck);
    if (saved.ok)
        return SaveOutcome::Saved;
    prompts.Error(parent, saved.error);
    return SaveOutcome::Failed;
}
