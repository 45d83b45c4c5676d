#include "deck/text_buffers.h"

#include <deque>
#include <vector>

namespace {

// A cache line each: two threads making cards from two buffers count their users side by side.
struct alignas(64) Source {
    QByteArray bytes;
    qint64 users = 0; // cards, and the CardSource while it lives
};

// Never destroyed, so that cards outliving static objects can still let go of their buffers.
struct Registry {
    std::deque<Source> sources; // id - 1; a deque never moves what it holds
    std::vector<quint32> freeIds;
    qsizetype live = 0;
};

Registry &TheRegistry() {
    static auto *registry = new Registry;
    return *registry;
}

Source &At(quint32 id) {
    return TheRegistry().sources[id - 1];
}

} // namespace

namespace text_buffers {

quint32 Add(const QByteArray &bytes) {
    Registry &registry = TheRegistry();
    quint32 id;
    if (registry.freeIds.empty()) {
        registry.sources.emplace_back();
        id = quint32(registry.sources.size());
    } else {
        id = registry.freeIds.back();
        registry.freeIds.pop_back();
    }
    Source &source = At(id);
    source.bytes = bytes;
    source.users = 1;
    ++registry.live;
    return id;
}

const char *Bytes(quint32 id) {
    return At(id).bytes.constData();
}

const QByteArray &Buffer(quint32 id) {
    return At(id).bytes;
}

qint64 &Users(quint32 id) {
    return At(id).users;
}

void Retain(quint32 id) {
    ++At(id).users;
}

void Release(quint32 id) {
    Source &source = At(id);
    if (--source.users > 0)
        return;
    source.bytes = QByteArray();
    Registry &registry = TheRegistry();
    registry.freeIds.push_back(id);
    --registry.live;
}

qsizetype LiveCount() {
    return TheRegistry().live;
}

} // namespace text_buffers
