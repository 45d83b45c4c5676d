#pragma once

#include <QList>

#include <memory>

class CardView;
class ClickLabel;
class FittingLabel;
class NoDeckHint;
class PopupComboBox;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QWidget;
class SampleOffer;
class StatusNotice;

// The main window's widgets: the view panels, the control column on the left and the strip at
// the bottom with the status line and the record bar. Building them is all it does; the owners
// of the commands connect to the pointers it hands out. Object names are the component names.
class MainPanels {
public:
    // Builds every panel into `window`, which owns them.
    explicit MainPanels(QMainWindow &window);
    ~MainPanels();
    MainPanels(const MainPanels &) = delete;
    MainPanels &operator=(const MainPanels &) = delete;

    QWidget *Panel_Main = nullptr;
    QWidget *Panel_Left = nullptr;
    QWidget *Panel_LeftDown = nullptr;
    QWidget *Panel_Mondai = nullptr;
    QWidget *Panel_Renban = nullptr;
    QWidget *Panel_Grid = nullptr;
    QWidget *Panel_Main_Right = nullptr;
    QWidget *Panel1 = nullptr;
    QWidget *Panel_Under = nullptr;
    QWidget *Panel_Arrow = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    StatusNotice *notice = nullptr;
    QLabel *newCardStatus = nullptr; // 新規 k/N while a limit is set
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
    // The read-only captions beside the controls; a click on one leaves the card boxes.
    QList<QLineEdit *> captionBoxes;
    NoDeckHint *noDeckHint = nullptr;
    // The button under the no-deck note that offers the installed sample deck.
    SampleOffer *sampleOffer = nullptr;
    // The card cells of the main and the sub view, in Panel_Mondai and Panel_Renban.
    std::unique_ptr<CardView> cells;

private:
    void CreateLeftPanel(QWidget *parent);
    void CreateRecordBar(QWidget *parent);
    QLineEdit *CreateCaptionBox(QWidget *parent, const QString &name, const QString &text);
};
