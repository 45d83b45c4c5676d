#pragma once

#include <QDialog>
#include <QStringList>

#include <optional>

class Prompts;
class QComboBox;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class SpeechComponent;

// The voice selection dialog "音声の選択": lists the engine's voices, speaks a test sentence
// with the one the user picks, and leaves it selected. Whoever opens it decides what OK and
// Cancel mean for the engine.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(Prompts &prompts, QWidget *parent = nullptr);

    // Lists the voices of `speech` with the current one selected, or a single entry that says
    // why there is none: no speech (null), an empty list, or voices that cannot be read.
    void FillVoices(SpeechComponent *speech);
    // Where espeak-ng keeps its voices; its absence is the likely reason for no speech.
    void SetDataFolder(const QString &folder) { dataFolder_ = folder; }
    // The selected entry, counted from 0.
    int SelectedIndex() const;

    enum class NoVoice { NoSpeech, NoDataFolder, EmptyList, Unreadable };
    static QString NoVoiceText(NoVoice reason);
    static QString TestSentence();
    static QStringList HelpLines();

private:
    void BuildControls();
    void form2_SelectVoice_ComboBoxChange(int index);
    void AddVoice(const QString &name);
    NoVoice Reason(SpeechComponent *speech, std::optional<int> count) const;

    Prompts &prompts_;
    SpeechComponent *speech_ = nullptr;
    QString dataFolder_;
    QGroupBox *form2_SelectVoice_Panel = nullptr;
    QComboBox *form2_SelectVoice_ComboBox = nullptr;
    QPlainTextEdit *form2_Memo_Test = nullptr;
    QPlainTextEdit *form2_Memo_Help = nullptr;
    QPushButton *d_bOK = nullptr;
    QPushButton *d_bCancel = nullptr;
};
