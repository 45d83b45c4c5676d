#pragma once

#include "app/prompts.h"

#include <deque>
#include <vector>

// Answers the program's questions from a script and records what was asked. A question with
// no scripted answer fails the test and is answered as if the box was closed.
class ScriptedPrompts : public Prompts {
public:
    void Answer(PromptButton button) { answers_.push_back(button); }
    void AnswerFile(const QString &path) { files_.push_back(path); }

    PromptButton Message(QWidget *parent, const MessageRequest &request) override;
    QString OpenFileName(QWidget *parent, const FileRequest &request) override;
    QString SaveFileName(QWidget *parent, const FileRequest &request) override;
    std::optional<QFont> ChooseFont(QWidget *parent, const QFont &initial,
                                    const QString &caption) override;

    std::vector<MessageRequest> asked;
    std::vector<FileRequest> fileRequests;
    bool PendingAnswers() const { return !answers_.empty() || !files_.empty(); }

private:
    std::deque<PromptButton> answers_;
    std::deque<QString> files_;
};
