#include "app/file_drop.h"

#include "app/file_drop_host.h"
#include "deck/dropped_file.h"
#include "view/card_cells.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QUrl>

namespace {

constexpr int BusyRetryMs = 100;

TMyMemo *MemoAt(QWidget &window, QPoint at) {
    QWidget *widget = window.childAt(at);
    while (widget && !qobject_cast<TMyMemo *>(widget))
        widget = widget->parentWidget();
    return qobject_cast<TMyMemo *>(widget);
}

// The dropped file is offered as a copy: a file manager must never take a "move" as leave to
// delete its file.
bool AcceptAsCopy(QDropEvent &event) {
    if (event.possibleActions() & Qt::CopyAction)
        event.setDropAction(Qt::CopyAction);
    else if (event.possibleActions() & Qt::LinkAction)
        event.setDropAction(Qt::LinkAction);
    else
        return false;
    event.accept();
    return true;
}

void AppendLine(TMyMemo &memo, const QString &line) {
    const QString text = memo.toPlainText();
    QTextCursor cursor(memo.document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text.isEmpty() || text.endsWith(QLatin1Char('\n')) ? line : u'\n' + line);
}

} // namespace

FileDrop::FileDrop(QWidget &window, FileDropHost &host)
    : QObject(&window), form_(window), host_(host),
      programFolder_(QCoreApplication::applicationDirPath()),
      busy_([] { return QApplication::activeModalWidget() != nullptr; }) {
    setObjectName(QStringLiteral("FileDrop"));
    deliverTimer_.setSingleShot(true);
    connect(&deliverTimer_, &QTimer::timeout, this, &FileDrop::Deliver);
    form_.setAcceptDrops(true);
    qApp->installEventFilter(this);
}

QString FileDrop::FirstLocalFile(const QMimeData *data) {
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    for (const QUrl &url : urls) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            return url.toLocalFile();
    }
    return {};
}

bool FileDrop::InThisWindow(QObject *watched) const {
    const auto *widget = qobject_cast<QWidget *>(watched);
    return widget && widget->window() == &form_;
}

bool FileDrop::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) ||
        !InThisWindow(watched))
        return false;
    auto &drag = *static_cast<QDropEvent *>(event); // enter and move events are drop events too
    const QString path = FirstLocalFile(drag.mimeData());
    if (path.isEmpty()) {
        // Text moved inside a box keeps its usual meaning; what other programs drag is refused.
        if (drag.source())
            return false;
        drag.ignore();
        return true;
    }
    if (AcceptAsCopy(drag) && type == QEvent::Drop)
        Take(static_cast<QWidget *>(watched), drag, path);
    return true;
}

// The drop is noted and dealt with once the drag has finished: opening a deck may ask whether
// to save, and the program the file came from should not wait for that answer.
void FileDrop::Take(QWidget *receiver, const QDropEvent &event, const QString &path) {
    const QPoint at = receiver->mapTo(&form_, event.position().toPoint());
    Pending drop{path, MemoAt(form_, at), nullptr, QString()};
    if (drop.memo && drop.memo->Shown) {
        drop.card = host_.CardShownInRow(drop.memo->Row);
        drop.boxText = drop.memo->toPlainText();
    }
    pending_.push_back(std::move(drop));
    deliverTimer_.start(0);
}

void FileDrop::Deliver() {
    while (!pending_.empty()) {
        if (!form_.isVisible()) { // the window is closing
            pending_.clear();
            return;
        }
        if (busy_ && busy_()) {
            deliverTimer_.start(BusyRetryMs);
            return;
        }
        const Pending drop = pending_.front();
        pending_.pop_front();
        Apply(drop);
    }
}

void FileDrop::Apply(const Pending &drop) {
    const QString relative = RelativeToFolder(drop.path, programFolder_);
    const DropKind kind = DropKindOf(relative);
    if (kind.reference) {
        // Only a box showing a card takes a reference; anywhere else the drop ends here.
        if (!StillShowsItsCard(drop))
            return;
        AppendLine(*drop.memo, DropReference(relative)); // stored by the box's change handler
        host_.RefreshView();
    }
    if (kind.deck)
        host_.OpenDroppedDeck(drop.path);
}

// A drop that waited for a dialog goes into its card only if the box still shows that card as it
// did: a reference must never land in a card the user did not drop it on.
bool FileDrop::StillShowsItsCard(const Pending &drop) const {
    return drop.memo && drop.card && drop.memo->Shown &&
           host_.CardShownInRow(drop.memo->Row) == drop.card &&
           drop.memo->toPlainText() == drop.boxText;
}
