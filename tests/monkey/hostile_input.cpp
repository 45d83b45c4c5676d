#include "monkey/hostile_input.h"

#include "deck/sjis_codec.h"

#include <QFile>

namespace {

const QStringList Pieces{
    // numbers for the number columns and beyond
    QStringLiteral("2147483647"), QStringLiteral("2147483648"), QStringLiteral("99999999999"),
    QStringLiteral("-1"), QStringLiteral("-2147483648"), QStringLiteral("-2147483649"),
    QStringLiteral("0"), QStringLiteral("+7"), QStringLiteral("007"), QStringLiteral("12"),
    QStringLiteral("1e9"), QStringLiteral("0x10"),
    // the file's separators and quotes
    QStringLiteral(","), QStringLiteral(",,"), QStringLiteral("\""), QStringLiteral("\"abc"),
    QStringLiteral("abc\""), QStringLiteral("\"a,b\""), QStringLiteral("a\",b"),
    QStringLiteral("\",\""), QStringLiteral("\\n"), QStringLiteral("\\"), QStringLiteral("\\\\n"),
    QStringLiteral("[しおり]"),
    // Shift-JIS characters whose second byte is 0x5C
    QStringLiteral("ソ"), QStringLiteral("表"), QStringLiteral("能"), QStringLiteral("十"),
    QStringLiteral("ソ\\n表"), QStringLiteral("日本語"), QStringLiteral("ｶﾅ"),
    // characters Shift-JIS lacks
    QStringLiteral("😀"), QStringLiteral("한"), QStringLiteral("é"), QStringLiteral("\u00A0"),
    // control characters and line ends
    QStringLiteral("\t"), QStringLiteral("\n"), QStringLiteral("\r"), QStringLiteral("\r\n"),
    QString(QChar(0x01)), QString(QChar(0x1B)), QString(QChar(0x7F)), QString(QChar(0)),
    // plain text
    QStringLiteral("a"), QStringLiteral("xyz"), QStringLiteral(" "), QStringLiteral("問題")};

QString LongLine(MonkeyRng &rng) {
    QString line;
    while (line.size() < 10000)
        line += Pieces[Pick(rng, int(Pieces.size()))];
    return line;
}

void WriteBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray Sjis(const QString &text) {
    return sjis::FromQString(text);
}

QByteArray SoundDeck(int cards) {
    QByteArray bytes;
    for (int i = 0; i < cards; ++i) {
        bytes += Sjis(QStringLiteral("問題%1ソ,答え%1表,参考%1,%2,%3,%4,○×")
                          .arg(i)
                          .arg(i % 3 == 0 ? 39990 + i : 0)
                          .arg(i % 4)
                          .arg(i % 5));
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace

int Pick(MonkeyRng &rng, int count) {
    return int(std::uniform_int_distribution<int>(0, count - 1)(rng));
}

bool Chance(MonkeyRng &rng, int percent) {
    return Pick(rng, 100) < percent;
}

QString HostileText(MonkeyRng &rng) {
    if (Chance(rng, 3))
        return LongLine(rng);
    QString text;
    for (int n = 1 + Pick(rng, 3); n > 0; --n)
        text += Pieces[Pick(rng, int(Pieces.size()))];
    return text;
}

QString HostileKeys(MonkeyRng &rng) {
    QString text = HostileText(rng);
    return text.left(24);
}

HostileFiles::HostileFiles(const QDir &folder) {
    auto file = [&](const QString &name, const QByteArray &bytes) {
        const QString path = folder.filePath(name);
        WriteBytes(path, bytes);
        openable << path;
        return path;
    };
    startDeck = file(QStringLiteral("deck.csv"), SoundDeck(40));
    file(QStringLiteral("big.csv"), SoundDeck(400));
    file(QStringLiteral("café.csv"), SoundDeck(5));
    file(QStringLiteral("한국어.csv"), SoundDeck(5));
    file(QStringLiteral("😀.csv"), SoundDeck(5));
    file(QStringLiteral("empty.csv"), {});
    file(QStringLiteral("nocomma.csv"), "abc\r\ndef\r\n");
    file(QStringLiteral("onecard.csv"), "q,a\r\n");
    file(QStringLiteral("utf8.csv"),
         QStringLiteral("質問,答え,,0,0,0,\r\n二,2,,0,0,0,\r\n").toUtf8());
    file(QStringLiteral("numbers.csv"),
         "a,b,c,99999999999,-5,x\r\nd,e,f,-2147483649,2147483648,1e3,\r\n,,,,,,\r\n");
    file(QStringLiteral("quotes.csv"),
         "\"a,b\",c\r\n\"abc,d\r\ne,f\"\r\n\",\",\",\",\",\",1,2,3,\"\r\n\"\"\"\",\"\r\n");
    file(QStringLiteral("mixed_ends.csv"), "a,b\rc,d\ne,f\r\n\r\n\r,\n");
    file(QStringLiteral("long.csv"), "q," + QByteArray(20000, 'x') + ",r,0,0,0,\r\n" +
                                         Sjis(QStringLiteral("ソ,表\\n能,\\\\n,0,0,0,\r\n")));
    QByteArray garbage;
    MonkeyRng bytes(5);
    for (int i = 0; i < 4000; ++i)
        garbage += char(bytes() & 0xFF);
    file(QStringLiteral("garbage.csv"), "x,y\r\n" + garbage);
    file(QStringLiteral("lead_bytes.csv"),
         "\x81,\x82\x5C,\xFF\xFE,0,0,0,\x83\r\n\x81\x5C,a\x81\r\n");
    const auto foreignFile = [&](const QString &name, const QByteArray &bytes) {
        foreign.emplace_back(file(name, bytes), bytes);
    };
    foreignFile(QStringLiteral("spreadsheet.csv"),
                Sjis(QStringLiteral("表,裏,メモ\r\n犬,dog,\"動物\r\n四つ足\"\r\n猫,cat,\r\n")));
    foreignFile(QStringLiteral("header_only.csv"), Sjis(QStringLiteral("表,裏,メモ\r\n")));
    foreignFile(QStringLiteral("utf8_sheet.csv"),
                QStringLiteral("\uFEFFfront,back\r\n\"a\r\nb\",c\r\n").toUtf8());
    QByteArray program("\x7f"
                       "ELF\x02\x01\x01",
                       7);
    program += QByteArray(40, '\0') + "a,b\n" + garbage;
    foreignFile(QStringLiteral("program.csv"), program);
    foreignFile(QStringLiteral("program.tsv"), program);
    folder.mkdir(QStringLiteral("folder.csv"));
    openable << folder.filePath(QStringLiteral("folder.csv"))
             << folder.filePath(QStringLiteral("missing.csv"));
    for (const char *name : {"saved.csv", "saved2.csv", "ソ表.csv", "naïve.csv", "👍.csv"})
        saveNames << folder.filePath(QString::fromUtf8(name));
    saveNames << folder.filePath(QStringLiteral("no_such_folder/x.csv"))
              << folder.filePath(QStringLiteral("folder.csv"));
}
