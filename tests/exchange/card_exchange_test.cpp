#include "deck/card.h"
#include "deck/sjis_codec.h"
#include "exchange/card_export.h"
#include "exchange/card_import.h"
#include "exchange/note_header.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace exchange;

QByteArray Sjis(const QString &text) {
    return sjis::FromQString(text);
}

// What a field shows, as the user reads it.
QString Shown(const QByteArray &stored) {
    return sjis::ToQString(DisplayForm(stored));
}

// A card that shows exactly these texts.
std::unique_ptr<TMondaiSet> TypedCard(const QString &q, const QString &a, const QString &r) {
    return std::make_unique<TMondaiSet>(StoredFormOf(Sjis(q), nullptr),
                                        StoredFormOf(Sjis(a), nullptr),
                                        StoredFormOf(Sjis(r), nullptr), 0, 0, 0, QByteArray());
}

QStringList Texts(const TMondaiSet &card) {
    return {Shown(card.Mondai()), Shown(card.Kaitou()), Shown(card.Sankou())};
}

ImportResult ImportDetected(const QByteArray &bytes) {
    return ImportCards(bytes, DetectImportOptions(bytes));
}

// ---------------------------------------------------------------- round trips

TEST(ExchangeRoundTrip, ExportedCardsComeBackAsTheyWere) {
    const QStringList texts = {u"apple, red"_qs,
                               u"\"quoted\""_qs,
                               u"\"opens"_qs,
                               u"closes\""_qs,
                               u"\""_qs,
                               u"\"\""_qs,
                               u"say \"hi\" now"_qs,
                               u"tab\there"_qs,
                               u"line1\r\nline2"_qs,
                               u"表示\r\nソフト"_qs,
                               u"能力,十"_qs,
                               u"<b>&amp;</b>"_qs,
                               u"a;b"_qs,
                               u"#separator:tab"_qs,
                               u"  spaced  "_qs,
                               u"x"_qs};
    CardOwnerList cards;
    for (qsizetype i = 0; i < texts.size(); ++i)
        cards.push_back(
            TypedCard(texts[i], texts[(i + 1) % texts.size()], texts[(i + 5) % texts.size()]));
    for (const ExportFormat format : {ExportFormat::Csv, ExportFormat::Tsv, ExportFormat::Notes}) {
        for (const bool withRecord : {false, true}) {
            const QByteArray file = ExportCards(cards, {format, withRecord, withRecord});
            const ImportResult back = ImportDetected(file);
            SCOPED_TRACE(file.left(200).toStdString());
            ASSERT_TRUE(back.ok()) << back.ErrorMessage().toStdString();
            ASSERT_EQ(back.cards.size(), cards.size());
            for (size_t i = 0; i < cards.size(); ++i)
                EXPECT_EQ(Texts(*back.cards[i]), Texts(*cards[i])) << i;
            EXPECT_TRUE(back.unencodable.isEmpty());
        }
    }
}

// Cards that read back badly once: all three texts empty (an empty record is taken for a blank
// row), and texts ending in a line break. A spreadsheet's unquoted empty rows stay no cards.
TEST(ExchangeRoundTrip, EmptyCardsAndTrailingBreaksComeBack) {
    // In stored form: "\\n" stands for a line break.
    const std::array<QByteArray, 3> stored[] = {
        {"", "", ""}, {"ends\\n", "two\\n\\n", ""}, {"\"\"", "", ""}, {"x", "", "\\n"}};
    CardOwnerList cards;
    for (const auto &texts : stored)
        cards.push_back(
            std::make_unique<TMondaiSet>(texts[0], texts[1], texts[2], 0, 0, 0, QByteArray()));
    for (const ExportFormat format : {ExportFormat::Csv, ExportFormat::Tsv, ExportFormat::Notes}) {
        for (const bool withRecord : {false, true}) {
            const QByteArray file = ExportCards(cards, {format, withRecord, withRecord});
            const ImportResult back = ImportDetected(file);
            SCOPED_TRACE(file.toStdString());
            ASSERT_TRUE(back.ok()) << back.ErrorMessage().toStdString();
            ASSERT_EQ(back.cards.size(), cards.size());
            for (size_t i = 0; i < cards.size(); ++i)
                EXPECT_EQ(Texts(*back.cards[i]), Texts(*cards[i])) << i;
        }
    }
    EXPECT_EQ(ImportDetected("a,b\r\n,,\r\n,,\r\n").cards.size(), 1u);
}

TEST(ExchangeRoundTrip, ExportWritesWhatTheUserSees) {
    CardOwnerList cards;
    cards.push_back(TypedCard(u"a,b"_qs, u"x\ny"_qs, u"\"q\""_qs));
    cards.back()->Jikan = 37987; // 2004-01-01
    cards.back()->Seikai = 3;
    cards.back()->Fuseikai = 1;
    EXPECT_EQ(ExportCards(cards, {ExportFormat::Csv, false, false}),
              "\"a,b\",\"x\r\ny\",\"\"\"q\"\"\"\r\n");
    EXPECT_EQ(ExportCards(cards, {ExportFormat::Tsv, true, true}),
              QString(u"問題\t解答\t参考\t期日\t正解\t不正解\r\n"
                      u"a,b\t\"x\r\ny\"\t\"\"\"q\"\"\"\t2004-01-01\t3\t1\r\n"_qs)
                  .toUtf8());
    EXPECT_EQ(ExportCards(cards, {ExportFormat::Notes, false, false}),
              QString(u"#separator:tab\n#html:true\n#columns:問題\t解答\t参考\n"
                      u"a,b\tx<br>y\t\"\"\"q\"\"\"\n"_qs)
                  .toUtf8());
}

// The table converts what it can decode character by character; bytes it cannot are left to the
// codec, over the whole text as written in Shift-JIS. Texts that grow past the first guess of
// the size (half-width katakana take three bytes each in UTF-8) come out whole.
TEST(ExchangeRoundTrip, ExportConvertsEveryTextAsTheCodecDoes) {
    const QByteArray kana = Sjis(u"ｶﾀｶﾅ"_qs).repeated(50);
    const struct {
        TMondaiSet card;
        ExportOptions options;
        QByteArray record; // Shift-JIS
    } cases[] = {
        {{"a\x81", "b", "", 0, 0, 0, {}}, {ExportFormat::Csv, false, false}, "a\x81,b,\r\n"},
        {{"\x82", "\x95\x5c", "x\\ny", 0, 0, 0, {}},
         {ExportFormat::Tsv, false, false},
         "\x82\t\x95\x5c\t\"x\r\ny\"\r\n"},
        {{"\"q\x81\"", "\x81", "", 37987, -2, 7, {}},
         {ExportFormat::Csv, true, false},
         "q\x81,\x81,,2004-01-01,-2,7\r\n"},
        {{kana, kana, kana, 0, 0, 0, {}},
         {ExportFormat::Csv, false, false},
         kana + ',' + kana + ',' + kana + "\r\n"},
    };
    for (const auto &c : cases) {
        CardOwnerList cards;
        for (int i = 0; i < 40; ++i)
            cards.push_back(std::make_unique<TMondaiSet>(c.card));
        EXPECT_EQ(ExportCards(cards, c.options),
                  sjis::ToDisplay(c.record.repeated(40)).text.toUtf8())
            << c.record.toHex().toStdString();
    }
}

// The file holds exactly what ExportCards gives, however many blocks it takes to write, and a
// deck whose bytes the table cannot decode still reaches the file through the codec.
TEST(ExchangeRoundTrip, ExportToAFileWritesWhatExportCardsGives) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"export.csv"_qs);
    CardOwnerList many;
    for (int i = 0; i < 20000; ++i) // more than a block of 1 MiB
        many.push_back(std::make_unique<TMondaiSet>("\"q" + QByteArray::number(i) + ",x\"",
                                                    Sjis(u"表示\\nソフト"_qs).repeated(i % 7),
                                                    "r\\n", i, i % 5, -i, "h"));
    CardOwnerList broken;
    broken.push_back(std::make_unique<TMondaiSet>("a", "b", "", 0, 0, 0, ""));
    broken.push_back(std::make_unique<TMondaiSet>("c\x81", "d", "", 0, 0, 0, ""));
    CardOwnerList none;
    for (const CardOwnerList *cards : {&many, &broken, &none}) {
        for (const ExportOptions options : {ExportOptions{ExportFormat::Csv, false, false},
                                            ExportOptions{ExportFormat::Tsv, true, true},
                                            ExportOptions{ExportFormat::Notes, true, false}}) {
            ASSERT_TRUE(ExportCardsToFile(path, *cards, options).ok);
            QByteArray written;
            ASSERT_TRUE(ReadTextFile(path, &written).ok);
            EXPECT_EQ(written, ExportCards(*cards, options))
                << cards->size() << " cards, format " << int(options.format);
        }
    }
    EXPECT_FALSE(ExportCardsToFile(dir.filePath(u"missing/export.csv"_qs), many, {}).ok);
}

TEST(ExchangeRoundTrip, ExportLeavesTheCardsAlone) {
    CardOwnerList cards;
    cards.push_back(std::make_unique<TMondaiSet>("\"a,b\"", "x\\ny", "", 1, 2, 3, "r"));
    const TMondaiSet before = *cards.back();
    ExportCards(cards, {ExportFormat::Notes, true, false});
    EXPECT_EQ(cards.back()->Mondai(), before.Mondai());
    EXPECT_EQ(cards.back()->Kaitou(), before.Kaitou());
}

TEST(ExchangeRoundTrip, CharactersShiftJisLacksAreReportedNotHidden) {
    const ImportResult result = ImportDetected(u"smile 😀\t笑顔\ncafé\tcoffee 😀 ☕\n"_qs.toUtf8());
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(result.cards.size(), 2u);
    EXPECT_EQ(result.unencodable, u"😀é☕"_qs);
    EXPECT_EQ(Texts(*result.cards[0]), QStringList({u"smile "_qs, u"笑顔"_qs, QString()}));
}

TEST(ExchangeImport, CardsGetTheRecordOfAnAddedCard) {
    const ImportResult result = ImportDetected("q,a,r,46000,5,6,history\n");
    ASSERT_EQ(result.cards.size(), 1u);
    const TMondaiSet &card = *result.cards[0];
    EXPECT_EQ(card.Jikan, 0);
    EXPECT_EQ(card.Seikai, 0);
    EXPECT_EQ(card.Fuseikai, 0);
    EXPECT_TRUE(card.Rireki().isEmpty());
}

// A quoted field is unescaped into the reader's own storage, which the next rows reuse; the
// cards made from earlier rows must keep their own texts.
TEST(ExchangeImport, QuotedFieldsKeepTheirTextsAfterLaterRows) {
    QByteArray file = "\"x;y\";\"q\"\n";
    for (int row = 0; row < 200; ++row)
        file += "\"zz;ww" + QByteArray::number(row) + "\";\"" + QByteArray(row, 'r') + "\"\n";
    ImportOptions options;
    options.separator = ';';
    const ImportResult result = ImportCards(file, options);
    ASSERT_EQ(result.cards.size(), 201u);
    EXPECT_EQ(Shown(result.cards[0]->Mondai()), QStringLiteral("x;y"));
    EXPECT_EQ(Shown(result.cards[0]->Kaitou()), QStringLiteral("q"));
    EXPECT_EQ(Shown(result.cards[1]->Mondai()), QStringLiteral("zz;ww0"));
    EXPECT_EQ(Shown(result.cards[200]->Mondai()), QStringLiteral("zz;ww199"));
}

TEST(ExchangeImport, StoredFormsReadBackFromADeckLine) {
    bool separated = false;
    for (const char *text : {"a,b", "\"x\"", "\"", "a\r\nb\nc", "\x95\x5cn", "\"a\",b"}) {
        const QByteArray stored = StoredFormOf(text, &separated);
        TMondaiSet card(stored, "k", stored, 0, 0, 0, stored);
        const QByteArray line = RenderCardLine(card);
        for (int column : {1, 3, 7})
            EXPECT_EQ(ExtractField(line, column), stored) << text;
    }
    EXPECT_TRUE(separated); // the last text holds a quote before a comma
}

// A text without quotes or line breaks is stored as an edit of the field stores it.
TEST(ExchangeImport, StoredFormsOfPlainTextsAreThoseOfAnEdit) {
    for (const QByteArray text : {"", "a", "a,b", ",", ",a,", "a, b", "\x95\x5c,\x83\x5c", "x\\n,y",
                                  "\x81", "a\tb", "  "}) {
        TMondaiSet edited;
        edited.SetField(1, text);
        bool separated = false;
        EXPECT_EQ(StoredFormOf(text, &separated), edited.Mondai()) << text.toStdString();
        EXPECT_FALSE(separated);
    }
}

TEST(ExchangeImport, ColumnMappingAndHeaderRowAreFollowed) {
    const QByteArray file = "term,definition,extra\nq1,a1,r1\nq2,,\n,,\n";
    ImportOptions options = DetectImportOptions(file);
    EXPECT_TRUE(options.headerRow);
    EXPECT_EQ(options.separator, ',');
    EXPECT_EQ(options.columns, (std::array<int, 3>{0, 1, 2}));
    options.columns = {1, 0, kNoColumn};
    const ImportResult result = ImportCards(file, options);
    EXPECT_EQ(result.columnNames, QStringList({u"term"_qs, u"definition"_qs, u"extra"_qs}));
    ASSERT_EQ(result.cards.size(), 2u); // the empty record gives no card
    EXPECT_EQ(Texts(*result.cards[0]), QStringList({u"a1"_qs, u"q1"_qs, u""_qs}));
    EXPECT_EQ(Texts(*result.cards[1]), QStringList({u""_qs, u"q2"_qs, u""_qs}));
}

TEST(ExchangeImport, SeparatorsAreDetected) {
    const struct {
        const char *text;
        char separator;
    } cases[] = {{"a\tb, c\nd\te, f\n", '\t'}, {"a,b\nc,d\n", ','},   {"a;b,c\nd;e\n", ';'},
                 {"one\ntwo\n", ','},          {"\"a\tb\",c\n", ','}, {"word\tmeaning\n", '\t'}};
    for (const auto &c : cases)
        EXPECT_EQ(DetectSeparator(c.text), c.separator) << c.text;
    // A deck line with a tab in a text still has seven comma-separated fields.
    EXPECT_EQ(DetectSeparator("a\tb,c,,0,0,0,\nd\te,f,,0,0,0,\n"), ',');
    EXPECT_TRUE(LooksLikeOtherProgramsText(u"apple\tりんご\nbanana\tバナナ\n"_qs.toUtf8()));
    EXPECT_TRUE(LooksLikeOtherProgramsText(QByteArray("\xff\xfe") + QByteArray("a\0,\0b\0", 6)));
    EXPECT_TRUE(LooksLikeOtherProgramsText("#separator:comma\na,b\n"));
    EXPECT_FALSE(LooksLikeOtherProgramsText("apple,ringo,,0,0,0,\n#x,y\n"));
    // What the deck reader rejects is offered for import only when it holds card columns.
    EXPECT_TRUE(HoldsCardColumns("apple\tringo\n"));
    EXPECT_TRUE(HoldsCardColumns("apple;ringo\npear;nashi\n"));
    EXPECT_FALSE(HoldsCardColumns("one line\nanother line\n"));
    EXPECT_FALSE(HoldsCardColumns(""));
}

// ---------------------------------------------------------------- header lines

TEST(ExchangeNoteHeader, EachHeaderLineIsRead) {
    const struct {
        const char *line;
        std::function<bool(const NoteHeader &)> check;
    } cases[] = {
        {"#separator:Tab", [](const NoteHeader &h) { return h.separator == '\t'; }},
        {"#separator:comma", [](const NoteHeader &h) { return h.separator == ','; }},
        {"#separator:Semicolon", [](const NoteHeader &h) { return h.separator == ';'; }},
        {"#separator:|", [](const NoteHeader &h) { return h.separator == '|'; }},
        {"#html:true", [](const NoteHeader &h) { return h.html == true; }},
        {"#html:false", [](const NoteHeader &h) { return h.html == false; }},
        {"#columns:Front\tBack", [](const NoteHeader &h) { return h.columns == "Front\tBack"; }},
        {"#notetype column:1", [](const NoteHeader &h) { return h.notetypeColumn == 1; }},
        {"#deck column:2", [](const NoteHeader &h) { return h.deckColumn == 2; }},
        {"#tags column:5", [](const NoteHeader &h) { return h.tagsColumn == 5; }},
        {"#guid column:3", [](const NoteHeader &h) { return h.guidColumn == 3; }},
        {"#deck:Japanese", [](const NoteHeader &h) { return h.lineCount == 1; }},
    };
    for (const auto &c : cases) {
        const QByteArray text = QByteArray(c.line) + "\r\nq\ta\n";
        const NoteHeader header = ReadNoteHeader(text);
        EXPECT_TRUE(c.check(header)) << c.line;
        EXPECT_EQ(header.lineCount, 1) << c.line;
        EXPECT_EQ(text.mid(header.bodyOffset), "q\ta\n") << c.line;
    }
    // A card that merely starts with "#" is no header line.
    for (const char *card : {"#1,answer", "#columns but no colon", "#html:maybe", "#tags column:x"})
        EXPECT_EQ(ReadNoteHeader(card).bodyOffset, 0) << card;
}

TEST(ExchangeNoteHeader, NoteExportBecomesCards) {
    const QByteArray file =
        u"#separator:tab\n#html:true\n#notetype column:1\n#deck column:2\n"
        u"#guid column:3\n#columns:Type\tDeck\tGuid\tFront\tBack\tTags\n"
        u"#tags column:6\n"
        u"Basic\t日本語\tabc123\t<b>犬</b>\tdog<br>inu [sound:inu.mp3]\tanimal\n"
        u"Basic\t日本語\tdef456\t猫<img src=\"neko.jpg\">\t&quot;cat&quot;\t\n"_qs.toUtf8();
    const ImportOptions options = DetectImportOptions(file);
    EXPECT_EQ(options.separator, '\t');
    EXPECT_TRUE(options.html);
    EXPECT_FALSE(options.headerRow);
    EXPECT_EQ(options.columns, (std::array<int, 3>{3, 4, kNoColumn}));
    const ImportResult result = ImportCards(file, options);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.columnNames, QStringList({u"Type"_qs, u"Deck"_qs, u"Guid"_qs, u"Front"_qs,
                                               u"Back"_qs, u"Tags"_qs}));
    ASSERT_EQ(result.cards.size(), 2u);
    EXPECT_EQ(Texts(*result.cards[0]),
              QStringList({u"犬"_qs, u"dog\r\ninu [sound:inu.mp3]"_qs, QString()}));
    EXPECT_EQ(Texts(*result.cards[1]), QStringList({u"猫neko.jpg"_qs, u"\"cat\""_qs, QString()}));
}

// ---------------------------------------------------------------- encodings

QByteArray Encoded(const QString &text, QStringConverter::Encoding encoding, bool bom) {
    QStringEncoder encoder(encoding, bom ? QStringConverter::Flag::WriteBom
                                         : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

TEST(ExchangeEncoding, EveryEncodingGivesTheSameCards) {
    const QString text = u"表,ソフト\r\n\"能力\",\"十\r\n分\"\r\nabc,déjà\r\n"_qs;
    const struct {
        QByteArray bytes;
        SourceEncoding encoding;
    } cases[] = {
        {Encoded(text, QStringConverter::Utf8, false), SourceEncoding::Utf8},
        {Encoded(text, QStringConverter::Utf8, true), SourceEncoding::Utf8},
        {Encoded(text, QStringConverter::Utf16LE, true), SourceEncoding::Utf16LE},
        {Encoded(text, QStringConverter::Utf16BE, true), SourceEncoding::Utf16BE},
        {Encoded(text, QStringConverter::Utf16LE, false), SourceEncoding::Utf16LE},
        {Encoded(text, QStringConverter::Utf16BE, false), SourceEncoding::Utf16BE},
        {Sjis(text), SourceEncoding::ShiftJis},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(DetectEncoding(c.bytes), c.encoding) << EncodingName(c.encoding).toStdString();
        const ImportResult result = ImportDetected(c.bytes);
        ASSERT_EQ(result.cards.size(), 3u) << EncodingName(c.encoding).toStdString();
        EXPECT_EQ(Texts(*result.cards[0]), QStringList({u"表"_qs, u"ソフト"_qs, QString()}));
        EXPECT_EQ(Texts(*result.cards[1]), QStringList({u"能力"_qs, u"十\r\n分"_qs, QString()}));
        // é and à are not in Shift-JIS: left out, and named unless the file was Shift-JIS.
        EXPECT_EQ(Texts(*result.cards[2]), QStringList({u"abc"_qs, u"dj"_qs, QString()}));
        EXPECT_EQ(result.unencodable,
                  c.encoding == SourceEncoding::ShiftJis ? QString() : u"éà"_qs);
    }
    EXPECT_EQ(DetectEncoding("plain ascii"), SourceEncoding::Utf8);
}

// ---------------------------------------------------------------- hostile files

TEST(ExchangeHostile, BadFilesGiveAnErrorAndNoCards) {
    const struct {
        QByteArray bytes;
        ImportError error;
    } cases[] = {
        {"", ImportError::NoCards},
        {"\r\n\n\r", ImportError::NoCards},
        {"#separator:tab\n#html:true\n", ImportError::NoCards},
        {",,,\n,\n\n", ImportError::NoCards},
        {"ok,line\n\"" + QByteArray(2 << 20, 'x'), ImportError::RecordTooLong},
        {QByteArray(3 << 20, 'y'), ImportError::RecordTooLong},
    };
    for (const auto &c : cases) {
        const ImportResult result = ImportDetected(c.bytes);
        EXPECT_EQ(result.error, c.error) << c.bytes.left(40).toStdString();
        EXPECT_TRUE(result.cards.empty());
        EXPECT_FALSE(result.ErrorMessage().isEmpty());
    }
    EXPECT_EQ(ImportDetected("#deck:x\nok,line\n\"" + QByteArray(2 << 20, 'x')).errorLine, 3);
}

TEST(ExchangeHostile, JunkBytesStillGiveWellFormedCards) {
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 7919) % 256));
    for (const SourceEncoding encoding : {SourceEncoding::Utf8, SourceEncoding::Utf16LE,
                                          SourceEncoding::Utf16BE, SourceEncoding::ShiftJis}) {
        ImportOptions options;
        options.encoding = encoding;
        options.html = true;
        const ImportResult result = ImportCards(junk, options);
        for (const auto &card : result.cards) {
            const QByteArray line = RenderCardLine(*card);
            EXPECT_FALSE(line.contains('\r') || line.contains('\n'));
            EXPECT_EQ(ExtractField(line, 1), card->Mondai());
            EXPECT_EQ(ExtractField(line, 2), card->Kaitou());
            EXPECT_EQ(ExtractField(line, 3), card->Sankou());
        }
    }
}

// ---------------------------------------------------------------- taking the cards

TEST(ExchangeImport, NewDeckHasNoFileAndCountsAsChanged) {
    Deck deck;
    deck.SetFileName(u"/tmp/old.csv"_qs);
    deck.SetSavedLines(DeckLines::FromFileBytes("x,y\r\n"));
    CardRefList queue;
    TakeAsNewDeck(deck, queue, ImportDetected("a,b\nc,d\n").cards);
    EXPECT_TRUE(deck.FileName().isEmpty());
    EXPECT_EQ(deck.Cards().size(), 2u);
    EXPECT_EQ(queue.size(), 2u);
    EXPECT_TRUE(IsDeckChanged(deck));

    AppendCards(deck, queue, ImportDetected("e,f\n").cards);
    ASSERT_EQ(deck.Cards().size(), 3u);
    EXPECT_EQ(queue.back(), deck.Cards().back().get());
    EXPECT_EQ(deck.Cards().back()->Mondai(), "e");
}

} // namespace
