#pragma once

#include <QDate>
#include <functional>

// Day numbers count whole local days from 1899-12-30 (day 0); 2004-01-01 is 37987.
using DayClock = std::function<qint32()>;

qint32 DayNumberOf(const QDate &date);
// Today's local date as a day number.
qint32 TodayNumber();
// A clock that always answers `day` (for tests).
DayClock FixedDayClock(qint32 day);
