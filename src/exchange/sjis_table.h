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

} // namespace exchange
