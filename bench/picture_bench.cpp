// A drill step on cards that show pictures: the time the user-interface thread spends on すすめ
// with its redraw, with the pictures already loaded and with pictures not loaded yet (they are
// decoded on the loader's thread while the steps go on).
#include "app/tform1.h"
#include "ui/prompts.h"
#include "view/cell_media.h"
#include "window_bench_main.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A photo-sized JPEG with some detail, so that decoding costs what a real one does.
void WritePicture(const QString &path, int seed) {
    QImage image(1280, 960, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 1280, 960);
    gradient.setColorAt(0, QColor::fromHsv(seed * 37 % 360, 200, 220));
    gradient.setColorAt(1, QColor::fromHsv(seed * 91 % 360, 120, 90));
    painter.fillRect(image.rect(), gradient);
    for (int i = 0; i < 40; ++i)
        painter.drawEllipse(QPoint((seed * 131 + i * 97) % 1280, (seed * 71 + i * 53) % 960),
                            20 + i, 10 + i);
    painter.end();
    image.save(path, "JPEG", 85);
}

// A deck of `cards` cards whose question and answer each refer to a picture; the pictures
// cycle through `pictures` files of the deck's folder.
QString PictureDeck(const QTemporaryDir &dir, int cards, int pictures) {
    QDir(dir.path()).mkpath(QStringLiteral("pic"));
    for (int i = 0; i < pictures; ++i) {
        const QString path = dir.filePath(QStringLiteral("pic/p%1.jpg").arg(i));
        if (!QFile::exists(path))
            WritePicture(path, i);
    }
    QByteArray bytes;
    for (int i = 0; i < cards; ++i) {
        bytes += QStringLiteral("word %1\\n/pic/p%2.jpg,answer %1\\n\\pic\\p%3.jpg,,0,0,0,\r\n")
                     .arg(i)
                     .arg((2 * i) % pictures)
                     .arg((2 * i + 1) % pictures)
                     .toLatin1();
    }
    const QString path = dir.filePath(QStringLiteral("deck_%1_%2.csv").arg(cards).arg(pictures));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QTemporaryDir &Folder() {
    static QTemporaryDir dir;
    return dir;
}

std::unique_ptr<TForm1> OpenWindow(SilentPrompts &prompts, const QString &deck, int pattern) {
    auto form = std::make_unique<TForm1>(prompts);
    form->resize(567, 554);
    form->show();
    form->ClickPanelPattern(pattern);
    form->OpenDeckFile(deck);
    QApplication::processEvents();
    return form;
}

// Every picture the cards refer to is in the cache: the step shows them at once.
void BM_SusumeWithCachedPictures(benchmark::State &state) {
    SilentPrompts prompts;
    const int pattern = int(state.range(0));
    auto form = OpenWindow(prompts, PictureDeck(Folder(), 200, 12), pattern);
    for (int i = 0; i < 30; ++i) { // load them all once
        form->ClickSusume();
        form->Media().Loader().WaitForIdle();
        QApplication::processEvents();
    }
    for (auto _ : state) {
        form->ClickSusume();
        QApplication::processEvents();
    }
    state.counters["cached"] = form->Media().Loader().CachedCount();
}
BENCHMARK(BM_SusumeWithCachedPictures)
    ->ArgName("pattern")
    ->Arg(0)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond);

// Every step shows pictures nobody has loaded yet (more distinct pictures than the cache keeps):
// the step asks for them and goes on; the pictures that arrive meanwhile are drawn in the
// steps' event processing, which is measured too.
void BM_SusumeWithPicturesNotLoaded(benchmark::State &state) {
    SilentPrompts prompts;
    const int pattern = int(state.range(0));
    auto form = OpenWindow(prompts, PictureDeck(Folder(), 120, 120), pattern);
    for (auto _ : state) {
        form->ClickSusume();
        QApplication::processEvents();
    }
    form->Media().Loader().WaitForIdle();
}
BENCHMARK(BM_SusumeWithPicturesNotLoaded)
    ->ArgName("pattern")
    ->Arg(0)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond);

// The same at the pace of a reader: before each step the pictures of the last one have been
// decoded; drawing them and the step itself are measured.
void BM_SusumeWithPicturesLoadedBetweenSteps(benchmark::State &state) {
    SilentPrompts prompts;
    const int pattern = int(state.range(0));
    auto form = OpenWindow(prompts, PictureDeck(Folder(), 120, 120), pattern);
    for (auto _ : state) {
        state.PauseTiming();
        form->Media().Loader().WaitForIdle();
        state.ResumeTiming();
        QApplication::processEvents();
        form->ClickSusume();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SusumeWithPicturesLoadedBetweenSteps)
    ->ArgName("pattern")
    ->Arg(0)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond);

// A 50-megapixel picture: asking for it returns at once; the decoding happens elsewhere.
void BM_AskForHugePicture(benchmark::State &state) {
    const QString path = Folder().filePath(QStringLiteral("huge.jpg"));
    if (!QFile::exists(path)) {
        QImage image(10000, 5000, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.save(path, "JPEG");
    }
    for (auto _ : state) {
        PictureLoader loader;
        benchmark::DoNotOptimize(loader.Picture(path));
        state.PauseTiming();
        loader.WaitForIdle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AskForHugePicture)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    return RunWindowBenchmarks(argc, argv);
}
