#pragma once

#include "edit/store_edit.h"

#include <QDialog>
#include <QString>

#include <memory>

struct AppSettings;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class TMondaiSet;

// The add-card dialog "追加して挿入": the new card's question and answer, where it goes, and the
// options. It opens from the options and geometry held in the settings and stores them again
// whichever way it closes.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    static constexpr int MinWidth = 243;
    static constexpr int MinHeight = 350;
    static constexpr int LowerPanelHeight = 188;

    // `settings` outlives the dialog; the dialog reads and writes its add-dialog values.
    TForm3(AppSettings &settings, QWidget *mainWindow);

    // One opening: places the dialog beside the main window, fills it, runs it modally and stores
    // its state. Returns the dialog's result (Accepted for OK).
    int Run(const QFont &questionFont, const QFont &answerFont);

    // The card the dialog describes, due at once, with what storing its two texts gave (the
    // notes to tell the user, such as characters the deck's encoding cannot hold).
    struct NewCardTexts {
        std::unique_ptr<TMondaiSet> card;
        StoredEdit question;
        StoredEdit answer;
    };
    NewCardTexts NewCard() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateControls();
    void CreateLowerPanel(QWidget *panel);
    void FormResize();
    void Place();
    void Fill(const QFont &questionFont, const QFont &answerFont);
    void StoreState();
    void ApplyInputMethods(bool switched);
    void form3_CheckEnterClick();
    // Settings value of the insertion position, as the radio group shows it.
    int InsertionIndex() const;

    AppSettings &settings_;
    QWidget *mainWindow_;
    QWidget *Panel_Sounyu_Up = nullptr;
    QWidget *Panel_Sounyu_Down = nullptr;
    QGroupBox *form3_Group_Up = nullptr;
    QLabel *form3_Label_Mondai = nullptr;
    QLabel *form3_Label_Kaitou = nullptr;
    QPlainTextEdit *form3_Mondai = nullptr;
    QPlainTextEdit *form3_Kaitou = nullptr;
    QGroupBox *form3_RadioTuika = nullptr;
    QButtonGroup *radioItems_ = nullptr;
    QCheckBox *form3_CheckIdou = nullptr;
    QGroupBox *optionGroup_ = nullptr;
    QCheckBox *form3_CheckIME = nullptr;
    QCheckBox *form3_CheckClip = nullptr;
    QCheckBox *form3_CheckEnter = nullptr;
    QPushButton *d_bOK = nullptr;
    QPushButton *d_bCancel = nullptr;
};
