#include "app/tform1.h"

#include "app/after_first_paint.h"
#include "app/deck_document.h"
#include "app/deck_file_menu.h"
#include "app/deck_preload.h"
#include "app/file_drop.h"
#include "app/help_menu.h"
#include "app/help_page.h"
#include "edit/box_edits.h"
#include "edit/card_commands.h"
#include "edit/card_popup_menu.h"
#include "edit/store_edit.h"
#include "exchange_ui/deck_exchange.h"
#include "media/sound_player.h"
#include "overview/learning_progress.h"
#include "speech/speech_engine.h"
#include "speech/speech_output.h"
#include "speech/start_gate.h"
#include "ui/app_texts.h"
#include "ui/font_setup.h"
#include "ui/menu_items.h"
#include "ui/prompts.h"
#include "view/answer_modes.h"
#include "view/card_screen.h"
#include "view/card_view.h"
#include "view/cell_media.h"
#include "view/deck_list_view.h"
#include "view/drill_controls.h"
#include "view/drill_input.h"
#include "view/find_bar.h"
#include "view/font_settings.h"
#include "view/hint_tracker.h"
#include "view/list_grid.h"
#include "view/main_panels.h"
#include "view/panel_widgets.h"
#include "view/program_icon.h"
#include "view/sample_offer.h"
#include "view/status_notice.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
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
    panels_->SelectBox->disconnect(screen_);
}

void TForm1::FormCreate() {
    // The random question order draws from a clock-seeded generator.
    drill_.SetRandomEngine(
        std::mt19937(static_cast<std::mt19937::result_type>(QDateTime::currentMSecsSinceEpoch())));
    // The review log and the learning overview follow the drill from the start.
    progress_ = std::make_unique<DeckProgress>(deck_, drill_);
    connect(progress_.get(), &DeckProgress::Notice, this, &TForm1::ShowNotice);
    overview_ = std::make_unique<LearningProgress>(
        *progress_, deck_, drill_,
        [this](QWidget *parent, const QString &name) {
            return prompts_.SaveFileName(parent, {QString(), QStringLiteral("PNG (*.png)"), name});
        },
        this);
    connect(overview_.get(), &LearningProgress::CardChosen, this,
            [this](qsizetype index) { listView_->ShowCard(index); });
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
    // The window, its panels and the display cells.
    CreatePanels();
    fonts_ = std::make_unique<FontSettings>(*cells_, prompts_, this);
    // The drill modes' box under the question and their note in the status line.
    CreateAnswerModes();
    // The command owners, the drill's controls, then the menus they fill and the card boxes'
    // context menu.
    CreateCommandOwners();
    CreateDrillControls();
    // The open deck's file: opening, saving, importing, the watch on the file; the File menu.
    CreateDeckDocument();
    // Adding, deleting, taking back, finding and the bookmark, for the card menus.
    CreateCardCommands();
    CreateMenus();
    CreatePopupMenu();
    // The card boxes' edits, double clicks and context menus; their pictures and sounds.
    ConnectCells();
    CreateCellMedia();
    // The list view, the find bar under it, and the hints.
    CreateListView();
    CreateHints();
    // Appearance is set while building; the view panels start hidden.
    panels_->Panel_Renban->hide();
    panels_->Panel_Grid->hide();
    // Caption, icon and the size the window has before the settings give it one.
    setWindowTitle(app_texts::WindowCaptionPrefix());
    setWindowIcon(ProgramIcon());
    resize(567, 554);
    setMinimumSize(350, 430);
    // No cell shows a picture until a card with one is drawn.
    cells_->CellImageFlag = {};
    // Settings; they may change every value set above.
    settingsFile_.ReadInto(SettingsOwners());
    // Speech, with the mode the settings chose.
    CreateSpeech();
    // Alignment and the controls that mirror the options.
    fonts_->UpdateSizeMarks();
    fonts_->ApplyAlignment();
    screen_->ApplyPattern();
    // The add-card dialog lives as long as the window and keeps its settings in settings_.
    cardCommands_->CreateAddDialog(settings_);
    // The record labels explain themselves whatever the help-comment mode.
    ApplyMainWindowHints(*this, {panels_->Panel_Under, panels_->fBangou, panels_->fBangou2});
}

// The status line shows the hint of what lies under the mouse.
void TForm1::CreateHints() {
    hints_ = new HintTracker(this);
    connect(hints_, &HintTracker::hintChanged, panels_->notice, &StatusNotice::ShowNote);
}

HelpPage &TForm1::Help() {
    return helpMenu_->Page();
}

// The panels, and the card view's owner that lays them out and draws them.
void TForm1::CreatePanels() {
    panels_ = std::make_unique<MainPanels>(*this);
    cells_ = panels_->cells.get();
    Panel_Left = panels_->Panel_Left;
    Panel_Grid = panels_->Panel_Grid;
    StatusBar1 = panels_->StatusBar1;
    connect(panels_->sampleOffer, &SampleOffer::openRequested, this, &TForm1::OpenDeckFile);
    connect(panels_->sampleOffer, &SampleOffer::failed, this,
            [this](const QString &why) { prompts_.Error(this, why); });
    screen_ = new CardScreen(
        *panels_, deck_, drill_, SuppressEdits,
        {[this] { return QSize(OuterWidth(), OuterHeight()); }, [this] { RefreshView(); }}, this);
}

// The owners of the commands: each holds its menu items and reaches the window only through
// what it is handed here.
void TForm1::CreateCommandOwners() {
    drillInput_ = new DrillInput(drill_,
                                 {[this] { ParkFocus(); }, [this] { StopCardSound(); },
                                  [this] { return controls_->ArrowKeys(); }},
                                 this);
    helpMenu_ =
        new HelpMenu(*this, prompts_, [this](bool on) { ApplyHelpComments(*this, *cells_, on); });
}

// The open deck's file, and the File menu that works on it.
void TForm1::CreateDeckDocument() {
    DeckDocument::Hooks hooks;
    hooks.parkFocus = [this] { ParkFocus(); };
    hooks.autoSave = [this] { return controls_->AutoSave(); };
    hooks.refreshView = [this] { RefreshView(); };
    hooks.showStatus = [this](const QString &text) { ShowStatus(text); };
    hooks.cardsReplaced = [this] { findBar_->DeckReplaced(); };
    hooks.showInList = [this](const TMondaiSet *card) { listView_->PointAt(card); };
    hooks.fileOpened = [this](const QString &path) { fileMenu_->Recent().PutOnTop(path); };
    document_ = std::make_unique<DeckDocument>(deck_, drill_, prompts_, *this, *afterPaint_,
                                               std::move(hooks));
    DeckExchange &exchange = document_->Exchange();
    exchange.newCardLimit = [this] { return progress_->StudySettings().newCardsPerDay; };
    exchange.setNewCardLimit = [this](int limit) {
        StudyValues values = progress_->StudySettings();
        values.newCardsPerDay = limit;
        progress_->ApplyStudySettings(values);
    };
    fileMenu_ = new DeckFileMenu(*this, prompts_, *document_, [this] { ClickExit(); });
}

// Adding, deleting, taking back, finding and the bookmark.
void TForm1::CreateCardCommands() {
    CardCommands::Window window;
    window.parent = this;
    window.find = [this] { listView_->OpenFind(); };
    window.hints = [this] { return helpMenu_->CommentsShown(); };
    window.status = [this](const QString &text) { ShowStatus(text); };
    window.withoutStoringEdits = [this](const std::function<void()> &step) {
        const QScopedValueRollback suppress(SuppressEdits, true);
        step();
    };
    cardCommands_ =
        new CardCommands(deck_, drill_, *cells_, *fonts_, prompts_, std::move(window), this);
}

// The list view in its panel, the find bar under it.
void TForm1::CreateListView() {
    DeckListView::Window window;
    window.window = this;
    window.controlColumn = Panel_Left;
    window.showList = [this] {
        if (drill_.DisplayPattern() != PatternList)
            ClickPanelPattern(5); // the list's entry in SelectBox
    };
    window.openMenu = [this](QLineEdit *editor, int row, const QPoint &global) {
        PopupMenu1->OpenOverEditor(editor, row, global);
    };
    listView_ = new DeckListView(deck_, drill_, *Panel_Grid, std::move(window), &SuppressEdits);
    GridHyouji = &listView_->Grid();
    findBar_ = &listView_->Finder();
    // Between the view and the bottom strip; it is only shown with the list.
    if (auto *column = qobject_cast<QBoxLayout *>(centralWidget()->layout()))
        column->insertWidget(1, findBar_);
    cardCommands_->SetList(*GridHyouji);
    connect(GridHyouji, &ListGrid::WheelTurned, drillInput_, &DrillInput::WheelStep);
    connect(GridHyouji, &ListGrid::ConversionFailed, this,
            [this](const QString &message) { prompts_.Error(this, message); });
    connect(GridHyouji, &ListGrid::CharactersDropped, this,
            [this](const QString &characters) { ShowStatus(UnencodableMessage(characters)); });
    connect(GridHyouji, &ListGrid::QuoteCommaSeparated, this,
            [this] { ShowStatus(QuoteCommaMessage()); });
}

void TForm1::FillGrid(bool scroll) {
    GridHyouji->FillGrid(scroll);
}

void TForm1::ResizeListColumns() {
    if (GridHyouji)
        GridHyouji->ResizeColumns(OuterWidth());
}

RecentFileList::Paths TForm1::RecentPaths() const {
    return fileMenu_->Recent().Paths();
}

void TForm1::ShowRecentPaths(const RecentFileList::Paths &paths) {
    fileMenu_->Recent().Show(paths);
}

// The drill modes' box under the question and their note in the status line.
void TForm1::CreateAnswerModes() {
    modes_ = std::make_unique<AnswerModes>(drill_, deck_, this);
    cells_->PlaceUnderQuestion(modes_->Panel());
    modes_->ShowNoteIn(*StatusBar1);
    modes_->SetStepHook([this] { StopCardSound(); });
    modes_->SetNotice([this](const QString &text) { ShowStatus(text); });
    modes_->SetRedraw([this] {
        RefreshView();
        AutoSpeak();
    });
    modes_->SetLeaveBox([this] { ParkFocus(); });
}

// Pictures and sounds that the shown card texts refer to.
void TForm1::CreateCellMedia() {
    media_ = new CellMedia(*cells_, CreateSoundPlayer, this);
    media_->SetProgramFolder(QCoreApplication::applicationDirPath());
    media_->SetDeckFileSource([this] { return deck_.FileName(); });
    media_->FollowImageShares();
    connect(media_, &CellMedia::layoutChanged, screen_, &CardScreen::SizeCellTexts);
    // Told after the redraw that found the sound, not in the middle of it.
    connect(
        media_, &CellMedia::soundsUnavailable, this,
        [this] { prompts_.Inform(this, SoundUnavailableMessage(), {PromptButton::Ok}); },
        Qt::QueuedConnection);
    connect(media_, &CellMedia::soundFailed, this,
            [this](const QString &details) { ShowNotice(SoundFailedNotice(), details); });
}

// A drill step silences a playing card sound.
void TForm1::StopCardSound() {
    if (media_)
        media_->StopSound();
}

// Reading the current card aloud, with the mode the settings chose.
void TForm1::CreateSpeech() {
    speech_ = std::make_unique<SpeechOutput>(settings_.speakEnglish, prompts_);
    speech_->SetMenuItems(speechItems_.question, speechItems_.answer);
    speech_->UpdateMarks();
    // A card's recorded sound is its voice.
    speech_->SetRecordedVoice(
        [this](const QByteArray &stored) { return media_->PlayFieldSound(stored); });
    connect(settingsMenu_, &QMenu::aboutToShow, this, [this] { speech_->MenuOpening(); });
    connect(speechItems_.voiceSettings, &QAction::triggered, this,
            [this] { speech_->RunVoiceDialog(this); });
    speech_->SetNotice(
        [this](const QString &text, const QString &details) { ShowNotice(text, details); });
    speech_->Start(MakeSpeechComponent());
    // When start-up holds the engine back, it loads once the window is drawn.
    if (speech_start::Held())
        afterPaint_->Add(&speech_start::Release);
}

void TForm1::AutoSpeak() {
    if (speech_) // the settings may move the drill before speech exists
        speech_->AutoSpeak(drill_);
}

// すすめ, できた, the switches and the counters.
void TForm1::CreateDrillControls() {
    controls_ = new DrillControls(*this, *panels_, deck_, drill_, *drillInput_, prompts_,
                                  [this] { return progress_->NewCardStatus(); });
}

// Each owner adds its own items; the menus keep the order the user knows.
void TForm1::CreateMenus() {
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    fileMenu_->Create(bar);
    fonts_->CreateMenu(bar);

    QMenu *card = AddMenu(bar, "men_Card", QStringLiteral("操作(&C)"));
    drillInput_->AddStepItems(card);
    cardCommands_->AddItems(card);

    settingsMenu_ = AddMenu(bar, "men_Other", QStringLiteral("設定(&T)"));
    speechItems_ = AddSpeechMenu(settingsMenu_);
    drillInput_->AddOrderMenu(settingsMenu_);
    modes_->CreateMenus(settingsMenu_);
    connect(AddItem(settingsMenu_, "men_Other_Study", QStringLiteral("学習の設定...")),
            &QAction::triggered, this, &TForm1::ClickStudySettings);

    QMenu *keisan = AddMenu(bar, "men_Keisan", QStringLiteral("計算(&K)"));
    drillInput_->AddResetItem(keisan);
    connect(AddItem(keisan, "men_Keisan_Progress", QStringLiteral("学習状況(&L)..."),
                    QKeySequence(Qt::CTRL | Qt::Key_L)),
            &QAction::triggered, overview_.get(), &LearningProgress::ShowWindow);

    helpMenu_->Create(bar);
}

void TForm1::CreatePopupMenu() {
    PopupMenu1 = new CardPopupMenu(this);
    PopupMenu1->SetBookmarkQuery([this] { return drill_.BookmarkCard() != nullptr; });
    cardCommands_->ConnectPopup(*PopupMenu1);
}

// Typing in the card boxes edits their cards; their context menu is the card menu.
void TForm1::ConnectCells() {
    boxEdits_ = new BoxEdits(*cells_, drill_, SuppressEdits,
                             {[this](TMondaiSet *card) { findBar_->CardEdited(card); },
                              [this] { media_->Update(); },
                              [this](const QString &text) { ShowStatus(text); }},
                             this);
    cells_->ForEachMemo([this](TMyMemo *memo) {
        memo->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(memo, &QWidget::customContextMenuRequested, this, [this, memo](const QPoint &at) {
            PopupMenu1->OpenOverMemo(memo, memo->mapToGlobal(at));
        });
    });
}

// A redraw: the cells, then everything else that shows the drill.
void TForm1::RefreshView() {
    screen_->Draw();
    controls_->ShowCounters();
    media_->Update();
    if (drill_.DisplayPattern() == PatternList)
        FillGrid(true);
    overview_->DrillChanged();
    findBar_->DeckMayHaveChanged(drill_.BookmarkCard());
    modes_->Refresh();
}

void TForm1::ClickSusume() {
    drillInput_->Susume();
}

void TForm1::ClickDekita() {
    drillInput_->Dekita();
}

bool TForm1::CMChildKey(int key, Qt::KeyboardModifiers modifiers) {
    return drillInput_->TakeKey(key, modifiers);
}

void TForm1::ClickPanelPattern(int index) {
    screen_->ChoosePattern(index);
}

void TForm1::ParkFocus() {
    screen_->ParkFocus();
}

void TForm1::ResizeForm() {
    if (!screen_)
        return;
    screen_->LayoutCells();
    ResizeListColumns();
}

bool TForm1::AskRestartStudy() {
    return controls_->AskRestartStudy();
}

bool TForm1::ConfirmResetAll() {
    return controls_->ConfirmResetAll();
}

void TForm1::ShowBookmarkExempt() {
    controls_->ShowBookmarkExempt();
}

void TForm1::BookmarkNotInQueue() {
    controls_->BookmarkNotInQueue();
}

void TForm1::OrderApplied(int jyun) {
    drillInput_->MarkOrder(jyun);
}

void TForm1::OpenStartDeck(const QString &path, DeckPreload *preload) {
    if (!path.isEmpty() && document_->Open(path, preload) == 0)
        return;
    // The most recent deck, which the preload may have been reading; a missing one leaves the
    // list as choosing it in the menu does.
    const QString recent = RecentPaths()[0];
    if (preload && preload->Holds(recent) && QFileInfo::exists(recent)) {
        document_->Open(recent, preload);
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
    panels_->notice->Show(text, details);
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
    const bool closes = document_->AskSave() != SaveAnswer::Cancelled;
    if (closes) {
        SuppressEdits = true;
        settingsFile_.WriteFrom(SettingsOwners());
        closed_ = true;
        qApp->removeEventFilter(this);
    }
    closing_ = false;
    event->setAccepted(closes);
}

WindowSettings::Owners TForm1::SettingsOwners() {
    return {placement_,
            drill_,
            *cells_,
            *panels_->Panel_Mondai,
            *screen_,
            *fonts_,
            *controls_,
            *helpMenu_,
            *modes_,
            *progress_,
            [this] { return RecentPaths(); },
            [this](const RecentFileList::Paths &paths) { ShowRecentPaths(paths); }};
}

void TForm1::ClickStudySettings() {
    const int newCardsBefore = progress_->StudySettings().newCardsPerDay;
    if (!overview_->EditStudySettings(this))
        return;
    // A new limit shapes the pass from its start; the standard order builds it anew now.
    if (progress_->StudySettings().newCardsPerDay != newCardsBefore && drill_.Jyun() == 0)
        drill_.ApplyOrder();
    RefreshView();
}

void TForm1::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    // The keyboard starts out with the drill (or the typing mode's answer box), not in a card's
    // text (a window coming back from the task bar keeps its focus).
    if (!event->spontaneous()) {
        ParkFocus();
        modes_->FocusBox();
    }
    placement_.CheckFrame();
    placement_.Shown();
}

void TForm1::moveEvent(QMoveEvent *event) {
    QMainWindow::moveEvent(event);
    placement_.CheckFrame();
}

void TForm1::changeEvent(QEvent *event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::ActivationChange)
        placement_.CheckFrame();
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
    if (watched == panels_->fSannkou0)
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
    if ((speech_ && speech_->VoiceDialogOpen()) || cardCommands_->AddDialogOpen())
        return false;
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (press) {
        // A click on the control column or a caption leaves the card boxes.
        if (watched == panels_->Panel_Left || watched == panels_->Panel_LeftDown ||
            panels_->captionBoxes.contains(qobject_cast<QLineEdit *>(watched)))
            ParkFocus();
    }
    // A text box that holds no card never takes the focus or opens its menu.
    TMyMemo *memo = qobject_cast<TMyMemo *>(watched);
    if (!memo && watched->parent())
        memo = qobject_cast<TMyMemo *>(watched->parent());
    if (memo && !memo->Shown && (press || event->type() == QEvent::ContextMenu)) {
        ParkFocus();
        return true;
    }
    return drill_.DisplayPattern() == PatternList && listView_->FilterMouse(watched, event);
}
