#include "drill/day_number.h"

namespace {

const QDate &DayZero() {
    static const QDate zero(1899, 12, 30);
    return zero;
}

} // namespace

qint32 DayNumberOf(const QDate &date) {
    return static_cast<qint32>(DayZero().daysTo(date));
}

qint32 TodayNumber() {
    return DayNumberOf(QDate::currentDate());
}

DayClock FixedDayClock(qint32 day) {
    return [day] { return day; };
}
