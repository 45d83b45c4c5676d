#include "edit/store_edit.h"

#include "deck/card.h"
#include "deck/sjis_codec.h"

#include <QApplication>
#include <QFontMetrics>

QByteArray StorableBytes(const QString &text) {
    return SeparateQuoteCommas(sjis::FromDisplay(text).bytes);
}

StoredEdit StoreEdit(TMondaiSet &card, int kind, const QString &text, int cursor) {
    StoredEdit result;
    const sjis::Encoded encoded = sjis::FromDisplay(text);
    const QByteArray kept = SeparateQuoteCommas(encoded.bytes);
    card.SetField(kind, EncodeLineBreaks(kept));
    result.unencodable = encoded.unencodable;
    result.quoteCommaSeparated = kept.size() != encoded.bytes.size();
    // Some characters have no place in the encoding, a few others come back as their
    // look-alike, and a quote before a comma gets a space: the box must then show what was
    // stored.
    const QString roundTrip = sjis::ToDisplay(kept).text;
    if (roundTrip != text) {
        result.boxDiffers = true;
        result.boxText = roundTrip;
        result.cursorPosition = int(sjis::ToDisplay(StorableBytes(text.left(cursor))).text.size());
    }
    return result;
}

QString QuoteCommaMessage() {
    // Short: it shares the status bar with the record of the card.
    return QStringLiteral("「\",」の間に空白を入れました");
}

QString NameCharacters(const QString &characters, const std::function<bool(char32_t)> &canShow) {
    QStringList names;
    for (const char32_t c : characters.toUcs4()) {
        const QString codePoint =
            QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
        if (QChar::isPrint(c) && canShow(c))
            names << QStringLiteral("%1 (%2)").arg(QString::fromUcs4(&c, 1), codePoint);
        else
            names << codePoint;
    }
    return names.join(QStringLiteral("、"));
}

QString UnencodableMessage(const QString &characters) {
    // Font fallback included: the metrics say whether any font the text would use has a glyph.
    const QFontMetrics metrics(QApplication::font());
    const QString names =
        NameCharacters(characters, [&metrics](char32_t c) { return metrics.inFontUcs4(c); });
    return QStringLiteral("「%1」は保存できない文字のため取り除きました。").arg(names);
}
