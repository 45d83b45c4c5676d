#pragma once

#include <QByteArray>
#include <QString>

// The edge between stored Shift-JIS bytes and text shown to the user ("windows-31j").
namespace sjis {

struct Decoded {
    QString text;
    bool invalidBytes = false; // some bytes were not valid Shift-JIS
};
Decoded ToDisplay(const QByteArray &bytes);

struct Encoded {
    QByteArray bytes;
    QString
        unencodable; // the characters Shift-JIS cannot hold (each once, in order); empty if none
};
// Characters Shift-JIS cannot hold are left out of `bytes` and listed in `unencodable`.
Encoded FromDisplay(const QString &text);

// Convenience for interface texts that are known to be representable.
QString ToQString(const QByteArray &bytes);
QByteArray FromQString(const QString &text);

} // namespace sjis
