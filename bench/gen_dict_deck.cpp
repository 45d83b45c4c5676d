// gen_dict_deck DICT N OUT: writes a deck of N cards of real dictionary text to OUT. DICT is an
// EDICT-style dictionary already in Shift-JIS, one entry a line: "見出し [よみ] /gloss/gloss/".
// The headword becomes the question, the glosses the answer; entries repeat when N exceeds
// the dictionary. Cards are written with the program's own field rules and line writer.
#include "bench_decks.h"
#include "deck/card.h"
#include "deck/deck.h"

#include <QFile>
#include <QList>
#include <QString>

#include <cstdio>

namespace {

// The glosses of an entry without its sequence number ("EntL1234X"), joined with "; ".
QByteArray Glosses(QByteArrayView slashed) {
    QByteArray out;
    for (QByteArrayView gloss : QByteArray(slashed.data(), slashed.size()).split('/')) {
        if (gloss.isEmpty() || gloss.startsWith("EntL"))
            continue;
        if (!out.isEmpty())
            out += "; ";
        out += gloss.toByteArray();
    }
    return out;
}

TMondaiSet CardFromEntry(QByteArrayView entry, qsizetype index) {
    TMondaiSet card;
    const qsizetype slash = entry.indexOf(" /");
    card.SetField(1, entry.first(slash < 0 ? entry.size() : slash).toByteArray());
    if (slash >= 0)
        card.SetField(2, Glosses(entry.sliced(slash + 2)));
    // Learning records like those of the generated decks: three cards in ten not due.
    const bool notDue = index % 10 < bench::kNotDuePercent / 10;
    card.Jikan =
        notDue ? bench::kToday + 3650 + int(index % 3650) : bench::kToday - int(index % 400);
    card.Seikai = int(index % 7);
    card.Fuseikai = int(index % 3);
    if (index % 4 == 0)
        card.SetRireki("o x o");
    return card;
}

} // namespace

int main(int argc, char **argv) {
    bool ok = false;
    const qsizetype cards = argc == 4 ? QByteArray(argv[2]).toLongLong(&ok) : 0;
    QFile dict(QString::fromLocal8Bit(argc == 4 ? argv[1] : ""));
    if (!ok || cards < 0 || !dict.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "usage: gen_dict_deck DICT N OUT\n");
        return 2;
    }
    QList<QByteArray> entries = dict.readAll().split('\n');
    entries.removeIf([](const QByteArray &e) { return e.trimmed().isEmpty(); });
    if (entries.size() > 1)
        entries.removeFirst(); // the dictionary's own header line
    if (entries.isEmpty()) {
        std::fprintf(stderr, "gen_dict_deck: no entries in %s\n", argv[1]);
        return 1;
    }
    QByteArray bytes;
    for (qsizetype i = 0; i < cards; ++i) {
        bytes += RenderCardLine(CardFromEntry(entries[i % entries.size()].trimmed(), i));
        bytes += "\r\n";
    }
    QFile out(QString::fromLocal8Bit(argv[3]));
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "gen_dict_deck: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
