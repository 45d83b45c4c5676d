// deck_roundtrip FILE OUT: opens FILE as Kardeon does (read, unsuitable test, parse, queue of
// due cards), renders it, saves it to OUT with the program's writer, and prints timings.
#include "deck/deck.h"

#include <QDate>
#include <QElapsedTimer>
#include <QString>

#include <sys/resource.h>

#include <cstdio>

namespace {

qint32 Today() {
    return qint32(QDate(1899, 12, 30).daysTo(QDate::currentDate()));
}

int Fail(const QString &message) {
    QString text = message;
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    return 1;
}

double Milliseconds(QElapsedTimer &timer) {
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    return ms;
}

long PeakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: deck_roundtrip FILE OUT\n");
        return 2;
    }
    const QString in = QString::fromLocal8Bit(argv[1]);
    Deck deck;
    QElapsedTimer timer;
    timer.start();

    DeckLines lines;
    const FileResult read = ReadDeckFile(in, &lines);
    if (!read.ok)
        return Fail(read.error);
    if (IsUnsuitable(lines))
        return Fail(QStringLiteral("ファイルが不適切です。\r読み込めませんでした。\r%1").arg(in));
    deck.SavedLines = std::move(lines);
    deck.DeckFileName = in;
    const double readMs = Milliseconds(timer);

    CardRefList askQueue;
    ParseDeck(deck, Today(), askQueue);
    const double parseMs = Milliseconds(timer);

    RenderDeckLines(deck);
    const bool unchanged = deck.RenderedLines == deck.SavedLines;
    const double renderMs = Milliseconds(timer);

    deck.DeckFileName = QString::fromLocal8Bit(argv[2]);
    const FileResult saved = SaveDeck(deck); // renders again, as every save does
    if (!saved.ok)
        return Fail(saved.error);
    const double saveMs = Milliseconds(timer);

    std::printf("cards=%zu\ndue=%zu\nunchanged=%s\nread_ms=%.1f\nparse_ms=%.1f\nrender_ms=%.1f\n"
                "save_ms=%.1f\npeak_rss_kb=%ld\n",
                deck.CardList.size(), askQueue.size(), unchanged ? "yes" : "no", readMs, parseMs,
                renderMs, saveMs, PeakRssKb());
    return 0;
}
