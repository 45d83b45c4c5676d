#include "media/picture_loader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>

namespace {
// A picture of tens of megapixels is still read (scaled) rather than refused.
constexpr int kAllocationLimitMb = 512;
} // namespace

PictureLoader::PictureLoader(int capacity, QObject *parent)
    : QObject(parent), capacity_(qMax(1, capacity)) {
    pool_.setMaxThreadCount(1);
}

PictureLoader::~PictureLoader() {
    pool_.clear();
    pool_.waitForDone();
}

PictureLoader::Stamp PictureLoader::StampOf(const QString &path) {
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    return {info.lastModified().toMSecsSinceEpoch(), info.size()};
}

QImage PictureLoader::Decode(const QString &path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kAllocationLimitMb);
    const QSize size = reader.size();
    if (size.isValid() &&
        (size.width() > MaxDecodedSize.width() || size.height() > MaxDecodedSize.height()))
        reader.setScaledSize(size.scaled(MaxDecodedSize, Qt::KeepAspectRatio));
    return reader.read();
}

PictureLoader::Result PictureLoader::Picture(const QString &path) {
    const Stamp stamp = StampOf(path);
    if (stamp.size < 0)
        return {State::Broken, {}};
    auto found = entries_.find(path);
    if (found != entries_.end() && found->stamp == stamp) {
        Touch(*found);
        return {found->state, found->image};
    }
    if (found == entries_.end()) {
        uses_.push_front(path);
        found = entries_.insert(path, Entry{stamp, State::Pending, {}, uses_.begin()});
        Evict();
    } else {
        *found = Entry{stamp, State::Pending, {}, found->use};
        Touch(*found);
    }
    // The destructor waits for the pool, so the loader outlives every job; a result still
    // queued when it goes is dropped with it.
    pool_.start([this, path, stamp] {
        const QImage image = Decode(path);
        QMetaObject::invokeMethod(
            this, [this, path, stamp, image] { Store(path, stamp, image); }, Qt::QueuedConnection);
    });
    return {State::Pending, {}};
}

void PictureLoader::Store(const QString &path, Stamp stamp, const QImage &image) {
    auto found = entries_.find(path);
    if (found == entries_.end() || !(found->stamp == stamp) || found->state != State::Pending)
        return; // evicted or superseded while it loaded
    found->state = image.isNull() ? State::Broken : State::Ready;
    found->image = image;
    Q_EMIT pictureReady(path);
}

void PictureLoader::Touch(Entry &entry) {
    uses_.splice(uses_.begin(), uses_, entry.use);
}

void PictureLoader::Evict() {
    while (int(uses_.size()) > capacity_) {
        entries_.remove(uses_.back());
        uses_.pop_back();
    }
}

void PictureLoader::WaitForIdle() {
    pool_.waitForDone();
    QCoreApplication::sendPostedEvents(this);
}
