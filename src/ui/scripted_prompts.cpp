#include "ui/scripted_prompts.h"

#include <QDebug>

namespace {

ScriptedPrompts::UnexpectedQuestion &UnexpectedQuestionHandler() {
    static ScriptedPrompts::UnexpectedQuestion handler;
    return handler;
}

void ReportUnexpected(const QString &what) {
    if (UnexpectedQuestionHandler())
        UnexpectedQuestionHandler()(what);
    else
        qWarning().noquote() << what;
}

} // namespace

void ScriptedPrompts::SetUnexpectedQuestionHandler(UnexpectedQuestion handler) {
    UnexpectedQuestionHandler() = std::move(handler);
}

PromptButton ScriptedPrompts::Message(QWidget *, const MessageRequest &request) {
    asked.push_back(request);
    if (answers_.empty()) {
        ReportUnexpected(QStringLiteral("unexpected message box: ") + request.text);
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
        ReportUnexpected(QStringLiteral("unexpected font chooser"));
        return std::nullopt;
    }
    std::optional<QFont> font = fonts_.front();
    fonts_.pop_front();
    return font;
}
