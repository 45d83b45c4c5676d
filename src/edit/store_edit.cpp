#include "edit/store_edit.h"

#include "deck/card.h"
#include "deck/sjis_codec.h"

StoredEdit StoreEdit(TMondaiSet &card, int kind, const QString &text, int cursor) {
    StoredEdit result;
    const sjis::Encoded encoded = sjis::FromDisplay(text);
    card.SetField(kind, EncodeLineBreaks(encoded.bytes));
    result.unencodable = encoded.unencodable;
    // Some characters have no place in the encoding, and a few others come back as their
    // look-alike: the box must then show what was stored.
    const QString roundTrip = sjis::ToDisplay(encoded.bytes).text;
    if (roundTrip != text) {
        result.boxDiffers = true;
        result.boxText = roundTrip;
        const QString before = text.left(cursor);
        result.cursorPosition = int(sjis::ToDisplay(sjis::FromDisplay(before).bytes).text.size());
    }
    return result;
}

QString UnencodableMessage(const QString &characters) {
    return QStringLiteral("「%1」は保存できない文字のため取り除きました。").arg(characters);
}
