#pragma once

#include "exchange/card_import.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

// Shows what a file becomes before anything changes: the encoding, separator and header found
// (each can be changed), the first cards as 問題 / 解答 / 参考, which column goes where, the
// number of cards and the characters Shift-JIS cannot hold. The cards are read again on every
// change, so what the dialog shows is what the deck gets.
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    // `canAppend`: a deck is open, so the cards may go after its last card.
    ImportDialog(QByteArray fileBytes, const QString &fileName, bool canAppend,
                 QWidget *parent = nullptr);
    ~ImportDialog() override;

    const exchange::ImportOptions &Options() const { return options_; }
    void SetOptions(const exchange::ImportOptions &options);
    const exchange::ImportResult &Result() const { return result_; }
    // The cards as last shown; the dialog keeps none after this.
    CardOwnerList TakeCards() { return std::move(result_.cards); }
    bool AppendToDeck() const;
    // Above this many cards the dialog offers to limit the new cards a day.
    static constexpr qsizetype kLimitOfferCards = 100;
    // Offers the limit (0: none set now); shown only while the file brings enough cards.
    void OfferNewCardLimit(int current);
    // The limit the user chose to set here, or 0 for none.
    int ChosenNewCardLimit() const;

    static constexpr int kPreviewRows = 20;

private:
    void BuildControls(const QString &fileName, bool canAppend);
    void ShowOptions();
    void ReadControls();
    void Reload();
    void FillColumnBoxes();
    void FillPreview();
    void ShowNotes();

    QByteArray fileBytes_;
    exchange::ImportOptions options_;
    // The columns the user chose, kept while a reading with fewer columns cannot show them.
    std::array<int, 3> wantedColumns_;
    exchange::ImportResult result_;
    bool filling_ = false;
    bool limitOffered_ = false;

    QComboBox *encodingBox_ = nullptr;
    QComboBox *separatorBox_ = nullptr;
    QCheckBox *headerCheck_ = nullptr;
    QCheckBox *htmlCheck_ = nullptr;
    QComboBox *columnBoxes_[3] = {};
    QTableWidget *preview_ = nullptr;
    QLabel *countLabel_ = nullptr;
    QLabel *noteLabel_ = nullptr;
    QRadioButton *newDeckButton_ = nullptr;
    QRadioButton *appendButton_ = nullptr;
    QPushButton *okButton_ = nullptr;
    QCheckBox *limitCheck_ = nullptr;
    QSpinBox *limitBox_ = nullptr;
};
