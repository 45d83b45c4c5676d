#pragma once

#include "ui/prompts.h"

#include <deque>
#include <functional>
#include <vector>

// Answers the program's questions from a script and records what was asked, for tests and
// measurements that must never block on a modal window. A question with no scripted answer is
// reported to the unexpected-question handler and answered as if the box was closed.
class ScriptedPrompts : public Prompts {
public:
    // Called with a description of each question the script did not expect; tests make it a
    // failure. Without a handler the question is only logged.
    using UnexpectedQuestion = std::function<void(const QString &what)>;
    static void SetUnexpectedQuestionHandler(UnexpectedQuestion handler);

    void Answer(PromptButton button) { answers_.push_back(button); }
    void AnswerFile(const QString &path) { files_.push_back(path); }
    // The next font chooser returns `font`; nothing stands for Cancel.
    void AnswerFont(std::optional<QFont> font) { fonts_.push_back(std::move(font)); }

    PromptButton Message(QWidget *parent, const MessageRequest &request) override;
    QString OpenFileName(QWidget *parent, const FileRequest &request) override;
    QString SaveFileName(QWidget *parent, const FileRequest &request) override;
    std::optional<QFont> ChooseFont(QWidget *parent, const QFont &initial,
                                    const QString &caption) override;

    std::vector<MessageRequest> asked;
    std::vector<FileRequest> fileRequests;
    // The fonts each chooser was started with.
    std::vector<QFont> fontRequests;
    bool PendingAnswers() const { return !answers_.empty() || !files_.empty() || !fonts_.empty(); }

private:
    std::deque<PromptButton> answers_;
    std::deque<QString> files_;
    std::deque<std::optional<QFont>> fonts_;
};
