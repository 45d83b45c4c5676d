// deck_roundtrip FILE OUT: opens FILE the way the window does (read, encoding test, unsuitable
// test, parse, queue of due cards, stamp), tests it for changes, saves it to OUT with the
// program's writer, and prints timings and memory.
#include "deck/deck.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

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

// A line of /proc/self/status in kB: VmRSS now, VmHWM the peak since the last ResetPeak.
long StatusKb(const char *key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

void ResetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: deck_roundtrip FILE OUT\n");
        return 2;
    }
    const QString in = QString::fromLocal8Bit(argv[1]);
    const long startKb = StatusKb("VmRSS:");
    Deck deck;
    QElapsedTimer timer;
    timer.start();

    DeckFileRead read = ReadDeckForOpening(in);
    if (!read.result.ok)
        return Fail(read.result.error);
    if (read.unsuitable)
        return Fail(QStringLiteral("ファイルが不適切です。\r読み込めませんでした。\r%1").arg(in));
    const qint64 fileBytes = read.stamp.size;
    const double readMs = Milliseconds(timer);

    CardRefList askQueue;
    OpenReadDeck(deck, std::move(read), Today(), askQueue);
    const double parseMs = Milliseconds(timer);
    const long openPeakKb = StatusKb("VmHWM:");
    const long restKb = StatusKb("VmRSS:");
    ResetPeak();

    timer.restart();
    const bool unchanged = !IsDeckChanged(deck);
    const double renderMs = Milliseconds(timer);

    deck.SetFileName(QString::fromLocal8Bit(argv[2]));
    const FileResult saved = SaveDeck(deck); // renders again, as every save does
    if (!saved.ok)
        return Fail(saved.error);
    const double saveMs = Milliseconds(timer);
    const long savePeakKb = StatusKb("VmHWM:");

    // A save after a drill: one card's learning record changed, the deck saved again (beside
    // OUT).
    long changedSavePeakKb = 0;
    if (!deck.Cards().empty()) {
        const long beforeKb = StatusKb("VmRSS:");
        ResetPeak();
        deck.Cards().front()->Jikan += 1;
        deck.SetFileName(deck.FileName() + QStringLiteral(".changed")); // OUT keeps the round trip
        const FileResult again = SaveDeck(deck);
        QFile::remove(deck.FileName());
        if (!again.ok)
            return Fail(again.error);
        changedSavePeakKb = StatusKb("VmHWM:") - beforeKb;
    }

    const double cards = deck.Cards().empty() ? 1.0 : double(deck.Cards().size());
    std::printf(
        "cards=%zu\ndue=%zu\nunchanged=%s\nread_ms=%.1f\nparse_ms=%.1f\nrender_ms=%.1f\n"
        "save_ms=%.1f\npeak_rss_kb=%ld\nopen_peak_kb=%ld\nrest_kb=%ld\n"
        "save_peak_over_rest_kb=%ld\nchanged_save_peak_over_rest_kb=%ld\nbytes_per_card=%.1f\n",
        deck.Cards().size(), askQueue.size(), unchanged ? "yes" : "no", readMs, parseMs, renderMs,
        saveMs, std::max(openPeakKb, savePeakKb), openPeakKb, restKb, savePeakKb - restKb,
        changedSavePeakKb, (double(restKb - startKb) * 1024 - double(fileBytes)) / cards);
    return 0;
}
