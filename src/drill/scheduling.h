#pragma once

#include "deck/card.h"
#include "deck/deck.h"

#include <QByteArray>

// The learning record of one card: when it is due and how it was answered.
bool IsDue(const TMondaiSet &card, qint32 today);
qint64 ComputeInterval(const TMondaiSet &card); // days; never negative
void MarkRight(TMondaiSet &card, qint32 today);
void MarkWrong(TMondaiSet &card);
bool UndoRight(TMondaiSet &card);
void ResetAllTimes(const CardOwnerList &cards);

// Texts of the record bar, in Shift-JIS bytes.
QByteArray FormatCount(qint64 n);
QByteArray RecordText(const TMondaiSet &card);
QByteArray DaysText(const TMondaiSet &card, bool doneFlag, qint32 today);
