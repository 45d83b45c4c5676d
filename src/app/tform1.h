#pragma once

#include "app/deck_document.h"
#include "app/file_drop_host.h"
#include "app/window_placement.h"
#include "app/window_settings.h"
#include "deck/deck.h"
#include "deck/recent_files.h"
#include "drill/drill.h"
#include "drill/drill_host.h"
#include "settings/settings.h"
#include "speech/speech_output.h"

#include <QMainWindow>

#include <memory>

class AfterFirstPaint;
class AnswerModes;
class CardCommands;
class DeckFileMenu;
class DrillInput;
class BoxEdits;
class CardPopupMenu;
class CardScreen;
class CardView;
class CellMedia;
class DeckListView;
class DeckPreload;
class DeckProgress;
class DrillControls;
class FontSettings;
class ListGrid;
class FindBar;
class HelpMenu;
class HelpPage;
class HintTracker;
class LearningProgress;
class MainPanels;
class Prompts;
class QAction;
class QLineEdit;
class QMenu;
class QStatusBar;
class TMyMemo;

// The main window: owns the deck, the drill and every control; its handlers are thin and leave
// the rules to the core.
class TForm1 : public QMainWindow, public DrillHost, public FileDropHost {
    Q_OBJECT
public:
    explicit TForm1(Prompts &prompts, DayClock today = TodayNumber, QWidget *parent = nullptr);
    ~TForm1() override;

    // Opens the deck named on the command line, or else the most recent one; `preload`, when
    // given, has been reading `path` meanwhile.
    void OpenStartDeck(const QString &path, DeckPreload *preload = nullptr);
    // A path handed over by a second start.
    void ReceiveHandOff(const QString &path);
    // A note in the status line, there until the next hint replaces it.
    void ShowStatus(const QString &text);
    // A lasting notice of something that keeps failing: it comes back after each hint, and its
    // details are in the status line's tooltip.
    void ShowNotice(const QString &text, const QString &details = {});

    // --- decks ---
    // Opening, saving and importing; the save prompt.
    DeckDocument &Document() { return *document_; }
    int OpenDeckFile(const QString &path) { return document_->Open(path); } // 1: unsuitable
    // The recent decks, most recent first, as the File menu shows them.
    RecentFileList::Paths RecentPaths() const;
    void ShowRecentPaths(const RecentFileList::Paths &paths);
    void ClickExit();

    // --- drill commands (the steps, keys and wheel are DrillInput's, the switches and
    // counters DrillControls') ---
    void ClickSusume();
    void ClickDekita();
    // A key press of the drill; true when it was consumed.
    bool CMChildKey(int key, Qt::KeyboardModifiers modifiers);
    DrillControls &Controls() { return *controls_; }

    // --- view (CardScreen's) ---
    // The view chooser's entry `index`: メイン, サブ（2）…サブ（5）, 一覧.
    void ClickPanelPattern(int index);
    // The parking box takes the focus out of the card boxes.
    void ParkFocus();

    // --- help ---
    HelpPage &Help();

    // --- adding, deleting, taking back and the bookmark ---
    CardCommands &Commands() { return *cardCommands_; }

    // --- the list view and finding cards ---
    DeckListView &List() { return *listView_; }
    FindBar &Finder() { return *findBar_; }

    // --- DrillHost ---
    void RefreshView() override;
    void AutoSpeak() override;
    bool AskRestartStudy() override;
    bool ConfirmResetAll() override;
    void ShowBookmarkExempt() override;
    void BookmarkNotInQueue() override;
    void OrderApplied(int jyun) override;

    // --- FileDropHost ---
    const TMondaiSet *CardShownInRow(int row) const override { return drill_.CardOfRow(row); }
    void OpenDroppedDeck(const QString &path) override { OpenDeckFile(path); }

    // --- state (read by tests and by the other parts of the window) ---
    Deck &DeckState() { return deck_; }
    Drill &DrillState() { return drill_; }
    CardView &Cells() { return *cells_; }
    CellMedia &Media() { return *media_; }
    FontSettings &Fonts() { return *fonts_; }
    // The fonts of the question and the answer boxes, for every box that shows them.
    QFont QuestionFont() const;
    QFont AnswerFont() const;
    // The window's size with the window manager's frame, as the layout formulas count it; the
    // inner size while the window has no frame.
    int OuterHeight() const;
    int OuterWidth() const;
    // The settings as read at start-up; values whose controls do not exist yet are kept here
    // and written back unchanged. The add-card dialog keeps its values here as they change.
    AppSettings &HeldSettings() { return settings_; }
    SpeechOutput &Speech() { return *speech_; }
    AnswerModes &Modes() { return *modes_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void FormCreate();
    // The panels and the owners of the card view and the drill's controls.
    void CreatePanels();
    void CreateDrillControls();
    void ResizeForm();
    void CreateCommandOwners();
    void CreateMenus();
    void CreatePopupMenu();
    void CreateAnswerModes();
    void CreateDeckDocument(); // and the File menu, which works on it
    void CreateCardCommands(); // add, delete, take back, find, the bookmark
    void ConnectCells();
    // Whether Ctrl+Z in `watched` takes back a delete: a card box or list cell with no undo
    // step of its own, or the parking box.
    bool LeavesUndoToWindow(QObject *watched) const;
    // The owners of what the settings file sets, for reading and writing it.
    WindowSettings::Owners SettingsOwners();
    // Steps filled in by later work on the window; each has its own file.
    void CreateListView();      // list view in Panel_Grid, the find bar under it
    void FillGrid(bool scroll); // list view
    void ResizeListColumns();   // list view
    void CreateSpeech();        // reading the current card aloud
    void CreateCellMedia();     // pictures and sounds of the shown cards
    void StopCardSound();       // a drill step silences a playing sound
    // 学習の設定: the new-card limit and the scheduling rule.
    void ClickStudySettings();
    void CreateHints();
    // The mouse rules of the card boxes; true when the event is dropped.
    bool ApplicationMouseFilter(QObject *watched, QEvent *event);
    bool IsInThisWindow(QObject *object) const;
    bool IsDrillInput(QObject *watched) const;
    bool IsInListGrid(QObject *object) const;

    Prompts &prompts_;
    Deck deck_;
    Drill drill_;
    std::unique_ptr<MainPanels> panels_;
    CardView *cells_ = nullptr; // the panels' card cells
    CardScreen *screen_ = nullptr;
    DrillControls *controls_ = nullptr;
    BoxEdits *boxEdits_ = nullptr;
    CellMedia *media_ = nullptr;
    std::unique_ptr<FontSettings> fonts_;
    bool closed_ = false;
    bool closing_ = false; // a close is asking or writing
    // While set, what the card boxes and list cells show is the program's doing, not an edit
    // to store (the card screen, the box edits and the list read it).
    bool SuppressEdits = false;
    AppSettings settings_;
    WindowSettings settingsFile_{settings_, prompts_, *this};
    // Window bounds as the settings file stores them; lays the window out again when its frame
    // has arrived or changed.
    WindowPlacement placement_{*this, [this] { ResizeForm(); }};
    std::unique_ptr<SpeechOutput> speech_;
    HintTracker *hints_ = nullptr;
    std::unique_ptr<DeckDocument> document_;
    // The command owners, children of the window.
    DeckFileMenu *fileMenu_ = nullptr;
    DrillInput *drillInput_ = nullptr;
    CardCommands *cardCommands_ = nullptr;
    QMenu *settingsMenu_ = nullptr;
    SpeechMenuItems speechItems_;
    HelpMenu *helpMenu_ = nullptr;
    AfterFirstPaint *afterPaint_ = nullptr;
    std::unique_ptr<AnswerModes> modes_;

    // The widgets the list view and the card commands reach directly (MainPanels builds them).
    QWidget *Panel_Left = nullptr;
    QWidget *Panel_Grid = nullptr;
    ListGrid *GridHyouji = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    CardPopupMenu *PopupMenu1 = nullptr;
    DeckListView *listView_ = nullptr;
    FindBar *findBar_ = nullptr;
    // Last: the learning record leaves the drill before the drill goes, and the 学習状況
    // window that reads it goes first.
    std::unique_ptr<DeckProgress> progress_;
    std::unique_ptr<LearningProgress> overview_;
};
