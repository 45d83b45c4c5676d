#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFileDevice>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// Reading and writing whole files the safe way: only regular files are read, never more than
// a limit, and a write either replaces the file completely and durably or leaves it alone.
namespace file_access {

enum class ReadStatus {
    Ok,
    Missing,    // no such file (or a dangling link)
    Folder,     // the path names a folder
    NotRegular, // a FIFO, a device, a socket: reading could block or never end
    TooLarge,   // larger than the caller's limit; not a byte was read
    NoAccess,   // the file could not be opened
    ReadError,  // the read itself failed
};

struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    QByteArray bytes;
    qint64 modifiedNs = 0; // modification time, nanoseconds since the epoch
};

// Reads the regular file `path` names (links followed) if it holds at most `maxBytes` bytes.
// The file is opened without blocking and checked before anything is read, so a FIFO or a
// device never hangs or floods the program.
ReadResult ReadRegularFile(const QString &path, qint64 maxBytes);

// Size and modification time of what `path` names now (links followed).
struct FileInfo {
    bool exists = false;
    bool regular = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
};
FileInfo Inspect(const QString &path);

// A hash of file content for telling whether a file still holds what was read or written.
quint64 ContentHash(QByteArrayView bytes);

// The same hash over content handed over in pieces.
class ContentHasher {
public:
    ContentHasher();
    ~ContentHasher();
    ContentHasher(const ContentHasher &) = delete;
    ContentHasher &operator=(const ContentHasher &) = delete;
    void Add(QByteArrayView bytes);
    quint64 Value() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

struct WriteResult {
    bool ok = true;
    QFileDevice::FileError error = QFileDevice::NoError;
    int systemError = 0; // errno of a failed write, or 0
};

// True when the write failed for want of room: a full disk, a quota or a file-size limit.
bool IsOutOfSpace(const WriteResult &result);

// Replaces the file at `path` with `bytes`: written to a temporary file, synced to the disk,
// renamed over the old file, and the folder synced, so neither a crash nor a power loss leaves
// anything but the old or the new content.
WriteResult WriteWholeFile(const QString &path, QByteArrayView bytes);

// The same with the content handed over in blocks: each call gives the next block, an empty
// one after the last, or nothing to give up (the old file stays, and the write counts as
// failed). A block only needs to stay valid until the next call.
using BlockSource = std::function<std::optional<QByteArrayView>()>;
WriteResult WriteFileInBlocks(const QString &path, const BlockSource &next);

} // namespace file_access
