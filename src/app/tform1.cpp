#include "app/tform1.h"

#include "app/after_first_paint.h"
#include "app/deck_file_menu.h"
#include "app/deck_preload.h"
#include "app/deck_sync.h"
#include "app/file_drop.h"
#include "app/help_page.h"
#include "edit/add_card_dialog.h"
#include "exchange_ui/deck_exchange.h"
#include "overview/learning_progress.h"
#include "speech/speech_output.h"
#include "ui/app_texts.h"
#include "ui/font_setup.h"
#include "ui/prompts.h"
#include "view/answer_modes.h"
#include "view/card_view.h"
#include "view/drill_input.h"
#include "view/find_bar.h"
#include "view/font_settings.h"
#include "view/hint_tracker.h"
#include "view/list_grid.h"
#include "view/panel_widgets.h"
#include "view/program_icon.h"
#include "view/status_notice.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextDocument>

TForm1::TForm1(Prompts &prompts, DayClock today, QWidget *parent)
    : QMainWindow(parent), prompts_(prompts), drill_(deck_, *this, std::move(today)) {
    setObjectName(QStringLiteral("Form1"));
    FormCreate();
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
    delete hints_;
    // The children outlive this part of the window: a combo box closing its list while it is
    // destroyed must not call back into a half-destroyed window.
    SelectBox->disconnect(this);
}

void TForm1::FormCreate() {
    // The random question order draws from a clock-seeded generator.
    drill_.SetRandomEngine(
        std::mt19937(static_cast<std::mt19937::result_type>(QDateTime::currentMSecsSinceEpoch())));
    // The review log and the learning overview follow the drill from the start.
    progress_ = std::make_unique<LearningProgress>(
        deck_, drill_,
        [this](QWidget *parent, const QString &name) {
            return prompts_.SaveFileName(parent, {QString(), QStringLiteral("PNG (*.png)"), name});
        },
        this);
    connect(progress_.get(), &LearningProgress::Notice, this, &TForm1::ShowNotice);
    connect(progress_.get(), &LearningProgress::CardChosen, this, &TForm1::ShowCardInList);
    afterPaint_ = new AfterFirstPaint(this);
    // Files dropped on the window.
    new FileDrop(*this, *this);
    // The mouse and key rules of the window see every event first. They stay an application
    // filter: the arrow keys and the wheel drill whichever child holds the focus or lies under
    // the mouse (card boxes, list cells, the view chooser, editors made later), before that
    // child's own cursor keys or scrolling; a shortcut would lose to a text box that claims its
    // arrow keys. Ctrl+Z is claimed for the parking box and for boxes with nothing to undo, and
    // keys and the wheel left to an open menu, list or dialog, which only the application sees.
    qApp->installEventFilter(this);
    // The deck and the drill start empty; their constructors saw to that.
    // Japanese text finds a font on any system, and every control inherits the window's.
    RegisterJapaneseFontSubstitutes();
    setFont(DefaultFont(9));
    // No context menu is open; the drill starts with five cards a time in the sub pattern.
    PopupRow = -1;
    // The window, its panels and the display cells.
    CreatePanels();
    fonts_ = std::make_unique<FontSettings>(*cells_, prompts_, this);
    // The drill modes' box under the question and their note in the status line.
    CreateAnswerModes();
    // The command owners, then the menus they fill and the card boxes' context menu.
    CreateCommandOwners();
    CreateMenus();
    CreatePopupMenu();
    // The card boxes' edits, double clicks and context menus; their pictures and sounds.
    ConnectCells();
    CreateCellMedia();
    // The list view, the find bar under it, the watch on the deck file, and the hints.
    CreateListView();
    CreateFindBar();
    CreateDeckSync();
    CreateHints();
    // Appearance is set while building; the view panels start hidden.
    Panel_Renban->hide();
    Panel_Grid->hide();
    // Caption, icon and the size the window has before the settings give it one.
    setWindowTitle(app_texts::WindowCaptionPrefix());
    setWindowIcon(ProgramIcon());
    resize(567, 554);
    setMinimumSize(350, 430);
    // No cell shows a picture until a card with one is drawn.
    cells_->CellImageFlag = {};
    // Settings; they may change every value set above.
    ReadSettings();
    // Speech, with the mode the settings chose.
    CreateSpeech();
    // Alignment and the controls that mirror the options.
    fonts_->UpdateSizeMarks();
    fonts_->ApplyAlignment();
    UpdateArrowCaptions();
    ApplyPattern();
    // The add-card dialog lives as long as the window and keeps its settings in settings_.
    Form3 = new TForm3(settings_, this);
    SetMainWindowHints();
}

void TForm1::OpenStartDeck(const QString &path, DeckPreload *preload) {
    if (!path.isEmpty() && OpenDeck(path, preload) == 0)
        return;
    // The most recent deck, which the preload may have been reading; a missing one leaves the
    // list as choosing it in the menu does.
    const QString recent = RecentPaths()[0];
    if (preload && preload->Holds(recent) && QFileInfo::exists(recent)) {
        OpenDeck(recent, preload);
        return;
    }
    fileMenu_->Recent().Choose(1);
}

void TForm1::ReceiveHandOff(const QString &path) {
    if (closed_)
        return;
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    OpenDeckFile(path);
}

void TForm1::ShowStatus(const QString &text) {
    StatusBar1->showMessage(text);
}

void TForm1::ShowNotice(const QString &text, const QString &details) {
    notice_->Show(text, details);
}

QFont TForm1::QuestionFont() const {
    return fonts_->QuestionFont();
}

QFont TForm1::AnswerFont() const {
    return fonts_->AnswerFont();
}

void TForm1::ClickExit() {
    close();
}

void TForm1::closeEvent(QCloseEvent *event) {
    if (closed_) {
        event->accept();
        return;
    }
    // A close asked for again while a question or message of this one is still open is
    // ignored: it would ask and write everything a second time.
    if (closing_) {
        event->ignore();
        return;
    }
    closing_ = true;
    const bool closes = AskSaveDeck() != SaveAnswer::Cancelled;
    if (closes) {
        SuppressEdits = true;
        WriteSettings();
        closed_ = true;
        qApp->removeEventFilter(this);
    }
    closing_ = false;
    event->setAccepted(closes);
}

void TForm1::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    placement_.CheckFrame();
    ResizeForm();
}

int TForm1::OuterHeight() const {
    return placement_.Outer(size()).height();
}

int TForm1::OuterWidth() const {
    return placement_.Outer(size()).width();
}

bool TForm1::IsInThisWindow(QObject *object) const {
    auto *widget = qobject_cast<QWidget *>(object);
    return widget && widget->window() == this;
}

// The parking box is never edited by the user. A card box or cell editor keeps Ctrl+Z while
// it has typing to undo; right after a delete it has none, and Ctrl+Z is meant for the delete.
bool TForm1::LeavesUndoToWindow(QObject *watched) const {
    if (watched == fSannkou0)
        return true;
    if (auto *memo = qobject_cast<TMyMemo *>(watched))
        return IsInThisWindow(memo) && !memo->document()->isUndoAvailable();
    if (auto *editor = qobject_cast<QLineEdit *>(watched))
        return IsInListGrid(editor) && !editor->isUndoAvailable();
    return false;
}

bool TForm1::IsInListGrid(QObject *object) const {
    auto *widget = qobject_cast<QWidget *>(object);
    return widget && GridHyouji && (widget == GridHyouji || GridHyouji->isAncestorOf(widget));
}

// Keys and the wheel belong to an open menu, list, message box or dialog, and to the menu bar
// while it is worked with the keyboard; the drill only gets what is meant for the window itself.
bool TForm1::IsDrillInput(QObject *watched) const {
    if (QApplication::activePopupWidget())
        return false;
    const QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != this)
        return false;
    if (qobject_cast<QMenuBar *>(watched) || FindBar::Holds(watched))
        return false;
    return IsInThisWindow(watched);
}

bool TForm1::event(QEvent *event) {
    return QMainWindow::event(event);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Left to the shortcut, Ctrl+Z takes back a delete.
        if (static_cast<QKeyEvent *>(event)->matches(QKeySequence::Undo) &&
            LeavesUndoToWindow(watched))
            return true;
        break;
    case QEvent::KeyPress:
        if (IsDrillInput(watched)) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const auto use = modes_->TakeKey(watched, key->key(), key->modifiers());
            if (use == AnswerModes::KeyUse::Consumed)
                return true;
            if (use == AnswerModes::KeyUse::NotMine &&
                drillInput_->TakeKey(key->key(), key->modifiers()))
                return true;
        }
        break;
    case QEvent::Wheel:
        // Over this window the wheel never scrolls; it drills unless a menu or dialog is open.
        if (IsInThisWindow(watched)) {
            if (!IsDrillInput(watched))
                return true;
            const auto *wheel = static_cast<QWheelEvent *>(event);
            if (IsInListGrid(watched))
                GridHyouji->TakeWheel(wheel->angleDelta().y(), wheel->modifiers());
            else
                drillInput_->TakeWheel(wheel->angleDelta().y(), wheel->modifiers());
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
        if (IsInThisWindow(watched) && ApplicationMouseFilter(watched, event))
            return true;
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::ApplicationMouseFilter(QObject *watched, QEvent *event) {
    if (VoiceDialogOpen || AddDialogOpen)
        return false;
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (press) {
        if (watched == Panel_Left || watched == Panel_LeftDown)
            ClickPanel();
        if (captionBoxes_.contains(qobject_cast<QLineEdit *>(watched)))
            LabelMouseDown();
    }
    // A text box that holds no card never takes the focus or opens its menu.
    TMyMemo *memo = qobject_cast<TMyMemo *>(watched);
    if (!memo && watched->parent())
        memo = qobject_cast<TMyMemo *>(watched->parent());
    if (memo && !memo->Shown && (press || event->type() == QEvent::ContextMenu)) {
        ParkFocus();
        return true;
    }
    return drill_.DisplayPattern() == PatternList && ListMouseFilter(watched, event);
}
