#include "edit/store_edit.h"

#include "deck/card.h"
#include "deck/sjis_codec.h"

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

QString UnencodableMessage(const QString &characters) {
    return QStringLiteral("「%1」は保存できない文字のため取り除きました。").arg(characters);
}
