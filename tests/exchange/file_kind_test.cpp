#include "deck/deck_lines.h"
#include "deck/sjis_codec.h"
#include "exchange/file_kind.h"

#include <gtest/gtest.h>

namespace {

using namespace exchange;

QByteArray Sjis(const QString &text) {
    return sjis::FromQString(text);
}

// The start of an executable: a header padded with NULs.
QByteArray ElfStart() {
    return QByteArray("\x7f"
                      "ELF\x02\x01\x01",
                      7) +
           QByteArray(40, '\0') + "a,b\n";
}

QByteArray Utf16Le(const QString &text) {
    return QByteArray("\xff\xfe", 2) +
           QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

struct KindCase {
    const char *name;
    QByteArray bytes;
    FileKind kind;
};

TEST(FileKind, DecidesFromTheBytesOfRealWorldFiles) {
    const KindCase cases[] = {
        {"Excel CSV with a header and a quoted line break",
         Sjis(u"表,裏,メモ\r\n犬,dog,\"動物\r\n四つ足\"\r\n猫,cat,\r\n"_qs), FileKind::OtherText},
        {"header row only", Sjis(u"表,裏,メモ\r\n"_qs), FileKind::OtherText},
        {"English header in UTF-8 with a mark",
         "\xef\xbb\xbf" + u"front,back\n犬,dog\n猫,cat\n"_qs.toUtf8(), FileKind::OtherText},
        {"UTF-8 with a quoted line break, no header", u"犬,\"dog\nwoof\"\n猫,cat\n"_qs.toUtf8(),
         FileKind::OtherText},
        {"two-field hand-written deck", Sjis(u"犬,dog\r\n猫,cat\r\n鳥,bird\r\n"_qs),
         FileKind::Deck},
        {"hand-written deck with a quote inside a text",
         Sjis(u"say \"hi,挨拶\r\n猫,cat\r\nend\",終わり\r\n"_qs), FileKind::Deck},
        {"deck with learning records",
         Sjis(u"apple,りんご,名詞,46000,3,1,○×○\r\nborrow,借りる,,0,0,0,\r\n"_qs), FileKind::Deck},
        {"deck whose first card is named like a header", Sjis(u"表,裏,,46001,0,2,××\r\n\"a\r\n"_qs),
         FileKind::Deck},
        {"record only past the first 64 KB still makes a deck",
         Sjis(u"表,裏\r\n"_qs) + QByteArray(70000, 'x') + ",y\r\n" + "q,a,,1,2,3,\r\n",
         FileKind::Deck},
        {"tab-separated list", "dog\tinu\ncat\tneko\n", FileKind::NotDeck},
        {"UTF-16 CSV", Utf16Le(u"dog,犬\r\ncat,猫\r\n"_qs), FileKind::OtherText},
        {"executable", ElfStart(), FileKind::Binary},
        {"form feed, tab and one escape among letters",
         Sjis(u"犬,dog,\f改\t\r\n"_qs) + QByteArray(100, 'a') + ",\x1b[0m\r\n", FileKind::Deck},
        {"control characters", QByteArray("a,b\x01\x02\x03\x04\x05\x06\x07\x08\r\n", 14),
         FileKind::Binary},
    };
    for (const KindCase &c : cases)
        EXPECT_EQ(KindOfFile(DeckLines::FromFileBytes(c.bytes)), c.kind) << c.name;
}

} // namespace
