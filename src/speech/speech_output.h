#pragma once

#include <QByteArray>

#include <QString>

#include <functional>
#include <memory>

class Drill;
class Prompts;
class QAction;
class QMenu;
class QWidget;
class SpeechComponent;
class TForm2;

// The "発音を聞く" submenu of the settings menu. It is built with the menus, before speech
// starts; its mode items go to SpeechOutput::SetMenuItems then.
struct SpeechMenuItems {
    QAction *question = nullptr;
    QAction *answer = nullptr;
    QAction *voiceSettings = nullptr; // 発音の設定詳細...
};
SpeechMenuItems AddSpeechMenu(QMenu *settingsMenu);

// Reading the current card aloud: the speech mode and its menu, the trigger after each drill
// step, and the voice dialog. The mode belongs to the window's settings; this class keeps it up
// to date.
class SpeechOutput {
public:
    enum Mode { Off = 0, Question = 1, Answer = 2 };

    SpeechOutput(int &mode, Prompts &prompts);
    ~SpeechOutput();
    SpeechOutput(const SpeechOutput &) = delete;
    SpeechOutput &operator=(const SpeechOutput &) = delete;

    // The menu items "問題" and "解答": their clicks set the mode, their marks and enabling follow
    // the mode and availability.
    void SetMenuItems(QAction *speakMondai, QAction *speakKaitou);

    // Start-up: creates the component and speaks the test text "."; when either fails, now or
    // later while the engine finishes starting, speech is unavailable and the mode becomes 0.
    void Start(std::unique_ptr<SpeechComponent> component);
    // Whether speech started and has not failed since.
    bool CanSpeak() const { return available_; }

    // After a drill step: silences what is still being spoken and speaks the field the mode
    // names, unless the main pattern shows the other side.
    void AutoSpeak(const Drill &drill);
    // Speaks one field of a card, given as the card stores it.
    void SpeakField(const QByteArray &storedText);
    // A recorded voice beats the synthetic one: this plays the sound a field refers to and
    // answers true, or answers false and the field is spoken.
    using RecordedVoice = std::function<bool(const QByteArray &storedText)>;
    void SetRecordedVoice(RecordedVoice recorded) { recorded_ = std::move(recorded); }

    // Where a failure the user should see goes (the status line, the details in its tooltip);
    // told at most once a session.
    using Notice = std::function<void(const QString &text, const QString &details)>;
    void SetNotice(Notice notice) { notice_ = std::move(notice); }
    static QString CannotStartNotice();
    static QString CannotSpeakNotice();
    static QString NoOutputNotice();

    void ClickSpeakMondai();
    void ClickSpeakKaitou();
    // "問題" is marked exactly in mode 1 and "解答" in mode 2; other modes leave the marks.
    void UpdateMarks();
    // The settings menu is opening: the mode items work only with speech.
    void MenuOpening();

    // Runs the voice dialog, placed 40 below and 70 right of `mainWindow`. OK keeps the chosen
    // voice; anything else returns to the voice of the opening.
    void RunVoiceDialog(QWidget *mainWindow);
    // While the voice dialog runs, the main window's mouse rules stand aside.
    bool VoiceDialogOpen() const { return dialogOpen_; }
    TForm2 *VoiceDialog() const { return dialog_.get(); }

private:
    void BecomeUnavailable(const QString &details);
    void Tell(const QString &text, const QString &details);
    void CheckOutput();

    bool available_ = false;
    bool dialogOpen_ = false;
    int &mode_;
    Prompts &prompts_;
    std::unique_ptr<SpeechComponent> speech_;
    std::unique_ptr<TForm2> dialog_;
    QAction *speakMondai_ = nullptr;
    QAction *speakKaitou_ = nullptr;
    RecordedVoice recorded_;
    Notice notice_;
    bool outputChecked_ = false;
    bool told_ = false;
};
