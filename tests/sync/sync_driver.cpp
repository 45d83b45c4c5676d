// One Kardeon window on the offscreen platform, driven line by line from standard input, for
// scripts/sync-check: two of these drill one deck through a synced folder. Every command is
// answered with one line on standard output.
//   answer N   answer up to N due cards with できた; prints how many were answered
//   save       saves the deck when it has unsaved changes
//   wait MS    lets the window run for MS milliseconds (file changes are read meanwhile)
//   state      prints: cards, sum of right answers, unsaved (0/1)
//   quit
#include "app/tform1.h"
#include "drill/drill.h"
#include "ui/prompts.h"
#include "view/drill_controls.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

// Every question gets its default answer (統合して保存, merge the conflict copies); errors are
// printed so the script sees them.
class DefaultPrompts : public Prompts {
public:
    PromptButton Message(QWidget *, const MessageRequest &request) override {
        std::printf("asked: %s\n", qPrintable(QString(request.text).replace(u'\n', u' ')));
        std::fflush(stdout);
        if (request.defaultButton)
            return *request.defaultButton;
        return request.buttons.empty() ? PromptButton::Ok : request.buttons.front();
    }
    QString OpenFileName(QWidget *, const FileRequest &) override { return {}; }
    QString SaveFileName(QWidget *, const FileRequest &) override { return {}; }
    std::optional<QFont> ChooseFont(QWidget *, const QFont &, const QString &) override {
        return std::nullopt;
    }
};

void Reply(const QString &line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// Presses 進む until a card can be answered: one not yet answered, its answer shown where the
// answer waits for 進む. A fresh deck starts on no card, an answered card moves on first; 進む
// on a card that can be answered would count it wrong, so it is never pressed then. Nothing
// when no card is left to ask.
const TMondaiSet *ShowNextAnswer(TForm1 &form) {
    const Drill &drill = form.DrillState();
    for (int press = 0; press < 4; ++press) {
        if (drill.Current() && !drill.DoneFlag() &&
            (drill.AnswerShown() || drill.DisplayPattern() != PatternMain))
            return drill.Current();
        if (drill.Queue().empty())
            return nullptr;
        form.ClickSusume();
    }
    return nullptr;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kardeon_sync_driver DECK\n");
        return 2;
    }
    DefaultPrompts prompts;
    TForm1 form(prompts);
    form.show();
    form.OpenDeckFile(QString::fromLocal8Bit(argv[1]));
    form.Controls().SetAutoSave(false);
    Reply(QStringLiteral("ready"));

    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        std::string text;
        if (!std::getline(std::cin, text)) {
            app.quit();
            return;
        }
        const QStringList words = QString::fromStdString(text).split(u' ', Qt::SkipEmptyParts);
        const QString command = words.value(0);
        if (command == u"answer") {
            int answered = 0;
            for (int i = 0; i < words.value(1).toInt(); ++i) {
                const TMondaiSet *card = ShowNextAnswer(form);
                if (!card)
                    break;
                const qint32 before = card->Seikai;
                form.ClickDekita();
                if (card->Seikai == before)
                    break;
                ++answered;
            }
            Reply(QStringLiteral("answered %1").arg(answered));
        } else if (command == u"save") {
            if (IsDeckChanged(form.DeckState()))
                form.Document().Save();
            Reply(QStringLiteral("saved"));
        } else if (command == u"wait") {
            QTimer::singleShot(words.value(1).toInt(), &app,
                               [] { Reply(QStringLiteral("waited")); });
        } else if (command == u"state") {
            qint64 right = 0;
            for (const auto &card : form.DeckState().Cards())
                right += card->Seikai;
            Reply(QStringLiteral("cards %1 right %2 unsaved %3")
                      .arg(form.DeckState().Cards().size())
                      .arg(right)
                      .arg(IsDeckChanged(form.DeckState()) ? 1 : 0));
        } else if (command == u"quit") {
            Reply(QStringLiteral("bye"));
            app.quit();
        } else {
            Reply(QStringLiteral("unknown %1").arg(command));
        }
    });
    const int status = app.exec();
    form.Controls().SetAutoSave(false);
    return status;
}
