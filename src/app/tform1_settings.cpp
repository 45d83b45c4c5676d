// The settings file: read once while the window is created, written once when it closes.
#include "app/prompts.h"
#include "app/tform1.h"
#include "view/card_view.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QTimer>

namespace {

QAction *RecentEntry(const QObject &window, int entry) {
    return window.findChild<QAction *>(QStringLiteral("men_File_%1").arg(entry));
}

bool OnSomeScreen(const QRect &outer) {
    const QList<QScreen *> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&outer](const QScreen *screen) {
        return screen->geometry().intersects(outer);
    });
}

// A hand-edited size larger than every screen together would only make a window nobody can use.
QSize LimitedToDesktop(QSize size) {
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        return size;
    const QSize desktop = primary->virtualGeometry().size();
    return size.boundedTo(desktop).expandedTo(
        QSize(AppSettings::MinWindowWidth, AppSettings::MinWindowHeight));
}

} // namespace

void TForm1::ReadSettings() {
    settings_ = LoadSettings(SettingsFilePath());
    const AppSettings &s = settings_;

    ApplyWindowBounds(QRect(s.left, s.top, s.width, s.height));
    drill_.SubRows = s.count;
    cells_->ImagePercent = s.imageSize;

    drill_.Jyun = s.jyun;
    drill_.ApplyOrder();
    Yajirusi = s.yajirusi;
    AutoSave = s.autoSave;
    UpdateArrowCaptions(); // both check boxes and the arrow captions
    drill_.SetPattern(static_cast<DisplayPatternKind>(s.panelPattern), s.count);
    ApplyPattern();

    cells_->SetMondaiHeight(s.mondaiHeight);
    // The pane may be hidden at close, so a dragged height is remembered as it happens.
    connect(cells_->Splitter(), &QSplitter::splitterMoved, this,
            [this] { settings_.mondaiHeight = cells_->MondaiHeight(); });

    for (int entry = 1; entry <= AppSettings::RecentFileCount; ++entry) {
        if (QAction *action = RecentEntry(*this, entry)) {
            const QString &path = s.fileNames[size_t(entry - 1)];
            action->setText(path);
            action->setVisible(!path.isEmpty());
        }
    }
}

void TForm1::WriteSettings() {
    AppSettings &s = settings_;
    const QRect outer = RestoredOuterBounds();
    s.top = outer.top();
    s.left = outer.left();
    s.width = outer.width();
    s.height = outer.height();
    s.count = drill_.SubRows;
    s.imageSize = cells_->ImagePercent;
    s.jyun = drill_.Jyun;
    s.yajirusi = Yajirusi;
    s.autoSave = AutoSave;
    s.panelPattern = drill_.DisplayPattern;
    if (Panel_Mondai->isVisible())
        s.mondaiHeight = cells_->MondaiHeight();
    for (int entry = 1; entry <= AppSettings::RecentFileCount; ++entry) {
        if (const QAction *action = RecentEntry(*this, entry))
            s.fileNames[size_t(entry - 1)] = action->text();
    }
    if (const std::optional<QString> failure = StoreSettings(s, SettingsFilePath()))
        prompts_.Error(this, *failure);
}

void TForm1::ApplyWindowBounds(QRect outer) {
    outer.setSize(LimitedToDesktop(outer.size()));
    if (!OnSomeScreen(outer)) {
        if (const QScreen *primary = QGuiApplication::primaryScreen()) {
            const QRect area = primary->availableGeometry();
            outer.moveTopLeft(area.topLeft() + QPoint(100, 100));
            if (!area.contains(outer))
                outer.moveTopLeft(area.topLeft());
        }
    }
    // Position and size are the window's outer bounds; the frame is only known once shown.
    move(outer.topLeft());
    resize(outer.size());
    wantedOuterSize_ = outer.size();
}

QRect TForm1::RestoredOuterBounds() const {
    const QRect frame = frameGeometry();
    if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return frame;
    // A minimised or maximised window is stored with the bounds it returns to.
    const QRect inner = geometry();
    const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(),
                           frame.right() - inner.right(), frame.bottom() - inner.bottom());
    return normalGeometry().marginsAdded(margins);
}

void TForm1::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    if (wantedOuterSize_.isValid())
        QTimer::singleShot(0, this, [this] { FitOuterSize(10); });
}

// The window manager adds its frame after the window is shown; the stored size is the outer one,
// so the inside shrinks by the frame once it is known. Gives up after a few tries, or when the
// user has resized the window in the meantime.
void TForm1::FitOuterSize(int triesLeft) {
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize inner = wantedOuterSize_;
    if (!inner.isValid() || size() != inner || (windowState() & ~Qt::WindowActive)) {
        wantedOuterSize_ = QSize();
        return;
    }
    if (frame.isNull()) {
        if (triesLeft > 0)
            QTimer::singleShot(50, this, [this, triesLeft] { FitOuterSize(triesLeft - 1); });
        else
            wantedOuterSize_ = QSize();
        return;
    }
    wantedOuterSize_ = QSize();
    resize(inner - frame);
}
