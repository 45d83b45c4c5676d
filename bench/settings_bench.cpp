// The settings editor on a settings file of about 10 MB: foreign sections first, the program's
// own sections last, some of its keys missing so that closing adds them.
#include "settings/ini_file.h"
#include "settings/settings.h"

#include <benchmark/benchmark.h>

namespace {

QByteArray ProgramSections() {
    return "[Form]\r\nTop=100\r\nLeft=100\r\nWidth=500\r\nHeigth=425\r\n"
           "[FontM]\r\nName=Sans\r\nSize=12\r\n[Option]\r\nJyun=0\r\nAutoSave=1\r\n"
           "[FileName_]\r\n5=/home/user/deck.csv\r\n";
}

// `megabytes` of other programs' sections, then the program's own.
QByteArray SettingsBytes(int megabytes) {
    QByteArray bytes;
    const qsizetype target = qsizetype(megabytes) << 20;
    for (int section = 0; bytes.size() < target; ++section) {
        bytes += "[Other" + QByteArray::number(section) + "]\r\n";
        for (int key = 0; key < 100; ++key)
            bytes += "SomeLongerKeyName" + QByteArray::number(key) +
                     "=a value of the usual length, " + QByteArray::number(section * key) + "\r\n";
    }
    return bytes + ProgramSections();
}

const QByteArray &Cached(int megabytes) {
    static QByteArray empty;
    static QByteArray large = SettingsBytes(10);
    return megabytes == 0 ? empty : large;
}

void Label(benchmark::State &state) {
    state.SetLabel(state.range(0) == 0 ? "empty file" : "10 MB file");
    state.SetBytesProcessed(qint64(state.iterations()) * Cached(int(state.range(0))).size());
}

// What start-up does once the file is in memory: index it and read every key.
void BM_StartUpReadsSettings(benchmark::State &state) {
    const QByteArray &bytes = Cached(int(state.range(0)));
    for (auto _ : state) {
        const IniFile ini(bytes);
        benchmark::DoNotOptimize(ReadSettings(ini));
    }
    Label(state);
}

// What closing does before the file is written: index, write every key, build the new bytes.
void BM_CloseWritesSettings(benchmark::State &state) {
    const QByteArray &bytes = Cached(int(state.range(0)));
    AppSettings changed;
    changed.top = 321;
    changed.fontK.name = QStringLiteral("Changed");
    changed.fileNames[1] = QStringLiteral("/home/user/other.csv");
    for (auto _ : state) {
        IniFile ini(bytes);
        WriteSettings(changed, ini);
        benchmark::DoNotOptimize(ini.Bytes().size());
    }
    Label(state);
}

// One key read and one key written in the loaded file.
void BM_OneKey(benchmark::State &state) {
    IniFile ini(Cached(int(state.range(0))));
    int value = 0;
    for (auto _ : state) {
        ini.WriteInteger("Form", "Top", ++value);
        benchmark::DoNotOptimize(ini.ReadInteger("Form", "Top", 0));
    }
    Label(state);
}

} // namespace

BENCHMARK(BM_StartUpReadsSettings)->Arg(0)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseWritesSettings)->Arg(0)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneKey)->Arg(0)->Arg(10)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
