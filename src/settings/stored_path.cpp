#include "settings/stored_path.h"

#include "deck/sjis_codec.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace stored_path {

namespace {

const QByteArray &MarkerBytes() {
    static const QByteArray marker(Marker);
    return marker;
}

// Kept as they are in the escaped form: the unreserved characters and the folder separator.
const QByteArray &Unescaped() {
    static const QByteArray kept("/");
    return kept;
}

bool IsControl(char c) {
    return uchar(c) < 0x20 || c == '\x7f';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The Shift-JIS bytes of `path` when they would read back as exactly `path`.
std::optional<QByteArray> PlainBytes(const QString &path) {
    const sjis::Encoded encoded = sjis::FromDisplay(path);
    const QByteArray &bytes = encoded.bytes;
    if (!encoded.unencodable.isEmpty() || bytes.startsWith(MarkerBytes()) ||
        std::any_of(bytes.begin(), bytes.end(), IsControl))
        return std::nullopt;
    if (!bytes.isEmpty() && (IsBlank(bytes.front()) || IsBlank(bytes.back())))
        return std::nullopt;
    return bytes;
}

std::optional<QString> Unescape(const QByteArray &escaped) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString path = utf8.decode(QByteArray::fromPercentEncoding(escaped));
    if (utf8.hasError() || path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace

QByteArray Encode(const QString &path) {
    if (const std::optional<QByteArray> plain = PlainBytes(path))
        return *plain;
    return MarkerBytes() + path.toUtf8().toPercentEncoding(Unescaped());
}

QString Decode(const QByteArray &bytes) {
    if (bytes.startsWith(MarkerBytes())) {
        if (const std::optional<QString> path = Unescape(bytes.mid(MarkerBytes().size())))
            return *path;
    }
    return sjis::ToDisplay(bytes).text;
}

} // namespace stored_path
