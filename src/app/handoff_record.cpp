#include "app/handoff_record.h"

#include <QtEndian>

namespace handoff {

QByteArray Encode(const QByteArray &path) {
    QByteArray record(HeaderSize, '\0');
    qToLittleEndian<quint32>(PathKind, record.data());
    qToLittleEndian<quint32>(static_cast<quint32>(path.size() + 1), record.data() + 4);
    record += path;
    record += '\0';
    return record;
}

Parsed Decode(const QByteArray &received) {
    if (received.size() < HeaderSize)
        return {};
    const auto kind = qFromLittleEndian<quint32>(received.constData());
    const auto count = qFromLittleEndian<quint32>(received.constData() + 4);
    if (kind != PathKind || count == 0 || count > MaxByteCount)
        return {Status::Malformed, {}};
    const qsizetype total = HeaderSize + qsizetype(count);
    if (received.size() < total)
        return {};
    if (received.size() > total || received[total - 1] != '\0')
        return {Status::Malformed, {}};
    // The path ends at its first zero byte.
    QByteArray path = received.mid(HeaderSize, count - 1);
    const qsizetype zero = path.indexOf('\0');
    if (zero >= 0)
        path.truncate(zero);
    if (path.isEmpty())
        return {Status::Malformed, {}};
    return {Status::Complete, path};
}

} // namespace handoff
