// The settings file: read once while the window is created, written once when it closes.
#include "app/tform1.h"
#include "ui/prompts.h"
#include "view/card_view.h"
#include "view/font_settings.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QTimer>

namespace {

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
    bool readable = true;
    settings_ = LoadSettings(SettingsFilePath(), &readable);
    // Told now and never again: closing leaves such a file alone without a word.
    settingsUnreadable_ = !readable;
    if (settingsUnreadable_)
        prompts_.Warning(this, UnreadableSettingsMessage(SettingsFilePath()));
    const AppSettings &s = settings_;

    ApplyWindowBounds(QRect(s.left, s.top, s.width, s.height));
    drill_.SubRows = s.count;
    cells_->ImagePercent = s.imageSize;
    fonts_->Load(s);

    drill_.Jyun = s.jyun;
    drill_.ApplyOrder();
    Yajirusi = s.yajirusi;
    AutoSave = s.autoSave;
    UpdateArrowCaptions(); // both check boxes and the arrow captions
    drill_.SetPattern(static_cast<DisplayPatternKind>(s.panelPattern), s.count);
    ApplyPattern();
    HelpComment = s.helpComment;
    ApplyHelpComment();

    cells_->SetMondaiHeight(s.mondaiHeight);
    // The pane may be hidden at close, so a dragged height is remembered as it happens.
    connect(cells_->Splitter(), &QSplitter::splitterMoved, this,
            [this] { settings_.mondaiHeight = cells_->MondaiHeight(); });

    ShowRecentPaths(s.fileNames);
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
    s.helpComment = HelpComment;
    fonts_->Store(s);
    if (Panel_Mondai->isVisible())
        s.mondaiHeight = cells_->MondaiHeight();
    s.fileNames = RecentPaths();
    if (settingsUnreadable_)
        return;
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
    // A minimised or maximised window is stored with the bounds it returns to.
    const bool normal =
        !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    return (normal ? geometry() : normalGeometry()).marginsAdded(frame_.Margins());
}

void TForm1::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    // The keyboard starts out with the drill, not in a card's text (a window coming back from
    // the task bar keeps its focus).
    if (!event->spontaneous())
        ParkFocus();
    CheckFrame();
    // Some platforms announce the frame with no event of its own: look again for a while.
    QTimer::singleShot(0, this, [this] { FitOuterSize(10); });
}

void TForm1::moveEvent(QMoveEvent *event) {
    QMainWindow::moveEvent(event);
    CheckFrame();
}

void TForm1::changeEvent(QEvent *event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::ActivationChange)
        CheckFrame();
}

void TForm1::CheckFrame() {
    if (!frame_.Update(*this))
        return;
    // The smallest window and the stored size count the frame.
    setMinimumSize(frame_.Inner(QSize(AppSettings::MinWindowWidth, AppSettings::MinWindowHeight)));
    if (wantedOuterSize_.isValid() && size() == wantedOuterSize_ && frame_.Framed() &&
        !(windowState() & ~Qt::WindowActive)) {
        wantedOuterSize_ = QSize();
        resize(frame_.Inner(size()));
    }
    ResizeForm();
}

// The stored size is the outer one: once the window manager has framed the window, the inside
// shrinks by the frame. The size stays wanted until the frame is known or the user resizes.
void TForm1::FitOuterSize(int triesLeft) {
    CheckFrame();
    if (!wantedOuterSize_.isValid())
        return;
    if (size() != wantedOuterSize_ || (windowState() & ~Qt::WindowActive)) {
        wantedOuterSize_ = QSize();
        return;
    }
    if (triesLeft > 0)
        QTimer::singleShot(50, this, [this, triesLeft] { FitOuterSize(triesLeft - 1); });
}
