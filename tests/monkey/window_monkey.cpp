#include "monkey/window_monkey.h"

#include "app/help_page.h"
#include "deck/sjis_codec.h"
#include "edit/card_popup_menu.h"
#include "view/answer_modes.h"
#include "view/card_cells.h"
#include "view/card_table_model.h"
#include "view/card_view.h"
#include "view/find_bar.h"
#include "view/list_grid.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QWheelEvent>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

QString Shorten(const QString &text) {
    QString shown = text.left(40);
    shown.replace(QLatin1Char('\n'), QLatin1String("<LF>"));
    shown.replace(QLatin1Char('\r'), QLatin1String("<CR>"));
    for (QChar &c : shown)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QChar(0x2400 + (c.unicode() & 0x1F)); // the control picture
    if (text.size() > 40)
        shown += QStringLiteral("...(%1 chars)").arg(text.size());
    return shown;
}

QString Name(const QObject *object) {
    if (!object)
        return QStringLiteral("(none)");
    const QString name = object->objectName();
    return name.isEmpty() ? QString::fromLatin1(object->metaObject()->className()) : name;
}

// Visible, enabled widgets of `root` (itself included) that are of type T.
template <typename T> QList<T *> Usable(QWidget *root) {
    QList<T *> found;
    QList<T *> all = root->findChildren<T *>();
    if (auto *self = qobject_cast<T *>(root))
        all.prepend(self);
    for (T *widget : all)
        if (widget->isVisible() && widget->isEnabled())
            found << widget;
    return found;
}

QPoint SomePoint(MonkeyRng &rng, const QWidget *widget) {
    return QPoint(Pick(rng, std::max(1, widget->width())),
                  Pick(rng, std::max(1, widget->height())));
}

const std::vector<std::string> *const *crashLog = nullptr;
const quint64 *crashSeed = nullptr;

void WriteOut(const char *text) {
    const ssize_t ignored = ::write(2, text, std::strlen(text));
    (void)ignored;
}

void ReportCrash(int signal) {
    char line[96];
    std::snprintf(line, sizeof line, "\nmonkey: died with signal %d; MONKEY_SEED=%llu\n", signal,
                  crashSeed ? static_cast<unsigned long long>(*crashSeed) : 0ULL);
    WriteOut(line);
    if (crashLog && *crashLog) {
        const auto &log = **crashLog;
        const size_t from = log.size() > 60 ? log.size() - 60 : 0;
        for (size_t i = from; i < log.size(); ++i) {
            WriteOut(log[i].c_str());
            WriteOut("\n");
        }
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MONKEY_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define MONKEY_ASAN 1
#endif
#ifdef MONKEY_ASAN
#include <sanitizer/common_interface_defs.h>
#endif

void InstallCrashReport(const quint64 *seed, const std::vector<std::string> *const *log) {
    crashSeed = seed;
    crashLog = log;
    for (int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL})
        std::signal(signal, ReportCrash);
#ifdef MONKEY_ASAN
    __sanitizer_set_death_callback([] { ReportCrash(0); });
#endif
}

// --- watching the drill ---

void MarkWatcher::CardAnswered(const TMondaiSet &card, AnswerKind kind, qint32 dueBefore) {
    marked.push_back(&card);
    if (next_)
        next_->CardAnswered(card, kind, dueBefore);
}

void MarkWatcher::DeckStarted() {
    if (next_)
        next_->DeckStarted();
}

// --- prompts ---

namespace {
// The two questions whose はい sets every card due again.
bool AsksToReset(const MessageRequest &request) {
    return request.text.startsWith(QStringLiteral("すべての問題を再度題します")) ||
           request.text.startsWith(QStringLiteral("すべての学習を終了しました"));
}
} // namespace

PromptButton MonkeyPrompts::Message(QWidget *parent, const MessageRequest &request) {
    const PromptButton answer = Answer(parent, request);
    if (answer == PromptButton::Yes && AsksToReset(request))
        monkey_.resetConfirmed = true;
    return answer;
}

PromptButton MonkeyPrompts::Answer(QWidget *parent, const MessageRequest &request) {
    // Now and then the real box, with its own event loop, answered by the dialog handler.
    if (Chance(monkey_.rng, 30)) {
        monkey_.Note(QStringLiteral("    real box \"%1\"").arg(Shorten(request.text)));
        const PromptButton answer = QtPrompts().Message(parent, request);
        monkey_.Note(QStringLiteral("    real box -> %1").arg(ButtonCaption(answer)));
        return answer;
    }
    const PromptButton answer =
        request.buttons.empty() ? PromptButton::Ok
                                : request.buttons[Pick(monkey_.rng, int(request.buttons.size()))];
    monkey_.Note(
        QStringLiteral("    box \"%1\" -> %2").arg(Shorten(request.text), ButtonCaption(answer)));
    return answer;
}

QString MonkeyPrompts::OpenFileName(QWidget *, const FileRequest &) {
    const QStringList &paths = monkey_.files->openable;
    const QString path =
        Chance(monkey_.rng, 15) ? QString() : paths[Pick(monkey_.rng, int(paths.size()))];
    if (!path.isEmpty())
        monkey_.deckOpened = true;
    monkey_.Note(
        QStringLiteral("    open dialog -> %1")
            .arg(path.isEmpty() ? QStringLiteral("(cancel)") : QFileInfo(path).fileName()));
    return path;
}

QString MonkeyPrompts::SaveFileName(QWidget *, const FileRequest &) {
    // A user who types the name of another program's file means it; the monkey never does, so
    // that any change to such a file is the program's own.
    QStringList paths = monkey_.files->saveNames + monkey_.files->openable;
    for (const auto &[foreign, bytes] : monkey_.files->foreign)
        paths.removeAll(foreign);
    const QString path =
        Chance(monkey_.rng, 15) ? QString() : paths[Pick(monkey_.rng, int(paths.size()))];
    monkey_.Note(
        QStringLiteral("    save dialog -> %1")
            .arg(path.isEmpty() ? QStringLiteral("(cancel)") : path.section(QLatin1Char('/'), -2)));
    return path;
}

std::optional<QFont> MonkeyPrompts::ChooseFont(QWidget *, const QFont &initial, const QString &) {
    if (Chance(monkey_.rng, 40)) {
        monkey_.Note(QStringLiteral("    font dialog -> (cancel)"));
        return std::nullopt;
    }
    QFont font = initial;
    const int sizes[] = {1, 6, 12, 30, 72, 200};
    font.setPointSize(sizes[Pick(monkey_.rng, 6)]);
    monkey_.Note(QStringLiteral("    font dialog -> %1 pt").arg(font.pointSize()));
    return font;
}

// --- the run ---

WindowMonkey::WindowMonkey(quint64 seed) : rng(seed), prompts_(*this) {
    files = std::make_unique<HostileFiles>(QDir(dir_.path()));
    dialogTimer_.setInterval(1);
    QObject::connect(&dialogTimer_, &QTimer::timeout, [this] { HandleDialog(); });
    dialogTimer_.start();
    NewWindow();
}

WindowMonkey::~WindowMonkey() {
    // Closing may still ask about unsaved cards; the dialog handler answers until the end.
    if (form_) {
        form_->close();
        form_.reset();
    }
    dialogTimer_.stop();
}

void WindowMonkey::Note(const QString &line) {
    log_.push_back(line.toStdString());
}

void WindowMonkey::NewWindow() {
    form_.reset();
    form_ = std::make_unique<TForm1>(prompts_, FixedDayClock(40000));
    Drill &drill = form_->DrillState();
    drill.SetRandomEngine(std::mt19937(unsigned(rng())));
    marks_ = std::make_unique<MarkWatcher>(drill.Observer());
    drill.SetAnswerObserver(marks_.get());
    form_->Help().SetOpener([this](const QUrl &url, const std::function<void()> &) {
        Note(QStringLiteral("    help opened: ") + url.toString());
    });
    // Opening a recent deck replaces every card, as the open dialog does.
    for (int entry = 1; entry <= 5; ++entry)
        QObject::connect(form_->findChild<QAction *>(QStringLiteral("men_File_%1").arg(entry)),
                         &QAction::triggered, [this] { deckOpened = true; });
    form_->show();
    if (!QTest::qWaitForWindowExposed(form_.get()))
        Note(QStringLiteral("  the window was not shown"));
    ActivateWindow();
    form_->OpenDeckFile(files->startDeck);
    Settle();
}

bool WindowMonkey::Run(int steps, const std::function<void()> &stepDone) {
    for (int i = 0; i < steps; ++i) {
        touchable_ = TouchableCards();
        before_ = SnapshotTexts(form_->DeckState());
        recordsBefore_ = SnapshotRecords(form_->DeckState());
        currentBefore_ = form_->DrillState().Current();
        marks_->marked.clear();
        resetConfirmed = false;
        stampBefore_ = form_->DeckState().DiskStamp();
        fileBefore_ = form_->DeckState().FileName();
        deckOpened = false;
        Note(QStringLiteral("step %1:").arg(i + 1));
        ActivateWindow();
        Step();
        Settle();
        ++stepsRun_;
        if (stepDone)
            stepDone();
        Check();
        if (!failure_.isEmpty())
            return false;
        if (!form_->isVisible()) {
            Note(QStringLiteral("  the window closed; a new one starts"));
            NewWindow();
        }
    }
    return true;
}

// The user's next click lands in the window and makes it the active one again.
void WindowMonkey::ActivateWindow() {
    if (QApplication::activePopupWidget() || QApplication::activeModalWidget() ||
        form_->isActiveWindow())
        return;
    form_->activateWindow();
    QApplication::setActiveWindow(form_.get());
    if (!QTest::qWaitForWindowActive(form_.get(), 1000))
        Note(QStringLiteral("  the window did not become active"));
}

void WindowMonkey::Settle() {
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

std::vector<const TMondaiSet *> WindowMonkey::TouchableCards() const {
    std::vector<const TMondaiSet *> cards;
    const Drill &drill = form_->DrillState();
    const CardOwnerList &list = form_->DeckState().Cards();
    auto listRow = [&](int index) {
        if (index >= 0 && index < int(list.size()))
            cards.push_back(list[size_t(index)].get());
    };
    if (TMyMemo *memo = form_->Cells().FocusedMemo())
        cards.push_back(drill.CardOfRow(memo->Row));
    auto *popup = form_->findChild<CardPopupMenu *>();
    if (popup && popup->Memo())
        cards.push_back(drill.CardOfRow(popup->Memo()->Row));
    if (auto *grid = form_->findChild<ListGrid *>()) {
        listRow(grid->currentIndex().row());
        listRow(grid->EditorCell().y() - 1);
        if (popup)
            listRow(popup->ListRow() - 1);
    }
    return cards;
}

// A key goes to the card under the focus at the time it is pressed.
void WindowMonkey::AddTouchable() {
    for (const TMondaiSet *card : TouchableCards())
        touchable_.push_back(card);
}

namespace {
QByteArray FileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
} // namespace

void WindowMonkey::Check() {
    const Deck &deck = form_->DeckState();
    const qint32 today = form_->DrillState().Today();
    QString problem = CheckRoundTrip(deck, today);
    if (problem.isEmpty())
        problem = CheckQueue(deck, form_->DrillState());
    const bool sameDeck = deck.FileName() == fileBefore_ && !deckOpened;
    const FileStamp &stamp = deck.DiskStamp();
    const bool saved = stamp.path != stampBefore_.path || stamp.size != stampBefore_.size ||
                       stamp.modifiedNs != stampBefore_.modifiedNs ||
                       stamp.Hash() != stampBefore_.Hash();
    // A save leaves the file as the cards; an open reads it, and a check would only repeat it.
    if (problem.isEmpty() && saved && !deckOpened && !deck.Cards().empty() &&
        !deck.FileName().isEmpty() && deck.SavedLines() == deck.RenderedLines())
        problem = CheckFileMatches(deck, today);
    if (problem.isEmpty() && sameDeck && !deck.SavedLines().IsEmpty()) {
        problem = CheckTextChanges(before_, SnapshotTexts(deck), touchable_);
        // A record changes by a mark of the drill, an edit of its numbers or a confirmed reset;
        // and the card the drill brings up first in a pass is due at once.
        std::vector<const TMondaiSet *> mayChange = touchable_;
        mayChange.insert(mayChange.end(), marks_->marked.begin(), marks_->marked.end());
        mayChange.push_back(currentBefore_);
        mayChange.push_back(form_->DrillState().Current());
        if (problem.isEmpty())
            problem = CheckRecordChanges(recordsBefore_, SnapshotRecords(deck), mayChange,
                                         resetConfirmed);
    }
    for (const auto &[path, bytes] : files->foreign)
        if (problem.isEmpty() && FileBytes(path) != bytes)
            problem = QStringLiteral("another program's file %1 was changed").arg(path);
    if (problem.isEmpty() && form_->isVisible()) {
        const QString total = form_->findChild<QLabel *>(QStringLiteral("Num_Total"))->text();
        const QString select = form_->findChild<QLabel *>(QStringLiteral("Num_Select"))->text();
        if (total != QString::number(deck.Cards().size()) ||
            select != QString::number(form_->DrillState().Queue().size()))
            problem = QStringLiteral("the counters show %1 / %2 for %3 cards and %4 queued")
                          .arg(total, select)
                          .arg(deck.Cards().size())
                          .arg(form_->DrillState().Queue().size());
    }
    failure_ = problem;
}

// --- dialogs opened by a step ---

// A menu that runs its own loop (a scroll bar's, a line edit's): keys until it closes.
void WindowMonkey::HandleMenuLoop(QWidget *menu) {
    if (++dialogSteps_ > 8) {
        Note(QStringLiteral("    menu %1: closed").arg(Name(menu)));
        dialogSteps_ = 0;
        menu->close();
        return;
    }
    const int keys[] = {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Return, Qt::Key_Escape};
    const int key = keys[Pick(rng, 5)];
    Note(QStringLiteral("    menu %1: key %2").arg(Name(menu), QKeySequence(key).toString()));
    QTest::keyClick(menu, Qt::Key(key));
    if (!menu->isVisible())
        dialogSteps_ = 0;
}

void WindowMonkey::HandleDialog() {
    // Only a window that runs its own event loop waits for an answer; a menu opened by a
    // step without one stays open for the steps that follow.
    if (QThread::currentThread()->loopLevel() == 0)
        return;
    if (QWidget *popup = QApplication::activePopupWidget()) {
        HandleMenuLoop(popup);
        return;
    }
    auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible())
        return;
    if (++dialogSteps_ > 8) {
        Note(QStringLiteral("    dialog %1: rejected").arg(Name(dialog)));
        dialogSteps_ = 0;
        dialog->reject();
        return;
    }
    const QList<QWidget *> boxes = [&] {
        QList<QWidget *> list;
        for (auto *box : Usable<QPlainTextEdit>(dialog))
            list << box;
        for (auto *box : Usable<QLineEdit>(dialog))
            list << box;
        return list;
    }();
    const int choice = Pick(rng, 10);
    if (choice < 4 && !boxes.isEmpty()) {
        QWidget *box = boxes[Pick(rng, int(boxes.size()))];
        box->setFocus(Qt::MouseFocusReason);
        const QString text = Chance(rng, 50) ? HostileKeys(rng) : HostileText(rng);
        Note(QStringLiteral("    dialog %1: into %2 %3 \"%4\"")
                 .arg(Name(dialog), Name(box),
                      text.size() > 24 ? QStringLiteral("paste") : QStringLiteral("type"),
                      Shorten(text)));
        text.size() > 24 ? Paste(text) : TypeText(text);
    } else if (choice < 8) {
        const QList<QAbstractButton *> buttons = Usable<QAbstractButton>(dialog);
        if (buttons.isEmpty())
            return;
        QAbstractButton *button = buttons[Pick(rng, int(buttons.size()))];
        Note(QStringLiteral("    dialog %1: click %2 \"%3\"")
                 .arg(Name(dialog), Name(button), button->text()));
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        const int key = Chance(rng, 50) ? Qt::Key_Return : Qt::Key_Escape;
        Note(QStringLiteral("    dialog %1: key %2")
                 .arg(Name(dialog))
                 .arg(QLatin1String(key == Qt::Key_Return ? "Enter" : "Esc")));
        SendKey(key);
    }
    if (!dialog->isVisible())
        dialogSteps_ = 0;
}

// --- sending input as the platform would ---

QWidget *WindowMonkey::KeyTarget() const {
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup;
    if (QWidget *focus = QApplication::focusWidget())
        return focus;
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return form_.get();
}

void WindowMonkey::SendKey(int key, Qt::KeyboardModifiers modifiers) {
    AddTouchable();
    QTest::keyClick(KeyTarget(), Qt::Key(key), modifiers);
}

// Key by key to whatever has the focus then: a comma may close a cell editor mid-word.
void WindowMonkey::TypeText(const QString &text) {
    for (int i = 0; i < text.size(); ++i) {
        QString unit(text[i]);
        if (text[i].isHighSurrogate() && i + 1 < text.size())
            unit += text[++i];
        const char16_t c = unit[0].unicode();
        AddTouchable();
        QPointer<QWidget> target = KeyTarget();
        if (c == '\n' || c == '\r')
            QTest::keyClick(target, Qt::Key_Return);
        else if (c == '\t')
            QTest::keyClick(target, Qt::Key_Tab);
        else if (c >= 0x20 && c < 0x7F)
            QTest::keyClick(target, char(c));
        else {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, unit);
            QApplication::sendEvent(target, &press);
            if (target) {
                QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, unit);
                QApplication::sendEvent(target, &release);
            }
        }
    }
}

void WindowMonkey::Paste(const QString &text) {
    QApplication::clipboard()->setText(text);
    SendKey(Qt::Key_V, Qt::ControlModifier);
}

// --- the steps ---

void WindowMonkey::Step() {
    struct Kind {
        int weight;
        void (WindowMonkey::*run)();
    };
    static const Kind kinds[] = {
        {14, &WindowMonkey::DrillKey},      {4, &WindowMonkey::WheelTurn},
        {8, &WindowMonkey::CtrlShortcut},   {9, &WindowMonkey::PlainKey},
        {6, &WindowMonkey::MenuByKeyboard}, {12, &WindowMonkey::ClickSomewhere},
        {4, &WindowMonkey::SwitchPattern},  {5, &WindowMonkey::TriggerAction},
        {14, &WindowMonkey::TypeIntoCard},  {14, &WindowMonkey::EditListCell},
        {5, &WindowMonkey::PasteHere},      {6, &WindowMonkey::FindInList},
        {8, &WindowMonkey::AnswerInMode},
    };
    int total = 0;
    for (const Kind &kind : kinds)
        total += kind.weight;
    int draw = Pick(rng, total);
    for (const Kind &kind : kinds) {
        if (draw < kind.weight) {
            (this->*kind.run)();
            return;
        }
        draw -= kind.weight;
    }
}

void WindowMonkey::DrillKey() {
    const int keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Left, Qt::Key_Right};
    const int key = keys[Pick(rng, 4)];
    const auto modifiers = Chance(rng, 20) ? Qt::ControlModifier : Qt::NoModifier;
    Note(QStringLiteral("  drill key %1%2 to %3")
             .arg(QLatin1String(modifiers ? "Ctrl+" : ""))
             .arg(QKeySequence(key).toString(), Name(KeyTarget())));
    SendKey(key, modifiers);
}

void WindowMonkey::WheelTurn() {
    const QList<QWidget *> widgets = Usable<QWidget>(form_.get());
    QWidget *target = widgets[Pick(rng, int(widgets.size()))];
    const int deltas[] = {-120, 120, -240, 60, -15, 5};
    const int delta = deltas[Pick(rng, 6)];
    const auto modifiers = Chance(rng, 15) ? Qt::ControlModifier : Qt::NoModifier;
    Note(QStringLiteral("  wheel %1 over %2").arg(delta).arg(Name(target)));
    const QPointF at = SomePoint(rng, target);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

void WindowMonkey::CtrlShortcut() {
    const int keys[] = {Qt::Key_S, Qt::Key_O,    Qt::Key_N,   Qt::Key_D, Qt::Key_Z,
                        Qt::Key_Y, Qt::Key_X,    Qt::Key_C,   Qt::Key_V, Qt::Key_A,
                        Qt::Key_Q, Qt::Key_Home, Qt::Key_End, Qt::Key_R};
    const int key = keys[Pick(rng, int(std::size(keys)))];
    if (key == Qt::Key_V || key == Qt::Key_X || key == Qt::Key_C)
        QApplication::clipboard()->setText(HostileText(rng));
    Note(QStringLiteral("  Ctrl+%1 to %2 (clipboard \"%3\")")
             .arg(QKeySequence(key).toString(), Name(KeyTarget()),
                  Shorten(QApplication::clipboard()->text())));
    SendKey(key, Qt::ControlModifier);
}

void WindowMonkey::PlainKey() {
    const int keys[] = {Qt::Key_Return, Qt::Key_Escape,   Qt::Key_Delete, Qt::Key_Backspace,
                        Qt::Key_Tab,    Qt::Key_Space,    Qt::Key_F2,     Qt::Key_Home,
                        Qt::Key_End,    Qt::Key_PageDown, Qt::Key_Insert, Qt::Key_F1,
                        Qt::Key_Y,      Qt::Key_N};
    const int key = keys[Pick(rng, int(std::size(keys)))];
    const auto modifiers = Chance(rng, 10) ? Qt::ShiftModifier : Qt::NoModifier;
    Note(QStringLiteral("  key %1%2 to %3")
             .arg(QLatin1String(modifiers ? "Shift+" : ""))
             .arg(QKeySequence(key).toString(), Name(KeyTarget())));
    SendKey(key, modifiers);
}

void WindowMonkey::MenuByKeyboard() {
    const char letters[] = {'f', 'e', 'c', 't', 'k', 'h'};
    const char letter = letters[Pick(rng, 6)];
    QString keys = QStringLiteral("Alt+%1").arg(QChar::fromLatin1(letter));
    QTest::keyClick(KeyTarget(), letter, Qt::AltModifier);
    for (int n = Pick(rng, 6); n > 0; --n) {
        const int moves[] = {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_Left};
        const int key = moves[Pick(rng, 5)];
        keys += QLatin1Char(' ') + QKeySequence(key).toString();
        SendKey(key);
    }
    const bool enter = Chance(rng, 70);
    Note(QStringLiteral("  menu %1 %2").arg(keys, QLatin1String(enter ? "Enter" : "Esc")));
    SendKey(enter ? Qt::Key_Return : Qt::Key_Escape);
}

void WindowMonkey::ClickSomewhere() {
    if (QWidget *popup = QApplication::activePopupWidget()) {
        Note(QStringLiteral("  click outside closes %1").arg(Name(popup)));
        popup->close();
        return;
    }
    const QList<QWidget *> widgets = Usable<QWidget>(form_.get());
    QWidget *target = widgets[Pick(rng, int(widgets.size()))];
    const QPoint at = SomePoint(rng, target);
    const int how = Pick(rng, 10);
    if (how < 6) {
        Note(QStringLiteral("  click %1 at %2,%3").arg(Name(target)).arg(at.x()).arg(at.y()));
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
    } else if (how < 8) {
        Note(
            QStringLiteral("  double-click %1 at %2,%3").arg(Name(target)).arg(at.x()).arg(at.y()));
        QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, at);
    } else {
        Note(QStringLiteral("  right-click %1 at %2,%3").arg(Name(target)).arg(at.x()).arg(at.y()));
        QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, at);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &menu);
    }
}

void WindowMonkey::SwitchPattern() {
    const int index = Pick(rng, 6);
    Note(QStringLiteral("  pattern %1").arg(index));
    auto *box = form_->findChild<QComboBox *>(QStringLiteral("SelectBox"));
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

void WindowMonkey::TriggerAction() {
    QList<QAction *> actions;
    for (QAction *action : form_->findChildren<QAction *>())
        if (action->isEnabled() && !action->objectName().isEmpty() && !action->isSeparator())
            actions << action;
    QAction *action = actions[Pick(rng, int(actions.size()))];
    Note(QStringLiteral("  command %1").arg(Name(action)));
    action->trigger();
}

// The drill modes: switching them, answers typed (hostile ones too) and chosen, and the keys
// that go on, take a verdict back to right or leave the box.
void WindowMonkey::AnswerInMode() {
    AnswerModes &modes = form_->Modes();
    auto *box = form_->findChild<QLineEdit *>(QStringLiteral("AnswerBox"));
    switch (Pick(rng, 6)) {
    case 0: {
        const int mode = Pick(rng, 3);
        Note(QStringLiteral("  answer mode %1").arg(mode));
        modes.SetMode(AnswerMode(mode));
        return;
    }
    case 1:
        if (box && box->isVisible() && box->isEnabled()) {
            const QString text = HostileKeys(rng);
            Note(QStringLiteral("  answer \"%1\" into the answer box").arg(Shorten(text)));
            QTest::mouseClick(box, Qt::LeftButton);
            TypeText(text);
            SendKey(Qt::Key_Return);
            return;
        }
        break;
    case 2: {
        const int key = Qt::Key_1 + Pick(rng, 4);
        Note(QStringLiteral("  choice key %1 to %2")
                 .arg(QKeySequence(key).toString(), Name(KeyTarget())));
        SendKey(key);
        return;
    }
    case 3: {
        QList<QAbstractButton *> buttons;
        for (const char *name : {"Choice_1", "Choice_2", "Choice_3", "Choice_4", "AcceptAsRight"})
            if (auto *button = form_->findChild<QAbstractButton *>(QLatin1String(name));
                button && button->isVisible() && button->isEnabled())
                buttons << button;
        if (!buttons.isEmpty()) {
            QAbstractButton *button = buttons[Pick(rng, int(buttons.size()))];
            Note(QStringLiteral("  click %1").arg(Name(button)));
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
        break;
    }
    default:
        break;
    }
    const int keys[] = {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Left};
    const int key = keys[Pick(rng, 3)];
    const auto modifiers = Chance(rng, 30) ? Qt::ControlModifier : Qt::NoModifier;
    Note(QStringLiteral("  mode key %1%2 to %3")
             .arg(QLatin1String(modifiers ? "Ctrl+" : ""))
             .arg(QKeySequence(key).toString(), Name(KeyTarget())));
    SendKey(key, modifiers);
}

void WindowMonkey::TypeIntoCard() {
    QList<TMyMemo *> memos;
    form_->Cells().ForEachMemo([&](TMyMemo *memo) {
        if (memo->isVisible() && memo->isEnabled())
            memos << memo;
    });
    if (memos.isEmpty()) {
        PlainKey();
        return;
    }
    TMyMemo *memo = memos[Pick(rng, int(memos.size()))];
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, Qt::NoModifier,
                      SomePoint(rng, memo->viewport()));
    AddTouchable();
    touchable_.push_back(form_->DrillState().CardOfRow(memo->Row));
    const bool paste = Chance(rng, 30);
    const QString text = paste ? HostileText(rng) : HostileKeys(rng);
    Note(QStringLiteral("  %1 into box %2/%3 (focus %4): \"%5\"")
             .arg(QLatin1String(paste ? "paste" : "type"))
             .arg(memo->Kind)
             .arg(memo->Row)
             .arg(Name(KeyTarget()), Shorten(text)));
    paste ? Paste(text) : TypeText(text);
}

void WindowMonkey::EditListCell() {
    auto *grid = form_->findChild<ListGrid *>();
    if (!grid || !grid->isVisible() || form_->DeckState().Cards().empty()) {
        SwitchPattern();
        return;
    }
    const int row = 1 + Pick(rng, int(form_->DeckState().Cards().size()));
    const int column = Pick(rng, grid->Model()->columnCount());
    grid->scrollTo(grid->Model()->index(row - 1, column));
    const QRect cell = grid->visualRect(grid->Model()->index(row - 1, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    if (Chance(rng, 50))
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    else if (Chance(rng, 50))
        SendKey(Qt::Key_F2);
    AddTouchable();
    touchable_.push_back(form_->DeckState().Cards()[size_t(row - 1)].get());
    const bool paste = Chance(rng, 30);
    const QString text = paste ? HostileText(rng) : HostileKeys(rng);
    Note(QStringLiteral("  %1 into list cell %2/%3 (focus %4): \"%5\"")
             .arg(QLatin1String(paste ? "paste" : "type"))
             .arg(column)
             .arg(row)
             .arg(Name(KeyTarget()), Shorten(text)));
    paste ? Paste(text) : TypeText(text);
    if (Chance(rng, 40))
        SendKey(Chance(rng, 70) ? Qt::Key_Return : Qt::Key_Escape);
}

void WindowMonkey::PasteHere() {
    const QString text = HostileText(rng);
    Note(QStringLiteral("  paste into %1: \"%2\"").arg(Name(KeyTarget()), Shorten(text)));
    Paste(text);
}

// Ctrl+F, a word (often one the deck holds), a few steps through the matches, and mostly Esc:
// the keys that follow then act on the found row.
void WindowMonkey::FindInList() {
    const CardOwnerList &cards = form_->DeckState().Cards();
    QString word = HostileKeys(rng);
    if (!cards.empty() && Chance(rng, 60)) {
        const TMondaiSet &card = *cards[size_t(Pick(rng, int(cards.size())))];
        const QString text = sjis::ToDisplay(Chance(rng, 50) ? card.Mondai() : card.Kaitou()).text;
        word = text.mid(Pick(rng, std::max(1, int(text.size()))), 1 + Pick(rng, 4));
    }
    Note(QStringLiteral("  find \"%1\" (focus %2)").arg(Shorten(word), Name(KeyTarget())));
    SendKey(Qt::Key_F, Qt::ControlModifier);
    if (!FindBar::Holds(QApplication::focusWidget()))
        return;
    TypeText(word);
    for (int n = Pick(rng, 4); n > 0; --n) {
        const int key = Chance(rng, 50) ? Qt::Key_Return : Qt::Key_F3;
        const auto modifiers = Chance(rng, 30) ? Qt::ShiftModifier : Qt::NoModifier;
        Note(QStringLiteral("    find key %1%2")
                 .arg(QLatin1String(modifiers ? "Shift+" : ""))
                 .arg(QKeySequence(key).toString()));
        SendKey(key, modifiers);
    }
    if (Chance(rng, 70)) {
        Note(QStringLiteral("    Esc"));
        SendKey(Qt::Key_Escape);
    }
}
