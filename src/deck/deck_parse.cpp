// Reading a deck's lines into cards.
#include "deck/deck.h"

#include "deck/card_slots.h"
#include "deck/card_source.h"
#include "deck/large_memory.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <latch>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// A large deck is parsed in parts, each on a thread of its own: on a machine where most of the
// time goes into the first touch of fresh memory (the cards, the card list), the parts fault
// their memory in side by side.
constexpr qsizetype kBytesPerPart = qsizetype(2) << 20;

// Whole lines of a deck, parsed into the cards from `firstLine` on.
struct DeckPart {
    QByteArrayView bytes; // each line followed by CR LF
    qsizetype lines = 0;  // line feeds counted
    qsizetype made = 0;   // cards to make: no more than the deck's count of lines leaves
    qsizetype firstLine = 0;
    qsizetype due = 0; // written to the ask queue from `firstLine` on
    std::exception_ptr failure;
};

// Splits the bytes into `count` runs of whole lines of about the same size.
std::vector<DeckPart> SplitAtLines(QByteArrayView bytes, int count) {
    std::vector<DeckPart> parts(size_t(std::max(count, 1)));
    const char *from = bytes.data();
    const char *const end = from + bytes.size();
    for (size_t i = 0; i < parts.size(); ++i) {
        const char *to = end;
        const char *target = std::max(from, bytes.data() + bytes.size() * qsizetype(i + 1) / count);
        if (i + 1 < parts.size() && target < end) {
            const auto *lf =
                static_cast<const char *>(std::memchr(target, '\n', size_t(end - target)));
            to = lf ? lf + 1 : end;
        }
        parts[i].bytes = QByteArrayView(from, to - from);
        from = to;
    }
    return parts;
}

template <typename T> void ResizeLarge(std::vector<T> &list, std::size_t size) {
    list.reserve(size);
    large_memory::AdviseHugePages(list.data(), list.capacity() * sizeof(T));
    list.resize(size);
}

// One parse of a deck's lines into cards and the due queue, in parts run side by side. Each
// part counts its lines, then, once all have, makes its cards straight into their places in the
// card list and its due cards into the queue from the same index on; the queue is closed up
// at the end. Each part has a source of its own on the same bytes, so that no two threads
// count users of one buffer.
class DeckParse {
public:
    DeckParse(const DeckLines &lines, qint32 today, CardOwnerList &cards, CardRefList &due)
        : lines_(lines), today_(today), cards_(cards), due_(due) {}

    // False, with nothing made, when a thread could not be started.
    bool Run(int partCount) {
        parts_ = SplitAtLines(QByteArrayView(lines_.Bytes()), partCount);
        sources_.clear();
        for (size_t i = 0; i < parts_.size(); ++i)
            sources_.push_back(std::make_unique<CardSource>(lines_.Bytes()));
        std::latch counted(std::ptrdiff_t(parts_.size()));
        bool started = true;
        {
            std::vector<std::jthread> helpers;
            for (size_t i = 1; i < parts_.size(); ++i) {
                try {
                    helpers.emplace_back([this, i, &counted] { RunPart(i, counted); });
                } catch (const std::system_error &) {
                    started = false;
                    abandoned_ = true;
                    counted.count_down(std::ptrdiff_t(parts_.size() - i));
                    break;
                }
            }
            RunPart(0, counted);
        }
        sources_.clear();
        for (const DeckPart &part : parts_) {
            if (part.failure) {
                cards_.clear();
                due_.clear();
                std::rethrow_exception(part.failure);
            }
        }
        if (!started) {
            cards_.clear();
            due_.clear();
            abandoned_ = false;
            return false;
        }
        CloseUp();
        return true;
    }

private:
    void RunPart(size_t i, std::latch &counted) {
        DeckPart &part = parts_[i];
        try {
            part.lines = CountLineFeeds(part.bytes);
            // The two lists are sized while the other parts count.
            if (i == 0)
                ResizeLarge(cards_, size_t(lines_.Count()));
            if (i == 1 || parts_.size() == 1)
                ResizeLarge(due_, size_t(lines_.Count()));
        } catch (...) {
            part.failure = std::current_exception();
            abandoned_ = true;
        }
        counted.arrive_and_wait();
        if (abandoned_)
            return;
        for (size_t j = 0; j < i; ++j)
            part.firstLine += parts_[j].lines;
        part.made = std::clamp<qsizetype>(lines_.Count() - part.firstLine, 0, part.lines);
        try {
            MakeCards(part, *sources_[i]);
        } catch (...) {
            part.failure = std::current_exception();
        }
    }

    void MakeCards(DeckPart &part, const CardSource &texts) {
        if (part.made == 0)
            return;
        CardSlots slots(size_t(part.made));
        FieldScanner scanner(part.bytes, part.made);
        auto card = cards_.begin() + part.firstLine;
        auto due = due_.begin() + part.firstLine;
        LineFields f;
        while (scanner.Next(f)) {
            *card = texts.NewCard({f[0], f[1], f[2], f[6]}, FieldToInt(f[3]), FieldToInt(f[4]),
                                  FieldToInt(f[5]), &slots);
            if ((*card)->Jikan < today_)
                *due++ = card->get();
            ++card;
        }
        part.due = due - (due_.begin() + part.firstLine);
    }

    // Drops the places of lines the deck did not count, and closes up the queue.
    void CloseUp() {
        qsizetype made = 0;
        for (const DeckPart &part : parts_)
            made += part.made;
        cards_.resize(size_t(made));
        qsizetype count = 0;
        for (const DeckPart &part : parts_) {
            if (part.firstLine != count && part.due > 0)
                std::memmove(due_.data() + count, due_.data() + part.firstLine,
                             size_t(part.due) * sizeof(TMondaiSet *));
            count += part.due;
        }
        due_.resize(size_t(count));
        large_memory::ReturnPages(due_.data() + count,
                                  (due_.capacity() - due_.size()) * sizeof(TMondaiSet *));
    }

    const DeckLines &lines_;
    const qint32 today_;
    CardOwnerList &cards_;
    CardRefList &due_;
    std::vector<DeckPart> parts_;
    std::vector<std::unique_ptr<CardSource>> sources_;
    std::atomic<bool> abandoned_ = false;
};

// Large decks are parsed in parts side by side, one per core.
int PartsWorthParsing(qsizetype bytes) {
    const int cores = int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    return int(std::clamp<qsizetype>(bytes / kBytesPerPart, 1, cores));
}

} // namespace

void ParseDeck(Deck &deck, qint32 today, CardRefList &askQueue) {
    ParseDeckInParts(deck, today, askQueue, PartsWorthParsing(deck.SavedLines().Bytes().size()));
}

void ParseDeckInParts(Deck &deck, qint32 today, CardRefList &askQueue, int partCount) {
    deck.cards_.clear();
    askQueue.clear();
    DeckParse parse(deck.savedLines_, today, deck.cards_, askQueue);
    if (!parse.Run(partCount)) // no thread could be started
        parse.Run(1);
}
