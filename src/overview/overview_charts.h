#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

// Colours of the charts, taken from the widget's palette so that they read on light and dark
// desktops alike.
struct ChartColours {
    QColor text, faint, grid, bar, background;
    static ChartColours Of(const QWidget &widget);
    // `t` from 0 (background) to 1 (bar colour).
    QColor Shade(double t) const;
};

// A bar chart with a label under each bar; every text is measured from the font, so the chart
// keeps its proportions at any scaling.
class BarChart : public QWidget {
    Q_OBJECT
public:
    explicit BarChart(QWidget *parent = nullptr);

    // `labels[i]` names bar i; an empty label leaves the place under the bar free.
    void SetBars(std::vector<qint64> values, QStringList labels, QStringList tips);
    void SetTitle(const QString &title);
    // A logarithmic value axis (1, 10, 100, ...): a bar of one stands out beside a million.
    void SetLogScale(bool on);
    const std::vector<qint64> &Values() const { return values_; }
    // The drawn height of bar `i` in pixels at the chart's present size.
    int BarHeight(int i) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    QRect PlotArea() const;
    int BarAt(const QPoint &at) const;
    qint64 Max() const;
    // The value at the top of the axis and the values with a grid line.
    qint64 AxisTop() const;
    std::vector<qint64> AxisMarks() const;
    // Where `value` lies between the bottom (0) and the top (1) of the plot.
    double Fraction(qint64 value) const;

    QString title_;
    std::vector<qint64> values_;
    QStringList labels_;
    QStringList tips_;
    bool logScale_ = false;
};

// A year of days as a calendar: one column per week, Monday at the top.
class HeatMap : public QWidget {
    Q_OBJECT
public:
    explicit HeatMap(QWidget *parent = nullptr);

    // `counts.back()` is `lastDay` (a day number).
    void SetDays(std::vector<qint32> counts, qint32 lastDay);
    void SetTitle(const QString &title);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    int Cell() const;
    QPoint Origin() const;
    int DayIndexAt(const QPoint &at) const;
    int FirstColumnRow() const; // weekday row (0 Monday) of the first day

    QString title_;
    std::vector<qint32> counts_;
    qint32 lastDay_ = 0;
};
