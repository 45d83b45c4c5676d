#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <list>

// Loads the pictures that cards refer to off the user-interface thread and keeps the most
// recently used ones. A picture is keyed by its path and the file's modification time and
// size, so a file changed on disk is loaded again.
class PictureLoader : public QObject {
    Q_OBJECT
public:
    enum class State { Pending, Ready, Broken };
    struct Result {
        State state = State::Pending;
        QImage image;
    };

    // Pictures larger than this are decoded scaled down to fit it.
    static constexpr QSize MaxDecodedSize{1600, 1600};

    explicit PictureLoader(int capacity = 24, QObject *parent = nullptr);
    ~PictureLoader() override;

    // The picture when it is loaded and the file is unchanged; otherwise loading starts (once)
    // and `pictureReady` follows. A file that cannot be read as a picture is Broken.
    Result Picture(const QString &path);
    // Blocks until nothing is loading any more, then delivers what was loaded.
    void WaitForIdle();
    int CachedCount() const { return int(entries_.size()); }

    // Decoding itself, for any thread: the picture scaled down to MaxDecodedSize, or null.
    static QImage Decode(const QString &path);

Q_SIGNALS:
    void pictureReady(const QString &path);

private:
    struct Stamp {
        qint64 modified = 0;
        qint64 size = -1;
        friend bool operator==(const Stamp &, const Stamp &) = default;
    };
    struct Entry {
        Stamp stamp;
        State state = State::Pending;
        QImage image;
        std::list<QString>::iterator use;
    };
    static Stamp StampOf(const QString &path);
    void Store(const QString &path, Stamp stamp, const QImage &image);
    void Touch(Entry &entry);
    void Evict();

    int capacity_;
    QHash<QString, Entry> entries_;
    std::list<QString> uses_; // most recent first
    QThreadPool pool_;
};
