#include "deck/file_access.h"

#include "deck/large_memory.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace file_access {

namespace {

qint64 ModifiedNs(const struct stat &st) {
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

ReadStatus OpenFailure(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return ReadStatus::Missing;
    case EISDIR:
        return ReadStatus::Folder;
    default:
        return ReadStatus::NoAccess;
    }
}

// Reads [from, to) of the file into `out`: the count read, short at the file's end, or -1.
qint64 ReadRange(int fd, char *out, qint64 from, qint64 to) {
    qint64 got = 0;
    while (from + got < to) {
        const ssize_t n = ::pread(fd, out + got, size_t(to - from - got), off_t(from + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

// Below this a file is read in one go.
constexpr qint64 kWorthReadingInTwo = qint64(8) << 20;

// Reads the first `size` bytes in two halves side by side: fresh memory costs most of the
// time of a read, and two threads fault it in at once. The count read, which is short of `size`
// when the file shrank meanwhile or no thread could be started, or -1 on a read error.
qint64 ReadInTwo(int fd, char *out, qint64 size) {
    const qint64 half = size / 2;
    qint64 second = 0;
    try {
        std::jthread reader([&] { second = ReadRange(fd, out + half, half, size); });
        const qint64 first = ReadRange(fd, out, 0, half);
        reader.join();
        if (first < 0 || second < 0)
            return -1;
        return first == half && second == size - half ? size : 0;
    } catch (const std::system_error &) {
        return 0;
    }
}

// Reads the `expected` bytes fstat reported into a buffer of exactly that size, then checks for
// more: a file that grows while it is read is still read to its end, but never beyond
// maxBytes + 1 bytes, so the limit still catches it.
ReadStatus ReadAll(int fd, qint64 expected, qint64 maxBytes, QByteArray *out) {
    QByteArray data = large_memory::UninitializedBytes(qsizetype(expected));
    qint64 got = 0;
    if (expected >= kWorthReadingInTwo && std::thread::hardware_concurrency() > 1) {
        got = ReadInTwo(fd, data.data(), expected);
        if (got < 0)
            return ReadStatus::ReadError;
        // A file that shrank meanwhile is read again from its start, in one go.
        if (::lseek(fd, off_t(got), SEEK_SET) < 0)
            return ReadStatus::ReadError;
    }
    bool grown = false;
    for (;;) {
        if (got == data.size()) {
            char probe[4096];
            const ssize_t n = ::read(fd, probe, sizeof probe);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return ReadStatus::ReadError;
            if (n == 0)
                break;
            if (got + n > maxBytes)
                return ReadStatus::TooLarge;
            if (!grown)
                data.reserve(
                    qsizetype(std::min<qint64>(maxBytes + 1, std::max<qint64>(got * 2, 4096))));
            grown = true;
            data.append(probe, qsizetype(n));
            got += n;
            continue;
        }
        const ssize_t n = ::read(fd, data.data() + got, size_t(data.size() - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return ReadStatus::ReadError;
        }
        if (n == 0)
            break;
        got += n;
    }
    data.truncate(qsizetype(got));
    *out = std::move(data);
    return ReadStatus::Ok;
}

void SyncFolderOf(const QString &path) {
    const QString target = QFileInfo(path).canonicalFilePath();
    const QByteArray folder =
        QFile::encodeName(QFileInfo(target.isEmpty() ? path : target).absolutePath());
    const Descriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get()); // some file systems cannot sync a folder; the rename is done anyway
}

WriteResult Failed(QFileDevice::FileError error, int systemError) {
    return WriteResult{false, error == QFileDevice::NoError ? QFileDevice::WriteError : error,
                       systemError};
}

} // namespace

ReadResult ReadRegularFile(const QString &path, qint64 maxBytes) {
    ReadResult result;
    if (path.isEmpty()) {
        result.status = ReadStatus::Missing;
        return result;
    }
    const QByteArray name = QFile::encodeName(path);
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    const Descriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        result.status = OpenFailure(errno);
        return result;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        result.status = ReadStatus::ReadError;
        return result;
    }
    if (S_ISDIR(st.st_mode)) {
        result.status = ReadStatus::Folder;
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.status = ReadStatus::NotRegular;
        return result;
    }
    if (st.st_size > maxBytes) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    result.modifiedNs = ModifiedNs(st);
    result.status = ReadAll(fd.get(), st.st_size, maxBytes, &result.bytes);
    return result;
}

FileInfo Inspect(const QString &path) {
    FileInfo info;
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return info;
    info.exists = true;
    info.regular = S_ISREG(st.st_mode);
    info.size = st.st_size;
    info.modifiedNs = ModifiedNs(st);
    return info;
}

quint64 ContentHash(QByteArrayView bytes) {
    return XXH3_64bits(bytes.data(), size_t(bytes.size()));
}

struct ContentHasher::State {
    XXH3_state_t xxh;
};

ContentHasher::ContentHasher() : state_(std::make_unique<State>()) {
    XXH3_64bits_reset(&state_->xxh);
}

ContentHasher::~ContentHasher() = default;

void ContentHasher::Add(QByteArrayView bytes) {
    XXH3_64bits_update(&state_->xxh, bytes.data(), size_t(bytes.size()));
}

quint64 ContentHasher::Value() const {
    return XXH3_64bits_digest(&state_->xxh);
}

bool IsOutOfSpace(const WriteResult &result) {
    return result.systemError == ENOSPC || result.systemError == EFBIG ||
           result.systemError == EDQUOT;
}

WriteResult WriteWholeFile(const QString &path, QByteArrayView bytes) {
    bool given = false;
    return WriteFileInBlocks(path, [&]() -> std::optional<QByteArrayView> {
        if (given)
            return QByteArrayView();
        given = true;
        return bytes;
    });
}

WriteResult WriteFileInBlocks(const QString &path, const BlockSource &next) {
    QSaveFile file(path);
    // Unbuffered, so a failing write reports its errno here and not in some later flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Failed(file.error(), 0);
    for (;;) {
        const std::optional<QByteArrayView> block = next();
        if (!block) {
            file.cancelWriting();
            return Failed(QFileDevice::WriteError, 0);
        }
        if (block->isEmpty())
            break;
        qint64 written = 0;
        while (written < block->size()) {
            errno = 0;
            const qint64 n = file.write(block->data() + written, block->size() - written);
            if (n <= 0) {
                const int error = errno;
                const QFileDevice::FileError qtError = file.error();
                file.cancelWriting();
                return Failed(qtError, error);
            }
            written += n;
        }
    }
    // The data reaches the disk before the rename makes it the file; some file systems only
    // find out at this point that the disk is full.
    if (::fsync(file.handle()) != 0 && errno != EINVAL) {
        const int error = errno;
        file.cancelWriting();
        return Failed(QFileDevice::WriteError, error);
    }
    if (!file.commit())
        return Failed(file.error(), 0);
    // And the rename itself reaches the disk.
    SyncFolderOf(path);
    return {};
}

} // namespace file_access
