#include "overview/overview_window.h"

#include "deck/sjis_codec.h"
#include "overview/overview_charts.h"

#include <QButtonGroup>
#include <QDate>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Figures read the same on every desktop: grouped digits as Japanese writes them.
QString Number(qint64 n) {
    static const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    return japanese.toString(n);
}

QString Cards(qint64 n) {
    return QStringLiteral("%1 枚").arg(Number(n));
}

QDate DateOfDay(qint64 day) {
    return QDate(1899, 12, 30).addDays(day);
}

// A rest as a reader thinks of it: days, months or years.
QString RestLength(qint64 days) {
    if (days < 60)
        return QStringLiteral("%1日").arg(days);
    if (days < 730)
        return QStringLiteral("%1か月").arg(days / 30);
    return QStringLiteral("%1年").arg(Number(days / 365));
}

// A card field as one line of text for the list.
QString OneLine(const QByteArray &stored) {
    QString text = sjis::ToDisplay(DisplayForm(stored)).text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    return text;
}

QLabel *ValueLabel(const char *name, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QTableWidgetItem *Item(const QString &text, Qt::Alignment align = Qt::AlignLeft) {
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(align | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

OverviewWindow::OverviewWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("OverviewWindow"));
    setWindowTitle(QStringLiteral("学習状況"));
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("ov_Pages"));
    pages_->addTab(CreateTodayPage(), QStringLiteral("今日と予定"));
    pages_->addTab(CreateRecordPage(), QStringLiteral("記録"));
    pages_->addTab(CreateHardestPage(), QStringLiteral("苦手なカード"));

    auto *save = new QPushButton(QStringLiteral("グラフを画像で保存(&S)..."), this);
    save->setObjectName(QStringLiteral("ov_SaveChart"));
    connect(save, &QPushButton::clicked, this, &OverviewWindow::ClickSaveChart);
    connect(pages_, &QTabWidget::currentChanged, save,
            [this, save] { save->setEnabled(ChartOfPage() != nullptr); });
    auto *close = new QPushButton(QStringLiteral("閉じる"), this);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    saveResult_ = ValueLabel("ov_SaveResult", this);
    saveResult_->setWordWrap(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(saveResult_, 1);
    buttons->addWidget(save);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);
    const int em = fontMetrics().height();
    resize(em * 40, em * 30);
}

QWidget *OverviewWindow::CreateTodayPage() {
    auto *page = new QWidget;
    auto *form = new QFormLayout;
    cards_ = ValueLabel("ov_Cards", page);
    dueNow_ = ValueLabel("ov_DueNow", page);
    overdue_ = ValueLabel("ov_Overdue", page);
    neverAnswered_ = ValueLabel("ov_NeverAnswered", page);
    answeredToday_ = ValueLabel("ov_AnsweredToday", page);
    pass_ = ValueLabel("ov_Pass", page);
    form->addRow(QStringLiteral("カード数:"), cards_);
    form->addRow(QStringLiteral("今すぐ出題:"), dueNow_);
    form->addRow(QStringLiteral("期限切れ:"), overdue_);
    form->addRow(QStringLiteral("未回答:"), neverAnswered_);
    form->addRow(QStringLiteral("今日の回答:"), answeredToday_);
    form->addRow(QStringLiteral("今回の出題:"), pass_);
    newCards_ = ValueLabel("ov_NewCards", page);
    recall_ = ValueLabel("ov_Recall", page);
    form->addRow(QStringLiteral("今日の新規:"), newCards_);
    form->addRow(QStringLiteral("記憶の予測:"), recall_);

    byDays_ = new QRadioButton(QStringLiteral("30日(&D)"), page);
    byDays_->setObjectName(QStringLiteral("ov_ByDays"));
    byDays_->setChecked(true);
    byMonths_ = new QRadioButton(QStringLiteral("12か月(&M)"), page);
    byMonths_->setObjectName(QStringLiteral("ov_ByMonths"));
    auto *group = new QButtonGroup(page);
    group->addButton(byDays_);
    group->addButton(byMonths_);
    connect(byDays_, &QRadioButton::toggled, this, &OverviewWindow::ShowForecast);
    auto *switches = new QHBoxLayout;
    switches->addWidget(new QLabel(QStringLiteral("出題予定:"), page));
    switches->addWidget(byDays_);
    switches->addWidget(byMonths_);
    switches->addStretch(1);

    forecast_ = new BarChart(page);
    forecast_->setObjectName(QStringLiteral("ov_Forecast"));
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addLayout(switches);
    layout->addWidget(forecast_, 1);
    return page;
}

QWidget *OverviewWindow::CreateRecordPage() {
    auto *page = new QWidget;
    auto *form = new QFormLayout;
    totals_ = ValueLabel("ov_Totals", page);
    streak_ = ValueLabel("ov_Streak", page);
    form->addRow(QStringLiteral("回答の合計:"), totals_);
    form->addRow(QStringLiteral("連続学習:"), streak_);
    recordCharts_ = new QWidget(page);
    rests_ = new BarChart(recordCharts_);
    rests_->setObjectName(QStringLiteral("ov_Rests"));
    rests_->SetTitle(QStringLiteral("次の出題までの日数（両軸とも対数目盛）"));
    rests_->SetLogScale(true);
    calendar_ = new HeatMap(recordCharts_);
    calendar_->setObjectName(QStringLiteral("ov_Calendar"));
    auto *charts = new QVBoxLayout(recordCharts_);
    charts->setContentsMargins(0, 0, 0, 0);
    charts->addWidget(rests_, 3);
    charts->addWidget(calendar_, 2);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(recordCharts_, 1);
    return page;
}

QWidget *OverviewWindow::CreateHardestPage() {
    auto *page = new QWidget;
    hardest_ = new QTableWidget(0, 6, page);
    hardest_->setObjectName(QStringLiteral("ov_Hardest"));
    hardest_->setHorizontalHeaderLabels({QStringLiteral("番号"), QStringLiteral("問題"),
                                         QStringLiteral("解答"), QStringLiteral("正解"),
                                         QStringLiteral("不正解"), QStringLiteral("正解率")});
    hardest_->verticalHeader()->hide();
    hardest_->setSelectionBehavior(QAbstractItemView::SelectRows);
    hardest_->setSelectionMode(QAbstractItemView::SingleSelection);
    hardest_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    hardest_->setWordWrap(false);
    QHeaderView *header = hardest_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    header->setSectionResizeMode(2, QHeaderView::Stretch);
    connect(hardest_, &QTableWidget::itemDoubleClicked, this, [this](QTableWidgetItem *item) {
        const qsizetype at = item->row();
        if (at >= 0 && at < qsizetype(shown_.hardest.size()))
            Q_EMIT CardChosen(shown_.hardest[std::size_t(at)].card);
    });
    auto *hint = new QLabel(QStringLiteral("不正解の多い順（同じなら正解率の低い順）に20枚まで。"
                                           "ダブルクリックで一覧表示のその行へ移ります。"),
                            page);
    hint->setWordWrap(true);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(hint);
    layout->addWidget(hardest_, 1);
    return page;
}

void OverviewWindow::ShowFigures(const DeckFigures &deck, const HistoryFigures &history, Pass pass,
                                 const QString &deckName) {
    setWindowTitle(deckName.isEmpty() ? QStringLiteral("学習状況")
                                      : QStringLiteral("学習状況 - %1").arg(deckName));
    cards_->setText(Cards(deck.cards));
    dueNow_->setText(Cards(deck.dueNow));
    overdue_->setText(deck.overdue == 0
                          ? Cards(0)
                          : QStringLiteral("%1（最長 %2 日、平均 %3 日）")
                                .arg(Cards(deck.overdue), Number(deck.overdueMostDays),
                                     QString::number(deck.OverdueMeanDays(), 'f', 1)));
    neverAnswered_->setText(Cards(deck.neverAnswered));
    answeredToday_->setText(
        QStringLiteral("正解 %1 ／ 不正解 %2")
            .arg(Number(history.today.RightKept()), Number(history.today.wrong)));
    pass_->setText(
        QStringLiteral("回答 %1 ／ 残り %2").arg(Number(pass.answered), Cards(pass.left)));
    totals_->setText(QStringLiteral("正解 %1 ／ 不正解 %2（正解率 %3 %）")
                         .arg(Number(deck.totalRight), Number(deck.totalWrong),
                              QString::number(deck.ShareRight() * 100.0, 'f', 1)));
    streak_->setText(QStringLiteral("%1 日").arg(Number(history.streak)));

    shown_ = deck;
    ShowForecast();

    // Rests: buckets up to the last one holding a card.
    int lastBucket = 1;
    for (int b = 1; b < DeckFigures::kRestBuckets; ++b)
        if (deck.rests[std::size_t(b)] > 0)
            lastBucket = b;
    std::vector<qint64> rests(deck.rests.begin() + 1, deck.rests.begin() + lastBucket + 1);
    QStringList labels, tips;
    for (int b = 1; b <= lastBucket; ++b) {
        const qint64 from = qint64(1) << (b - 1), to = (qint64(1) << b) - 1;
        labels << RestLength(from);
        tips << QStringLiteral("%1〜%2 日: %3")
                    .arg(Number(from), Number(to), Cards(deck.rests[std::size_t(b)]));
    }
    rests_->SetBars(std::move(rests), labels, tips);

    calendar_->SetTitle(QStringLiteral("この1年の回答数（連続 %1 日）").arg(history.streak));
    calendar_->SetDays(std::vector<qint32>(history.reviews.begin(), history.reviews.end()),
                       deck.today);
    ShowHardest(deck);
}

void OverviewWindow::ShowStudy(const Study &study) {
    newCards_->setText(
        study.newLimit > 0
            ? QStringLiteral("新規 %1/%2").arg(Number(study.newShown)).arg(study.newLimit)
            : QStringLiteral("制限なし"));
    const RecallFigures &r = study.recall;
    if (!study.model)
        recall_->setText(QStringLiteral("（記憶モデルを使うと表示します）"));
    else if (r.cards == 0)
        recall_->setText(QStringLiteral("まだ記憶の記録がありません"));
    else
        recall_->setText(QStringLiteral("今日思い出せる見込み 平均 %1 %（%2）／ 目標 %3 % 未満 %4")
                             .arg(QString::number(r.MeanRecall() * 100.0, 'f', 1), Cards(r.cards),
                                  QString::number(r.retention * 100.0, 'f', 0),
                                  Cards(r.belowRetention)));
}

void OverviewWindow::ShowForecast() {
    const DeckFigures &f = shown_;
    QStringList labels, tips;
    std::vector<qint64> values;
    if (byDays_->isChecked()) {
        forecast_->SetTitle(QStringLiteral("これから30日の出題予定（枚）"));
        for (int i = 0; i < DeckFigures::kForecastDays; ++i) {
            const QDate date = DateOfDay(qint64(f.today) + 1 + i);
            values.push_back(f.byDay[std::size_t(i)]);
            labels << date.toString(QStringLiteral("M/d"));
            tips << QStringLiteral("%1: %2").arg(date.toString(QStringLiteral("yyyy/M/d")),
                                                 Cards(f.byDay[std::size_t(i)]));
        }
    } else {
        forecast_->SetTitle(QStringLiteral("これから12か月の出題予定（枚）"));
        for (int m = 0; m < DeckFigures::kForecastMonths; ++m) {
            const QDate date = DateOfDay(MonthStart(f.today, m));
            values.push_back(f.byMonth[std::size_t(m)]);
            labels << QStringLiteral("%1月").arg(date.month());
            tips << QStringLiteral("%1: %2").arg(date.toString(QStringLiteral("yyyy/M")),
                                                 Cards(f.byMonth[std::size_t(m)]));
        }
    }
    forecast_->SetBars(std::move(values), labels, tips);
}

void OverviewWindow::ShowHardest(const DeckFigures &deck) {
    hardest_->setRowCount(int(deck.hardest.size()));
    const Qt::Alignment right = Qt::AlignRight;
    for (int row = 0; row < int(deck.hardest.size()); ++row) {
        const HardCard &hard = deck.hardest[std::size_t(row)];
        const TMondaiSet &card = *hard.card;
        const qint64 answers = qint64(card.Seikai) + card.Fuseikai;
        const double share = answers > 0 ? 100.0 * card.Seikai / double(answers) : 0.0;
        hardest_->setItem(row, 0, Item(Number(hard.index + 1), right));
        hardest_->setItem(row, 1, Item(OneLine(card.Mondai())));
        hardest_->setItem(row, 2, Item(OneLine(card.Kaitou())));
        hardest_->setItem(row, 3, Item(Number(card.Seikai), right));
        hardest_->setItem(row, 4, Item(Number(card.Fuseikai), right));
        hardest_->setItem(row, 5, Item(QString::number(share, 'f', 0) + u'%', right));
    }
}

QWidget *OverviewWindow::ChartOfPage() const {
    switch (pages_->currentIndex()) {
    case 0:
        return forecast_;
    case 1:
        return recordCharts_;
    default:
        return nullptr;
    }
}

bool OverviewWindow::SaveChart(const QString &path) {
    QWidget *chart = ChartOfPage();
    return chart && chart->grab().save(path, "PNG");
}

void OverviewWindow::ClickSaveChart() {
    if (!askSaveName_ || !ChartOfPage())
        return;
    const QString suggested = QStringLiteral("学習状況-%1.png")
                                  .arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    QString path = askSaveName_(this, suggested);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    saveResult_->setText(
        SaveChart(path)
            ? QStringLiteral("保存しました: %1").arg(QDir::toNativeSeparators(path))
            : QStringLiteral("保存できませんでした: %1").arg(QDir::toNativeSeparators(path)));
}
