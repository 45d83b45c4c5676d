#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

PromptButton ScriptedPrompts::Message(QWidget *, const MessageRequest &request) {
    asked.push_back(request);
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected message box: " << request.text.toStdString();
        return EscapeButton(request.buttons);
    }
    const PromptButton answer = answers_.front();
    answers_.pop_front();
    return answer;
}

QString ScriptedPrompts::OpenFileName(QWidget *, const FileRequest &request) {
    fileRequests.push_back(request);
    if (files_.empty())
        return {};
    const QString path = files_.front();
    files_.pop_front();
    return path;
}

QString ScriptedPrompts::SaveFileName(QWidget *parent, const FileRequest &request) {
    return OpenFileName(parent, request);
}

std::optional<QFont> ScriptedPrompts::ChooseFont(QWidget *, const QFont &initial, const QString &) {
    fontRequests.push_back(initial);
    if (fonts_.empty()) {
        ADD_FAILURE() << "unexpected font chooser";
        return std::nullopt;
    }
    std::optional<QFont> font = fonts_.front();
    fonts_.pop_front();
    return font;
}
