#include "deck/sjis_text.h"

namespace sjis {

qsizetype IndexOf(const QByteArray &text, const QByteArray &needle, qsizetype from) {
    if (needle.isEmpty())
        return from <= text.size() ? from : -1;
    // Walk character by character from the start so that the boundaries are known.
    qsizetype pos = 0;
    while (pos < text.size()) {
        if (pos >= from && text.size() - pos >= needle.size() &&
            memcmp(text.constData() + pos, needle.constData(), size_t(needle.size())) == 0)
            return pos;
        pos += CharLength(text, pos);
    }
    return -1;
}

QByteArray LeftChars(const QByteArray &text, qsizetype count) {
    qsizetype pos = 0;
    for (qsizetype n = 0; n < count && pos < text.size(); ++n)
        pos += CharLength(text, pos);
    return text.left(pos);
}

QByteArray DropFirstChar(const QByteArray &text) {
    if (text.isEmpty())
        return text;
    return text.mid(CharLength(text, 0));
}

QByteArray LeftBytes(const QByteArray &text, qsizetype maxBytes) {
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype len = CharLength(text, pos);
        if (pos + len > maxBytes)
            break;
        pos += len;
    }
    return text.left(pos);
}

} // namespace sjis
