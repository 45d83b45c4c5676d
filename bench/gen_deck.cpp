// gen_deck N OUT [tsv]: writes a generated deck of N cards to OUT; with "tsv", its cards as a
// UTF-8 tab-separated file of another program instead.
#include "bench_decks.h"

#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char **argv) {
    bool ok = false;
    const bool tsv = argc == 4 && QByteArray(argv[3]) == "tsv";
    const qsizetype cards = argc == 3 || tsv ? QByteArray(argv[1]).toLongLong(&ok) : 0;
    if (!ok || cards < 0) {
        std::fprintf(stderr, "usage: gen_deck N OUT [tsv]\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[2]));
    const QByteArray deck = bench::GenerateDeckBytes(cards);
    const QByteArray bytes = tsv ? bench::GenerateTsvBytes(deck) : deck;
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "gen_deck: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
