#include "exchange/delimited_reader.h"
#include "exchange/html_text.h"

#include <QByteArrayList>

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using exchange::DelimitedReader;

// Every record of `text`, fields joined by "|".
using Strings = std::vector<std::string>;

Strings Records(const QByteArray &text, char separator) {
    DelimitedReader reader(text, separator, 1 << 20);
    Strings records;
    while (reader.Next()) {
        QByteArrayList fields;
        for (const QByteArrayView field : reader.Fields())
            fields << field.toByteArray();
        records.push_back(fields.join('|').toStdString());
    }
    return records;
}

struct ReaderCase {
    const char *text;
    char separator;
    Strings records;
};

TEST(DelimitedReader, ReadsRfc4180Records) {
    const ReaderCase cases[] = {
        {"a,b,c\r\nd,e,f\r\n", ',', {"a|b|c", "d|e|f"}},
        {"a,b\nc,d", ',', {"a|b", "c|d"}},
        {"a,b\rc,d\r", ',', {"a|b", "c|d"}},
        {"\"a,b\",c", ',', {"a,b|c"}},
        {"\"say \"\"hi\"\"\",x", ',', {"say \"hi\"|x"}},
        {"\"line1\r\nline2\",x\r\ny,z", ',', {"line1\r\nline2|x", "y|z"}},
        {"\"\"\"\",\"\"", ',', {"\"|"}},
        {"a\"b,c\"", ',', {"a\"b|c\""}},
        {"\"a\"b,c", ',', {"ab|c"}},
        {"a\t\"b\tc\"\td", '\t', {"a|b\tc|d"}},
        {"a;b,c;d", ';', {"a|b,c|d"}},
        {"\n\r\n\na,b\n\n", ',', {"a|b"}},
        {",,\n", ',', {"||"}},
        {"\"open,never closed\nnext", ',', {"open,never closed\nnext"}},
    };
    for (const ReaderCase &c : cases)
        EXPECT_EQ(Records(c.text, c.separator), c.records) << c.text;
}

TEST(DelimitedReader, StopsAtARecordLongerThanTheLimit) {
    const QByteArray text = "a,b\nc,d\n\"e," + QByteArray(100, 'x') + "\nf,g\n";
    DelimitedReader reader(text, ',', 50);
    ASSERT_TRUE(reader.Next());
    ASSERT_TRUE(reader.Next());
    EXPECT_FALSE(reader.Next());
    EXPECT_TRUE(reader.TooLong());
    EXPECT_EQ(reader.LineNumber(), 3);
    EXPECT_FALSE(reader.Next());
    // A plain field runs into the limit just the same.
    const QByteArray field(100, 'x');
    DelimitedReader plain(field, ',', 50);
    EXPECT_FALSE(plain.Next());
    EXPECT_TRUE(plain.TooLong());
}

TEST(DelimitedReader, CountsLinesInsideQuotedFields) {
    DelimitedReader reader("\"a\r\nb\nc\rd\",x\ny", ',', 1 << 20);
    ASSERT_TRUE(reader.Next());
    EXPECT_EQ(reader.LineNumber(), 1);
    ASSERT_TRUE(reader.Next());
    EXPECT_EQ(reader.LineNumber(), 5);
}

struct HtmlCase {
    const char *html;
    const char *text;
};

TEST(HtmlText, ReducesHtmlToText) {
    const HtmlCase cases[] = {
        {"a<br>b<br/>c<BR />d", "a\nb\nc\nd"},
        {"<div>a</div><div>b</div>", "a\nb"},
        {"a<div>b</div>c", "a\nb\nc"},
        {"<p>x</p>", "x"},
        {"<b>bold</b> <span style=\"color:red\">red</span>", "bold red"},
        {"&lt;tag&gt; &amp; &quot;q&quot; &#39;s&#39; &#x41;&nbsp;", "<tag> & \"q\" 's' A "},
        {"<img src=\"cat.jpg\">", "cat.jpg"},
        {"x<img alt='y' src='dir/a b.png' />z", "xdir/a b.pngz"},
        {"[sound:word.mp3]", "[sound:word.mp3]"},
        {"a < b & c", "a < b & c"},
        {"&unknown; &#0; &#xZZ;", "&unknown; &#0; &#xZZ;"},
        {"<!-- note -->t", "t"},
        {"\x95\x5c<br>\x83\x5c", "\x95\x5c\n\x83\x5c"}, // 表 and ソ end in 0x5C
    };
    for (const HtmlCase &c : cases)
        EXPECT_EQ(exchange::HtmlToText(c.html, nullptr), QByteArray(c.text)) << c.html;
}

TEST(HtmlText, ReportsDecodedCharactersShiftJisLacks) {
    QString lost;
    EXPECT_EQ(exchange::HtmlToText("a&#x1F600;b&#12354;&#x1F600;", &lost), "ab\x82\xa0");
    EXPECT_EQ(lost, QString::fromUtf16(u"😀"));
}

TEST(HtmlText, EscapesTextAsHtml) {
    EXPECT_EQ(exchange::TextToHtml("a<b>&c\r\nd\ne\rf"), "a&lt;b&gt;&amp;c<br>d<br>e<br>f");
}

} // namespace

#include "deck/sjis_codec.h"
#include "exchange/sjis_table.h"

namespace {

// The table conversions must give exactly what the program's codec gives.
TEST(ShiftJisTable, AgreesWithTheCodec) {
    QByteArray everyCode;
    for (int lead = 0x80; lead <= 0xFF; ++lead)
        for (int trail = 0x3F; trail <= 0xFD; ++trail)
            everyCode += char(lead) + QByteArray(1, char(trail)) + ' ';
    QByteArray junk;
    for (int i = 0; i < 20000; ++i)
        junk.append(char((i * 7919 + i / 7) % 256));
    const QByteArray valid = sjis::FromQString(u"表示ソフト ｶﾀｶﾅ ①Ⅰ～ é"_qs);
    for (const QByteArray &bytes : {everyCode, junk, valid, QByteArray("\x1a\x1c\x7f\x81")}) {
        const QString text = exchange::DecodeShiftJis(bytes);
        EXPECT_EQ(text, sjis::ToDisplay(bytes).text);
        EXPECT_EQ(exchange::ShiftJisToUtf8(bytes), sjis::ToDisplay(bytes).text.toUtf8());
        const sjis::Encoded encoded = exchange::EncodeShiftJis(text);
        const sjis::Encoded expected = sjis::FromDisplay(text);
        EXPECT_EQ(encoded.bytes, expected.bytes);
        EXPECT_EQ(encoded.unencodable, expected.unencodable);
    }
    const QString other = QString::fromUtf16(u"😀é～〜①Ⅰ¥\\ｶ\x1a\xd800x\U0001F600");
    EXPECT_EQ(exchange::EncodeShiftJis(other).bytes, sjis::FromDisplay(other).bytes);
    EXPECT_EQ(exchange::EncodeShiftJis(other).unencodable, sjis::FromDisplay(other).unencodable);
}

} // namespace

#include <QStringDecoder>

namespace {

// UTF-8 as the import took it before converting it straight: decoded by Qt, then encoded by
// the program's codec.
sjis::Encoded ThroughQString(const QByteArray &utf8) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    return sjis::FromDisplay(decoder.decode(utf8));
}

// Every character the codec decodes, each after a run of ASCII of another length, so that
// characters fall at every offset of the sixteen-byte steps.
QByteArray EveryShiftJisCharacterInUtf8() {
    QByteArray codes;
    for (int lead = 0x81; lead <= 0xFC; ++lead)
        for (int trail = 0x40; trail <= 0xFC; ++trail)
            codes += QByteArray(1, char(lead)) + char(trail) + QByteArray((lead + trail) % 23, 'a');
    for (int single = 0xA1; single <= 0xDF; ++single)
        codes += QByteArray(1, char(single)) + QByteArray(single % 9, '\\');
    return sjis::ToDisplay(codes).text.toUtf8();
}

// Every character of the Basic Multilingual Plane but the surrogates, most of which Shift-JIS
// lacks, and some beyond it.
QByteArray EveryOtherCharacterInUtf8() {
    QString text;
    for (char32_t c = 0x80; c <= 0xFFFF; ++c)
        if (!QChar::isSurrogate(c))
            text += QChar(char16_t(c)) + QString(int(c % 5), u'x');
    for (const char32_t c : {0x10000, 0x1F600, 0x1F600, 0x20B9F, 0x10FFFF})
        text += QString::fromUcs4(&c, 1) + u'\\';
    return text.toUtf8();
}

TEST(ShiftJisTable, ConvertsUtf8AsTheDecoderAndTheCodecDo) {
    const QByteArray cases[] = {
        EveryShiftJisCharacterInUtf8(),
        EveryOtherCharacterInUtf8(),
        u"表示ソフト能力 ｶﾀｶﾅ ①Ⅰ～〜 ¥\\ é😀é한😀"_qs.toUtf8(),
        // Not UTF-8: cut short, overlong, surrogates, past U+10FFFF, stray continuation bytes,
        // and valid characters straight after.
        "a\xE3\x81"
        "b\xE3\xE3\x81\x82\xC0\x80\xE0\x80\x80\xED\xA0\x80\xED\x9F\xBF\xF4\x90\x80\x80"
        "\xF0\x8F\xBF\xBF\xF5\x80\x80\x80\x80\xBF\xFE\xFF\xC2\xE3\x81\x82\xF0\x9F\x98",
        "\xF0\x9F\x98\x80\xE3\x81\x82\xC2\xA9\xEF\xBF\xBE\xEF\xBF\xBD\xE3",
        // Byte-order marks: one at the start is skipped, any other is a character.
        "\xEF\xBB\xBF\xEF\xBB\xBF"
        "a\xEF\xBB\xBF",
        "",
    };
    for (const QByteArray &utf8 : cases) {
        const sjis::Encoded converted = exchange::Utf8ToShiftJis(utf8);
        const sjis::Encoded expected = ThroughQString(utf8);
        EXPECT_EQ(converted.bytes, expected.bytes) << utf8.left(40).toHex().toStdString();
        EXPECT_EQ(converted.unencodable, expected.unencodable)
            << utf8.left(40).toHex().toStdString();
    }
}

TEST(ShiftJisTable, WritesShiftJisAsUtf8OrLeavesInvalidBytesToTheCodec) {
    const struct {
        QByteArray bytes;
        bool valid;
    } cases[] = {
        {sjis::FromDisplay(QString::fromUtf8(EveryShiftJisCharacterInUtf8())).bytes, true},
        {sjis::FromQString(u"表示\r\nソフト,\"ｶﾅ\""_qs), true},
        {"abc\x81", false},                     // a lead byte at the end
        {"\x81,x", false},                      // a lead byte before a comma
        {QByteArray(9, 'a') + "\x82 y", false}, // a lead byte before a space
    };
    for (const auto &c : cases) {
        QByteArray out(c.bytes.size() * 3, '\0');
        char *const end = exchange::WriteAsUtf8(c.bytes, out.data());
        ASSERT_EQ(end != nullptr, c.valid) << c.bytes.toHex().toStdString();
        if (end) {
            EXPECT_EQ(out.first(end - out.data()), sjis::ToDisplay(c.bytes).text.toUtf8());
        }
    }
}

} // namespace
