#pragma once

#include "deck/sjis_codec.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Whole-text conversions between Shift-JIS and Unicode for files of a million cards. They give
// exactly what sjis::ToDisplay and sjis::FromDisplay give, through tables built once from those
// very functions, without handing every text to ICU (and checking it a second time) as they do.
namespace exchange {

QString DecodeShiftJis(QByteArrayView bytes);
// The same text as UTF-8, in one pass.
QByteArray ShiftJisToUtf8(QByteArrayView bytes);
sjis::Encoded EncodeShiftJis(QStringView text);

// UTF-8 straight to Shift-JIS, exactly as decoding it (QStringDecoder, UTF-8, stateless) and
// EncodeShiftJis would give it: a byte-order mark at the very start is skipped, and each byte
// that is not part of a valid UTF-8 character counts as a U+FFFD, which Shift-JIS cannot hold.
sjis::Encoded Utf8ToShiftJis(QByteArrayView utf8);

// Writes the UTF-8 of Shift-JIS `bytes` at `out`, which has room for three bytes per byte, and
// returns the end of what it wrote; nullptr when a byte does not decode on its own (what the
// codec makes of those depends on the text around them: ShiftJisToUtf8 of the whole decides).
char *WriteAsUtf8(QByteArrayView bytes, char *out);

} // namespace exchange
