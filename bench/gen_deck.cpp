// gen_deck N OUT: writes a generated deck of N cards to OUT.
#include "bench_decks.h"

#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char **argv) {
    bool ok = false;
    const qsizetype cards = argc == 3 ? QByteArray(argv[1]).toLongLong(&ok) : 0;
    if (!ok || cards < 0) {
        std::fprintf(stderr, "usage: gen_deck N OUT\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[2]));
    const QByteArray bytes = bench::GenerateDeckBytes(cards);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "gen_deck: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
