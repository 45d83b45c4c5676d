#pragma once

#include "ui/prompts.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

// Nothing is ever asked while measuring; a question would be answered as if closed.
class SilentPrompts : public Prompts {
public:
    PromptButton Message(QWidget *, const MessageRequest &request) override {
        return EscapeButton(request.buttons);
    }
    QString OpenFileName(QWidget *, const FileRequest &) override { return {}; }
    QString SaveFileName(QWidget *, const FileRequest &) override { return {}; }
    std::optional<QFont> ChooseFont(QWidget *, const QFont &, const QString &) override {
        return std::nullopt;
    }
};

// The main() of the benchmarks that open windows. Each benchmark opens and closes windows of
// its own, and the speech engine can be started only once in a process, so speech is kept off
// (its voices are looked for in an empty folder): the figures are those of the drill and the
// redraw alone.
inline int RunWindowBenchmarks(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir noVoices;
    qputenv("ESPEAK_DATA_PATH", noVoices.path().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
