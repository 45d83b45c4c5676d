#include "app/deck_preload.h"

#include "exchange/file_kind.h"

DeckPreload::DeckPreload(QString path, qint32 today)
    : path_(std::move(path)), today_(today), thread_([this] { Run(); }) {}

DeckPreload::~DeckPreload() {
    abandoned_ = true;
    Wait();
}

void DeckPreload::Wait() {
    if (thread_.joinable())
        thread_.join();
}

void DeckPreload::Run() {
    read_ = ReadDeckForOpening(path_);
    // Anything the window asks about before it builds cards is left to the window.
    if (!read_.result.ok || read_.utf8 ||
        exchange::KindOfFile(read_.lines) != exchange::FileKind::Deck || abandoned_)
        return;
    DeckFileRead copy = read_; // shares the bytes
    OpenReadDeck(deck_, std::move(copy), today_, queue_);
    parsed_ = true;
}

DeckFileRead DeckPreload::TakeRead() {
    Wait();
    taken_ = true;
    return std::move(read_);
}

bool DeckPreload::OpenParsed(Deck &deck, DeckFileRead &&read, const DeckLines &cardLines,
                             qint32 today, CardRefList &askQueue) {
    Wait();
    const char *built = deck_.SavedLines().Bytes().constData();
    if (!parsed_ || today != today_ || !deck.Cards().empty() || !deck.FileName().isEmpty() ||
        read.lines.Bytes().constData() != built || cardLines.Bytes().constData() != built ||
        read.stamp.path != deck_.DiskStamp().path)
        return false;
    parsed_ = false;
    deck.TakeParsed(std::move(deck_), std::move(read.stamp));
    askQueue = std::move(queue_);
    return true;
}
