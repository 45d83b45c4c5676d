#include "speech/start_gate.h"

#include <condition_variable>
#include <mutex>

namespace {
struct Gate {
    std::mutex mutex;
    std::condition_variable released;
    bool held = false;
};

Gate &TheGate() {
    static Gate gate;
    return gate;
}
} // namespace

namespace speech_start {

void Hold() {
    std::lock_guard lock(TheGate().mutex);
    TheGate().held = true;
}

void Release() {
    {
        std::lock_guard lock(TheGate().mutex);
        TheGate().held = false;
    }
    TheGate().released.notify_all();
}

bool Held() {
    std::lock_guard lock(TheGate().mutex);
    return TheGate().held;
}

void WaitUntilReleased() {
    std::unique_lock lock(TheGate().mutex);
    TheGate().released.wait(lock, [] { return !TheGate().held; });
}

} // namespace speech_start
