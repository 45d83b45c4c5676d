// The deck reader, parser and renderer on arbitrary file bytes.
#include "deck/deck.h"
#include "fuzz_check.h"

#include <algorithm>

namespace {

constexpr qint32 kToday = 45000;

// The file's lines with every kind of line end made CR LF, written independently of the reader.
QByteArray WithCrLfLineEnds(const QByteArray &data) {
    QByteArray out;
    QByteArray line;
    bool open = false;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n')
                ++i;
            out += line + "\r\n";
            line.clear();
            open = false;
            continue;
        }
        line += c;
        open = true;
    }
    if (open)
        out += line + "\r\n";
    return out;
}

void ExpectSameCards(const Deck &a, const Deck &b) {
    FUZZ_CHECK(a.Cards().size() == b.Cards().size());
    for (size_t i = 0; i < a.Cards().size(); ++i) {
        const TMondaiSet &x = *a.Cards()[i];
        const TMondaiSet &y = *b.Cards()[i];
        FUZZ_CHECK(x.Mondai() == y.Mondai());
        FUZZ_CHECK(x.Kaitou() == y.Kaitou());
        FUZZ_CHECK(x.Sankou() == y.Sankou());
        FUZZ_CHECK(x.Jikan == y.Jikan);
        FUZZ_CHECK(x.Seikai == y.Seikai);
        FUZZ_CHECK(x.Fuseikai == y.Fuseikai);
        FUZZ_CHECK(x.Rireki() == y.Rireki());
    }
}

size_t PlaceOf(const Deck &deck, const TMondaiSet *card) {
    return size_t(std::find_if(deck.Cards().begin(), deck.Cards().end(),
                               [card](const auto &owned) { return owned.get() == card; }) -
                  deck.Cards().begin());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Deck first;
    first.SetSavedLines(DeckLines::FromFileBytes(bytes));
    CardRefList queue;
    ParseDeck(first, kToday, queue);
    FUZZ_CHECK(queue.size() <= first.Cards().size());

    // The cards' texts are slices of the lines' bytes: each equals a copy of its field.
    size_t index = 0;
    first.SavedLines().ForEach([&](QByteArrayView line) {
        const TMondaiSet &card = *first.Cards()[index++];
        FUZZ_CHECK(card.Mondai() == ExtractField(line, 1));
        FUZZ_CHECK(card.Kaitou() == ExtractField(line, 2));
        FUZZ_CHECK(card.Sankou() == ExtractField(line, 3));
        FUZZ_CHECK(card.Rireki() == ExtractField(line, 7));
    });

    // Parsed in parts side by side: the same cards, and the same ones queued.
    Deck parts;
    parts.SetSavedLines(first.SavedLines());
    CardRefList partsQueue;
    ParseDeckInParts(parts, kToday, partsQueue, 3);
    ExpectSameCards(first, parts);
    FUZZ_CHECK(partsQueue.size() == queue.size());
    for (size_t i = 0; i < queue.size() && i < partsQueue.size(); ++i)
        FUZZ_CHECK(PlaceOf(first, queue[i]) == PlaceOf(parts, partsQueue[i]));

    const bool changed = IsDeckChanged(first);
    if (first.Cards().empty())
        return 0;
    FUZZ_CHECK(RenderDeckLines(first) == 0);
    // The block-wise comparison agrees with comparing the whole rendering.
    FUZZ_CHECK(changed == !(first.RenderedLines() == first.SavedLines()));
    if (!changed)
        FUZZ_CHECK(first.RenderedLines().Bytes() == WithCrLfLineEnds(bytes));

    // What a save writes must read back as the same cards, and render to the same bytes.
    Deck second;
    second.SetSavedLines(DeckLines::FromFileBytes(first.RenderedLines().Bytes()));
    CardRefList secondQueue;
    ParseDeck(second, kToday, secondQueue);
    ExpectSameCards(first, second);
    FUZZ_CHECK(secondQueue.size() == queue.size());
    FUZZ_CHECK(!IsDeckChanged(second));
    return 0;
}
