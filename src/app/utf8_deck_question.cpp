#include "app/utf8_deck_question.h"

#include "deck/deck_encoding.h"
#include "edit/store_edit.h"
#include "ui/prompts.h"

DeckReading AskDeckReading(Prompts &prompts, QWidget *parent, const DeckLines &fileLines) {
    if (!deck_encoding::LooksLikeUtf8(fileLines.Bytes()))
        return DeckReading::AsIs;
    switch (prompts.Confirm(parent,
                            QStringLiteral("このファイルは UTF-8 で書かれています。\n"
                                           "Shift-JIS に変換して開きますか？"),
                            {PromptButton::Yes, PromptButton::No, PromptButton::Cancel})) {
    case PromptButton::Yes:
        return DeckReading::FromUtf8;
    case PromptButton::No:
        return DeckReading::AsIs;
    default:
        return DeckReading::Cancelled;
    }
}

DeckLines CardLines(Prompts &prompts, QWidget *parent, const DeckLines &fileLines,
                    DeckReading reading) {
    if (reading != DeckReading::FromUtf8 || !deck_encoding::LooksLikeUtf8(fileLines.Bytes()))
        return fileLines;
    const deck_encoding::Converted converted = deck_encoding::Utf8ToShiftJis(fileLines.Bytes());
    if (!converted.unencodable.isEmpty())
        prompts.Inform(parent, UnencodableMessage(converted.unencodable), {PromptButton::Ok});
    return DeckLines::FromFileBytes(converted.bytes);
}
