#include "deck/deck_encoding.h"
#include "deck/sjis_codec.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray Utf8(const char16_t *text) {
    return QString::fromUtf16(text).toUtf8();
}

QByteArray Sjis(const char16_t *text) {
    return sjis::FromQString(QString::fromUtf16(text));
}

TEST(DeckEncoding, Utf8DecksAreRecognised) {
    // Japanese, a European language and emoji, each short enough that the Shift-JIS reading of
    // some of them has no invalid byte at all.
    for (const char16_t *text :
         {u"りんご,apple,,0,0,0,\r\nみかん,orange,,0,0,0,\r\n", u"あ,a", u"漢字,かんじ",
          u"café,コーヒー", u"café,coffee", u"été,summer", u"😀,smile", u"한국어,Korean"})
        EXPECT_TRUE(deck_encoding::LooksLikeUtf8(Utf8(text)))
            << QString::fromUtf16(text).toStdString();
}

TEST(DeckEncoding, ShiftJisAndAsciiDecksAreNot) {
    for (const char16_t *text :
         {u"りんご,apple,,0,0,0,\r\n", u"表ソ能十,ｶﾀｶﾅ①Ⅹ㈱～", u"漢字,かんじ", u"apple,りんご",
          u"ﾃｽﾄ,テスト", u"plain,ascii,,0,0,0,"})
        EXPECT_FALSE(deck_encoding::LooksLikeUtf8(Sjis(text)))
            << QString::fromUtf16(text).toStdString();
    // Shift-JIS with bytes that are not valid in it is still Shift-JIS.
    EXPECT_FALSE(deck_encoding::LooksLikeUtf8("\x85\x40,\x82\xa0,\xff\r\n"));
    EXPECT_FALSE(deck_encoding::LooksLikeUtf8("\x82\xa0\x81,a"));
    EXPECT_FALSE(deck_encoding::LooksLikeUtf8(""));
    // Invalid UTF-8 (a lone continuation byte) beside valid UTF-8 is not UTF-8.
    EXPECT_FALSE(deck_encoding::LooksLikeUtf8(Utf8(u"あ,a") + "\x80"));
}

TEST(DeckEncoding, LargeFilesAreTestedWholeWhateverCharacterLiesAtAPieceBoundary) {
    // The test reads large files in pieces of 64 KiB; characters of two, three and four bytes
    // start at every offset around the boundary.
    for (const char16_t *character : {u"é", u"あ", u"😀"}) {
        for (int shift = 0; shift < 4; ++shift) {
            const QByteArray head = QByteArray(64 * 1024 - 2 - shift, 'a');
            const QByteArray text = head + Utf8(character).repeated(3) + ",b\r\n";
            EXPECT_TRUE(deck_encoding::LooksLikeUtf8(text)) << shift;
            // An invalid byte far past the first piece still decides.
            EXPECT_FALSE(deck_encoding::LooksLikeUtf8(text + QByteArray(70000, 'c') + "\xff"))
                << shift;
        }
    }
}

TEST(DeckEncoding, TheSampleDeckIsShiftJis) {
    QFile sample(QStringLiteral(KARDEON_TEST_DATA "/../../examples/sample.csv"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    EXPECT_FALSE(deck_encoding::LooksLikeUtf8(sample.readAll()));
}

TEST(DeckEncoding, ByteOrderMarkCountsAndIsDropped) {
    EXPECT_TRUE(deck_encoding::LooksLikeUtf8("\xEF\xBB\xBFq,a\r\n"));
    const deck_encoding::Converted converted =
        deck_encoding::Utf8ToShiftJis("\xEF\xBB\xBF" + Utf8(u"問題,答え\r\n"));
    EXPECT_EQ(converted.bytes, Sjis(u"問題,答え\r\n"));
    EXPECT_TRUE(converted.unencodable.isEmpty());
}

TEST(DeckEncoding, ConversionListsWhatShiftJisCannotHold) {
    const deck_encoding::Converted converted =
        deck_encoding::Utf8ToShiftJis(Utf8(u"café 😀,한😀,\\~\r\nりんご,ｶﾅ"));
    EXPECT_EQ(converted.bytes, Sjis(u"caf ,,\\~\r\nりんご,ｶﾅ"));
    EXPECT_EQ(converted.unencodable, QString::fromUtf16(u"é😀한"));
}

} // namespace
