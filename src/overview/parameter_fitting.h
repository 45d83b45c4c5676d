#pragma once

#include "progress/memory_fit.h"

#include <QString>

#include <optional>

class QWidget;

// 最適化 in the running program: reads the deck's review log and fits the memory model to it on
// a thread of its own, while a progress dialog (with キャンセル) keeps the window responsive.
class ParameterFitting {
public:
    enum class Outcome { Fitted, TooFewReviews, Cancelled };
    struct Result {
        Outcome outcome = Outcome::Cancelled;
        qint64 reviews = 0; // predictions the log holds for training
        fsrs::FitReport report;
    };

    static Result Run(const QString &logPath, QWidget *parent);
    // What the dialog shows of a result, in Japanese.
    static QString Describe(const Result &result);
};
