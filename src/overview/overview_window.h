#pragma once

#include "progress/memory_model.h"
#include "progress/overview_figures.h"

#include <QWidget>

#include <functional>

class BarChart;
class HeatMap;
class QLabel;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QTableWidgetItem;

// 学習状況: where the open deck stands, what comes due, the record and the hardest cards.
// A window of its own beside the drill; it only shows figures and never changes a card.
class OverviewWindow : public QWidget {
    Q_OBJECT
public:
    // Answers the save dialog for a chart picture: the chosen path, empty when cancelled.
    using SaveNameAsker = std::function<QString(QWidget *parent, const QString &suggested)>;

    explicit OverviewWindow(QWidget *parent = nullptr);

    struct Pass {
        qint64 answered = 0; // answers given since the deck was opened
        qint64 left = 0;     // cards still in this pass
    };
    void ShowFigures(const DeckFigures &deck, const HistoryFigures &history, Pass pass,
                     const QString &deckName);
    // The new-card limit and, with the memory model on, what it predicts.
    struct Study {
        qint64 newShown = 0;
        int newLimit = 0; // 0: no limit
        bool model = false;
        RecallFigures recall;
    };
    void ShowStudy(const Study &study);
    void SetSaveNameAsker(SaveNameAsker asker) { askSaveName_ = std::move(asker); }
    // Writes the charts of the page shown as a PNG picture; false when that failed.
    bool SaveChart(const QString &path);

Q_SIGNALS:
    // A card of the hardest-cards list was double-clicked.
    void CardChosen(const TMondaiSet *card);

private:
    QWidget *CreateTodayPage();
    QWidget *CreateRecordPage();
    QWidget *CreateHardestPage();
    void ShowForecast();
    void ShowHardest(const DeckFigures &deck);
    void ClickSaveChart();
    QWidget *ChartOfPage() const;

    QTabWidget *pages_ = nullptr;
    QLabel *cards_ = nullptr;
    QLabel *dueNow_ = nullptr;
    QLabel *overdue_ = nullptr;
    QLabel *neverAnswered_ = nullptr;
    QLabel *answeredToday_ = nullptr;
    QLabel *pass_ = nullptr;
    QLabel *newCards_ = nullptr;
    QLabel *recall_ = nullptr;
    QRadioButton *byDays_ = nullptr;
    QRadioButton *byMonths_ = nullptr;
    BarChart *forecast_ = nullptr;
    QLabel *totals_ = nullptr;
    QLabel *streak_ = nullptr;
    QWidget *recordCharts_ = nullptr;
    BarChart *rests_ = nullptr;
    HeatMap *calendar_ = nullptr;
    QTableWidget *hardest_ = nullptr;
    QLabel *saveResult_ = nullptr;
    SaveNameAsker askSaveName_;
    DeckFigures shown_;
};
