// Random input for the whole main window. MONKEY_SEED picks the run (replays it exactly),
// MONKEY_STEPS its length; without a seed the fixed seeds of the test suite run.
#include "monkey/window_monkey.h"
#include "settings/settings.h"
#include "support/fake_speech.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

quint64 currentSeed = 0;
const std::vector<std::string> *currentLog = nullptr;

std::atomic<int> progress{0};

// A step that never returns (a modal loop nobody answers, a busy loop) fails the run with its
// seed and steps instead of hanging it.
void WatchForHangs(int seconds) {
    std::thread([seconds] {
        int seen = -1;
        auto since = std::chrono::steady_clock::now();
        for (;;) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            const int now = progress.load();
            if (now != seen) {
                seen = now;
                since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since > std::chrono::seconds(seconds)) {
                std::fprintf(stderr, "monkey: a step hung for %d s\n", seconds);
                if (currentLog)
                    for (size_t i = currentLog->size() > 60 ? currentLog->size() - 60 : 0;
                         i < currentLog->size(); ++i)
                        std::fprintf(stderr, "%s\n", (*currentLog)[i].c_str());
                std::fprintf(stderr, "replay: MONKEY_SEED=%llu\n",
                             static_cast<unsigned long long>(currentSeed));
                std::_Exit(1);
            }
        }
    }).detach();
}

bool RunSeed(quint64 seed, int steps) {
    currentSeed = seed;
    WindowMonkey monkey(seed);
    currentLog = &monkey.Log();
    const bool ok = monkey.Run(steps, [] { ++progress; });
    if (!ok || qEnvironmentVariableIsSet("MONKEY_TRACE"))
        for (const std::string &line : monkey.Log())
            std::fprintf(stderr, "%s\n", line.c_str());
    if (!ok)
        std::fprintf(stderr,
                     "monkey: FAILED at step %d: %s\nreplay: MONKEY_SEED=%llu MONKEY_STEPS=%d\n",
                     monkey.StepsRun(), qPrintable(monkey.Failure()),
                     static_cast<unsigned long long>(seed), monkey.StepsRun());
    else
        std::fprintf(stderr, "monkey: seed %llu: %d steps passed\n",
                     static_cast<unsigned long long>(seed), monkey.StepsRun());
    currentLog = nullptr;
    return ok;
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir scratch;
    qputenv("KARDEON_TEST_INSTANCE_DIR",
            QFile::encodeName(scratch.filePath(QStringLiteral("instance"))));
    SetSettingsFilePath(scratch.filePath(QStringLiteral("kardeon.ini")));
    QApplication app(argc, argv);
    UseFakeSpeech();
    InstallCrashReport(&currentSeed, &currentLog);
    WatchForHangs(30);

    const int steps = qEnvironmentVariableIsSet("MONKEY_STEPS")
                          ? qEnvironmentVariableIntValue("MONKEY_STEPS")
                          : 1000;
    std::vector<quint64> seeds{1, 2, 3};
    if (qEnvironmentVariableIsSet("MONKEY_SEED"))
        seeds = {qgetenv("MONKEY_SEED").toULongLong()};
    for (quint64 seed : seeds)
        if (!RunSeed(seed, steps))
            return 1;
    return 0;
}
