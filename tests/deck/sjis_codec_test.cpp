#include "deck/sjis_codec.h"

#include <gtest/gtest.h>

namespace {

TEST(SjisCodec, BackslashAndTildeStayAscii) {
    EXPECT_EQ(sjis::ToDisplay("a\\n~").text, u"a\\n~");
    EXPECT_EQ(sjis::FromDisplay(u"C:\\~"_qs).bytes, "C:\\~");
}

TEST(SjisCodec, JapaneseRoundTrips) {
    const QString text = u"表ソ能十　りんご、ｶﾀｶﾅ①Ⅹ㈱～∥－"_qs;
    const sjis::Encoded encoded = sjis::FromDisplay(text);
    EXPECT_TRUE(encoded.unencodable.isEmpty());
    EXPECT_TRUE(encoded.bytes.startsWith("\x95\x5c\x83\x5c\x94\x5c\x8f\x5c\x81\x40"));
    const sjis::Decoded decoded = sjis::ToDisplay(encoded.bytes);
    EXPECT_FALSE(decoded.invalidBytes);
    EXPECT_EQ(decoded.text, text);
}

TEST(SjisCodec, ControlCharactersAreThemselves) {
    const QByteArray controls("\x00\x1a\x1c\x7f\r\n", 6);
    EXPECT_EQ(sjis::ToDisplay(controls).text, QString::fromLatin1(controls));
    EXPECT_EQ(sjis::ToDisplay("\x82\xa0\x1a").text, u"あ\x1a"_qs);
    EXPECT_EQ(sjis::FromDisplay(u"あ\x1a\x1c\x7f"_qs).bytes, "\x82\xa0\x1a\x1c\x7f");
}

TEST(SjisCodec, InvalidBytesAreReportedNotHidden) {
    for (const char *bad : {"\x80", "\xa0", "\xfd", "\xff", "\x81", "a\x81\"b", "\x85\x40"}) {
        const sjis::Decoded decoded = sjis::ToDisplay(bad);
        EXPECT_TRUE(decoded.invalidBytes) << bad;
        EXPECT_TRUE(decoded.text.contains(QChar::ReplacementCharacter)) << bad;
    }
    // A lead byte without its second byte leaves the quote after it intact.
    EXPECT_EQ(sjis::ToDisplay("a\x81\"b").text, u"a\xfffd\"b"_qs);
    EXPECT_EQ(sjis::ToDisplay("\x82\xa0\x80\x82\xa2").text, u"あ\xfffdい"_qs);
}

TEST(SjisCodec, UnencodableCharactersAreListedOnceAndLeftOut) {
    const sjis::Encoded encoded = sjis::FromDisplay(u"a😀é😀あ¥b\u2014"_qs);
    EXPECT_EQ(encoded.bytes, "a\x82\xa0"
                             "b");
    EXPECT_EQ(encoded.unencodable, u"😀é¥\u2014"_qs);
    const sjis::Encoded lone = sjis::FromDisplay(QString(QChar(0xd800)) + u"あ"_qs);
    EXPECT_EQ(lone.bytes, "\x82\xa0");
    EXPECT_EQ(lone.unencodable.size(), 1);
}

TEST(SjisCodec, ConvenienceCalls) {
    EXPECT_EQ(sjis::ToQString("\x90\xb3\x8c\xeb"), u"正誤");
    EXPECT_EQ(sjis::FromQString(u"正誤"_qs), "\x90\xb3\x8c\xeb");
    EXPECT_EQ(sjis::ToQString(""), u"");
}

} // namespace
