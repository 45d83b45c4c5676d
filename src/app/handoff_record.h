#pragma once

#include <QByteArray>

#include <optional>

// The record a second start sends to the running instance: kind (32-bit, always 1), byte count
// (32-bit, path bytes + 1) and the path's bytes followed by one zero byte; numbers little-endian.
namespace handoff {

constexpr quint32 PathKind = 1;
constexpr int HeaderSize = 8;
// Paths are far shorter; anything larger is garbage and is not waited for.
constexpr quint32 MaxByteCount = 64 * 1024;
// What the running instance sends back once the path has been dealt with.
constexpr char Ack = '\x06';

QByteArray Encode(const QByteArray &path);

enum class Status { Incomplete, Complete, Malformed };
struct Parsed {
    Status status = Status::Incomplete;
    QByteArray path; // when Complete
};
// Looks at the bytes received so far.
Parsed Decode(const QByteArray &received);

} // namespace handoff
