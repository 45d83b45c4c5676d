#pragma once

#include "app/deck_document.h"
#include "app/file_drop_host.h"
#include "app/window_placement.h"
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
class CardPopupMenu;
class CardView;
class CellMedia;
class DeckListView;
class DeckPreload;
class FontSettings;
class ClickLabel;
class ListGrid;
class NoDeckHint;
class PopupComboBox;
class FindBar;
class FittingLabel;
class HelpMenu;
class HelpPage;
class HintTracker;
class LearningProgress;
class Prompts;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class StatusNotice;
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

    // --- drill commands (the steps, keys and wheel are DrillInput's) ---
    void ClickSusume();
    void ClickDekita();
    void ClickArrowCheck();
    void ClickAutoSaveCheck();
    // A key press of the drill; true when it was consumed.
    bool CMChildKey(int key, Qt::KeyboardModifiers modifiers);

    // --- view ---
    void ApplyPattern();
    void ClickPanelPattern(int index);
    void LayoutCells();
    void SizeCellTexts();
    void ResizeForm();
    void ParkFocus();
    void ClickPanel();
    void LabelMouseDown();
    void MyMemoDblClick(TMyMemo *memo);
    void OnCha(TMyMemo *memo);
    // Arrow captions and check boxes follow Yajirusi and AutoSave.
    void UpdateArrowCaptions();

    // --- hints and help ---
    void MyMenuShowHint(const QString &hint);
    void ClickHelpComment();
    void ApplyHelpComment();
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

    bool SuppressEdits = false;
    bool VoiceDialogOpen = false;
    bool AutoSave = false;
    bool Yajirusi = true;
    bool SpeechAvailable = false;
    bool HelpComment = true;

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
    // Building the window (tform1_build.cpp).
    void CreatePanels();
    void CreateLeftPanel(QWidget *parent);
    void CreateRecordBar(QWidget *parent);
    QLineEdit *CreateCaptionBox(QWidget *parent, const QString &name, const QString &text);
    void CreateCommandOwners();
    void CreateMenus();
    void CreatePopupMenu();
    void CreateAnswerModes();  // tform1_modes.cpp
    void CreateDeckDocument(); // and the File menu, which works on it
    void ConnectCells();
    void CreateCardCommands(); // add, delete, take back, find, the bookmark
    // Whether Ctrl+Z in `watched` takes back a delete: a card box or list cell with no undo
    // step of its own, or the parking box.
    bool LeavesUndoToWindow(QObject *watched) const;
    // Steps filled in by later work on the window; each has its own file.
    void ReadSettings();        // settings file
    void WriteSettings();       // settings file
    void CreateListView();      // list view in Panel_Grid, the find bar under it
    void FillGrid(bool scroll); // list view
    void ResizeListColumns();   // list view
    void CreateSpeech();        // speech
    void CreateCellMedia();     // pictures and sounds of the shown cards
    void UpdateCellMedia();     // after a redraw or an edit
    void SetImagePercent(int percent);
    void StopCardSound(); // a drill step silences a playing sound
    // Plays the sound a field (as stored) refers to; false when it names none that exists.
    bool PlayRecordedVoice(const QByteArray &storedField);
    void men_Other_SpeakSettingClick();
    // 学習の設定: the new-card limit and the scheduling rule (tform1_settings.cpp).
    void ClickStudySettings();
    void CreateHints();        // hints and help
    void SetMainWindowHints(); // hints and help
    // Drawing helpers.
    void ShowCounters();
    // The mouse rules of the card boxes; true when the event is dropped.
    bool ApplicationMouseFilter(QObject *watched, QEvent *event);
    bool IsInThisWindow(QObject *object) const;
    bool IsDrillInput(QObject *watched) const;
    bool IsInListGrid(QObject *object) const;

    Prompts &prompts_;
    Deck deck_;
    Drill drill_;
    std::unique_ptr<CardView> cells_;
    CellMedia *media_ = nullptr;
    std::unique_ptr<FontSettings> fonts_;
    bool closed_ = false;
    bool closing_ = false; // a close is asking or writing
    AppSettings settings_;
    bool settingsUnreadable_ = false; // never written back then
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

    // Controls (object names as the component names).
    QWidget *Panel_Main = nullptr;
    QWidget *Panel_Left = nullptr;
    QWidget *Panel_LeftDown = nullptr;
    QWidget *Panel_Mondai = nullptr;
    QWidget *Panel_Renban = nullptr;
    QWidget *Panel_Grid = nullptr;
    ListGrid *GridHyouji = nullptr;
    QWidget *Panel_Main_Right = nullptr;
    QWidget *Panel1 = nullptr;
    QWidget *Panel_Under = nullptr;
    QWidget *Panel_Arrow = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    StatusNotice *notice_ = nullptr;
    QLabel *newCardStatus_ = nullptr; // 新規 k/N while a limit is set
    QPlainTextEdit *fSannkou0 = nullptr;
    PopupComboBox *SelectBox = nullptr;
    ClickLabel *myCheck = nullptr;
    QGroupBox *Num_Now = nullptr;
    FittingLabel *Num_Total = nullptr;
    FittingLabel *Num_Select = nullptr;
    QCheckBox *ArrowCheck = nullptr;
    QCheckBox *AutoSaveCheck = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QPushButton *btnSusume = nullptr;
    QPushButton *btnDekita = nullptr;
    QLabel *fBangou = nullptr;
    QLabel *fBangou_Label = nullptr;
    QLabel *fBangou2 = nullptr;
    QList<QLineEdit *> captionBoxes_;
    CardPopupMenu *PopupMenu1 = nullptr;
    NoDeckHint *noDeckHint_ = nullptr;
    DeckListView *listView_ = nullptr;
    FindBar *findBar_ = nullptr;
    // Last: it leaves the drill before the drill goes.
    std::unique_ptr<LearningProgress> progress_;
};
