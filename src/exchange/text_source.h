#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text files from other programs come in several encodings; cards hold Shift-JIS. These rules
// tell the encoding of a file and turn its text into Shift-JIS once, as a whole, so that the
// rest of the reading works on bytes. Commas, tabs, semicolons, quotes and line ends are never
// the second byte of a Shift-JIS character, so the structure survives the conversion.
namespace exchange {

enum class SourceEncoding { Utf8, Utf16LE, Utf16BE, ShiftJis };

// By byte-order mark first (UTF-8, UTF-16 LE/BE), then UTF-16 without one (a NUL in every other
// byte of the first line), then UTF-8 against Shift-JIS as the deck reader tells them apart.
// Plain ASCII counts as UTF-8.
SourceEncoding DetectEncoding(QByteArrayView bytes);

// The name shown to the user.
QString EncodingName(SourceEncoding encoding);

struct ShiftJisText {
    QByteArray bytes;    // without a byte-order mark
    QString unencodable; // characters Shift-JIS cannot hold, left out (each once, in order)
};

// The file's text as Shift-JIS. Bytes that are not valid in the chosen encoding come through as
// U+FFFD, which Shift-JIS cannot hold, so the user is told of them. Shift-JIS is taken as it is.
ShiftJisText ToShiftJis(QByteArrayView bytes, SourceEncoding encoding);

} // namespace exchange
