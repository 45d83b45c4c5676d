#include "overview/overview_charts.h"

#include <QDate>
#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

QColor Mix(const QColor &a, const QColor &b, double t) {
    auto channel = [t](int x, int y) { return int(x + (y - x) * t + 0.5); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()));
}

// A round step for the value axis: 1, 2 or 5 times a power of ten, at least max / 4.
qint64 AxisStep(qint64 max) {
    qint64 step = 1;
    while (true) {
        for (qint64 m : {1, 2, 5})
            if (step * m * 4 >= max)
                return step * m;
        step *= 10;
    }
}

QDate DateOfDay(qint32 day) {
    return QDate(1899, 12, 30).addDays(day);
}

} // namespace

ChartColours ChartColours::Of(const QWidget &widget) {
    const QPalette &p = widget.palette();
    ChartColours c;
    c.text = p.color(QPalette::WindowText);
    c.background = p.color(QPalette::Base);
    c.faint = Mix(c.background, c.text, 0.55);
    c.grid = Mix(c.background, c.text, 0.18);
    // The selection colour stands out on either kind of palette; it is pulled a little towards
    // the text so that it never melts into a background of similar lightness.
    c.bar = Mix(p.color(QPalette::Highlight), c.text, 0.15);
    return c;
}

QColor ChartColours::Shade(double t) const {
    return Mix(Mix(background, text, 0.08), bar, std::clamp(t, 0.0, 1.0));
}

// ---------------------------------------------------------------- bar chart

BarChart::BarChart(QWidget *parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void BarChart::SetBars(std::vector<qint64> values, QStringList labels, QStringList tips) {
    values_ = std::move(values);
    labels_ = std::move(labels);
    tips_ = std::move(tips);
    update();
}

void BarChart::SetTitle(const QString &title) {
    title_ = title;
    update();
}

void BarChart::SetLogScale(bool on) {
    logScale_ = on;
    update();
}

qint64 BarChart::Max() const {
    return values_.empty() ? 0 : *std::max_element(values_.begin(), values_.end());
}

qint64 BarChart::AxisTop() const {
    const qint64 max = Max();
    if (logScale_) {
        qint64 top = 1;
        while (top < max)
            top *= 10;
        return top;
    }
    const qint64 step = AxisStep(max);
    return std::max<qint64>(step, (max + step - 1) / step * step);
}

std::vector<qint64> BarChart::AxisMarks() const {
    std::vector<qint64> marks{0};
    const qint64 top = AxisTop();
    if (logScale_) {
        for (qint64 v = 1; v <= top; v *= 10)
            marks.push_back(v);
        return marks;
    }
    const qint64 step = AxisStep(Max());
    for (qint64 v = step; v <= top; v += step)
        marks.push_back(v);
    return marks;
}

double BarChart::Fraction(qint64 value) const {
    const qint64 top = AxisTop();
    if (value <= 0 || top <= 0)
        return 0.0;
    // log(1 + v) keeps 0 at the bottom and gives 1 a tenth or more of a decade's height.
    if (logScale_)
        return std::log10(1.0 + double(value)) / std::log10(1.0 + double(top));
    return double(value) / double(top);
}

int BarChart::BarHeight(int i) const {
    if (i < 0 || i >= int(values_.size()))
        return 0;
    const QRect plot = PlotArea();
    const double f = Fraction(values_[std::size_t(i)]);
    // A bar of at least one stays visible however tall the others are.
    return f > 0.0 ? std::max(2, int(f * plot.height())) : 0;
}

QSize BarChart::sizeHint() const {
    const int em = fontMetrics().height();
    return {em * 32, em * 14};
}

QSize BarChart::minimumSizeHint() const {
    const int em = fontMetrics().height();
    return {em * 16, em * 8};
}

QRect BarChart::PlotArea() const {
    const QFontMetrics fm = fontMetrics();
    const int em = fm.height();
    const int axisWidth = fm.horizontalAdvance(QLocale().toString(AxisTop())) + em / 2;
    return QRect(QPoint(axisWidth + em / 2, em * 2), QPoint(width() - em, height() - em * 2));
}

void BarChart::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const ChartColours c = ChartColours::Of(*this);
    p.fillRect(rect(), c.background);
    const QFontMetrics fm = fontMetrics();
    const int em = fm.height();
    p.setPen(c.text);
    p.drawText(QRect(0, 0, width(), em * 3 / 2), Qt::AlignCenter, title_);
    const QRect plot = PlotArea();
    if (values_.empty() || plot.width() <= 0 || plot.height() <= 0)
        return;
    // Value axis: a light line per step.
    for (const qint64 v : AxisMarks()) {
        const int y = plot.bottom() - int(Fraction(v) * plot.height());
        p.setPen(c.grid);
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(c.faint);
        p.drawText(QRect(0, y - em / 2, plot.left() - em / 3, em),
                   Qt::AlignRight | Qt::AlignVCenter, QLocale().toString(v));
    }
    const int n = int(values_.size());
    const double slot = double(plot.width()) / n;
    const int gap = slot >= 6 ? std::max(1, int(slot / 6)) : 0;
    // Labels are thinned out until they no longer overlap.
    int widest = 0;
    for (const QString &label : labels_)
        widest = std::max(widest, fm.horizontalAdvance(label));
    const int every = std::max(1, int((widest + em / 2) / std::max(1.0, slot)) + 1);
    for (int i = 0; i < n; ++i) {
        const int x0 = plot.left() + int(i * slot) + gap / 2;
        const int x1 = plot.left() + int((i + 1) * slot) - (gap + 1) / 2;
        const int h = BarHeight(i);
        if (h > 0)
            p.fillRect(QRect(QPoint(x0, plot.bottom() - h), QPoint(x1, plot.bottom())), c.bar);
        if (i < labels_.size() && !labels_[i].isEmpty() && i % every == 0) {
            p.setPen(c.text);
            const int mid = (x0 + x1) / 2;
            p.drawText(QRect(mid - widest, plot.bottom() + em / 4, widest * 2, em),
                       Qt::AlignHCenter | Qt::AlignTop, labels_[i]);
        }
    }
    p.setPen(c.faint);
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
}

int BarChart::BarAt(const QPoint &at) const {
    const QRect plot = PlotArea();
    if (values_.empty() || !plot.adjusted(0, 0, 0, fontMetrics().height()).contains(at))
        return -1;
    const int i = int(double(at.x() - plot.left()) / plot.width() * int(values_.size()));
    return std::clamp(i, 0, int(values_.size()) - 1);
}

bool BarChart::event(QEvent *event) {
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int i = BarAt(help->pos());
        if (i >= 0 && i < tips_.size())
            QToolTip::showText(help->globalPos(), tips_[i], this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

// ---------------------------------------------------------------- heat map

HeatMap::HeatMap(QWidget *parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void HeatMap::SetDays(std::vector<qint32> counts, qint32 lastDay) {
    counts_ = std::move(counts);
    lastDay_ = lastDay;
    update();
}

void HeatMap::SetTitle(const QString &title) {
    title_ = title;
    update();
}

int HeatMap::FirstColumnRow() const {
    const qint32 first = lastDay_ - qint32(counts_.size()) + 1;
    return DateOfDay(first).dayOfWeek() - 1;
}

int HeatMap::Cell() const {
    const int em = fontMetrics().height();
    const int columns = (FirstColumnRow() + int(counts_.size()) + 6) / 7;
    const int byWidth = (width() - Origin().x() - em / 2) / std::max(columns, 1);
    const int byHeight = (height() - Origin().y() - em / 2) / 7;
    return std::max(3, std::min({byWidth, byHeight, em}));
}

QPoint HeatMap::Origin() const {
    const QFontMetrics fm = fontMetrics();
    return {fm.horizontalAdvance(QStringLiteral("月")) + fm.height(), fm.height() * 3};
}

QSize HeatMap::sizeHint() const {
    const int em = fontMetrics().height();
    return {Origin().x() + 54 * em * 2 / 3 + em, Origin().y() + 7 * em * 2 / 3 + em};
}

QSize HeatMap::minimumSizeHint() const {
    const int em = fontMetrics().height();
    return {Origin().x() + 54 * 4 + em, Origin().y() + 7 * 4 + em};
}

void HeatMap::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const ChartColours c = ChartColours::Of(*this);
    p.fillRect(rect(), c.background);
    const QFontMetrics fm = fontMetrics();
    const int em = fm.height();
    p.setPen(c.text);
    p.drawText(QRect(0, 0, width(), em * 3 / 2), Qt::AlignCenter, title_);
    if (counts_.empty())
        return;
    const int cell = Cell();
    const QPoint origin = Origin();
    const int gap = cell >= 8 ? 1 + cell / 12 : 0;
    const qint32 most = *std::max_element(counts_.begin(), counts_.end());
    const int shift = FirstColumnRow();
    const qint32 first = lastDay_ - qint32(counts_.size()) + 1;
    // Weekday names beside Monday, Wednesday and Friday, centred on their rows in a line of
    // their own height: a row is often lower than the text.
    const QString weekdays[] = {QStringLiteral("月"), QStringLiteral("水"), QStringLiteral("金")};
    p.setPen(c.faint);
    for (int k = 0; k < 3; ++k)
        p.drawText(QRect(0, origin.y() + 2 * k * cell + cell / 2 - em / 2, origin.x() - em / 3, em),
                   Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip, weekdays[k]);
    int lastLabelEnd = -1;
    for (int i = 0; i < int(counts_.size()); ++i) {
        const int slot = shift + i;
        const int x = origin.x() + slot / 7 * cell, y = origin.y() + slot % 7 * cell;
        const qint32 n = counts_[std::size_t(i)];
        const double t = n <= 0 || most <= 0 ? 0.0 : 0.25 + 0.75 * double(n) / double(most);
        p.fillRect(QRect(x, y, cell - gap, cell - gap), c.Shade(t));
        // The month's name over the column holding its first day.
        const QDate date = DateOfDay(first + i);
        if (date.day() == 1 && x > lastLabelEnd) {
            const QString label = QStringLiteral("%1月").arg(date.month());
            p.setPen(c.faint);
            p.drawText(QPoint(x, origin.y() - em / 3), label);
            lastLabelEnd = x + fm.horizontalAdvance(label) + em / 3;
        }
    }
}

int HeatMap::DayIndexAt(const QPoint &at) const {
    const int cell = Cell();
    const QPoint rel = at - Origin();
    if (rel.x() < 0 || rel.y() < 0 || rel.y() >= 7 * cell)
        return -1;
    const int i = rel.x() / cell * 7 + rel.y() / cell - FirstColumnRow();
    return i >= 0 && i < int(counts_.size()) ? i : -1;
}

bool HeatMap::event(QEvent *event) {
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int i = DayIndexAt(help->pos());
        if (i >= 0) {
            const QDate date = DateOfDay(lastDay_ - qint32(counts_.size()) + 1 + i);
            QToolTip::showText(help->globalPos(),
                               QStringLiteral("%1: %2 回")
                                   .arg(date.toString(QStringLiteral("yyyy/MM/dd")))
                                   .arg(counts_[std::size_t(i)]),
                               this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}
