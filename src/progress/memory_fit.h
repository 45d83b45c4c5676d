#pragma once

#include "progress/memory_model.h"
#include "progress/review_log.h"

#include <functional>
#include <optional>
#include <vector>

// Fitting the memory model's parameters to one learner's review log, on the program's own
// code. The answers are grouped per card (a take-back removes the できた it takes back); an
// answer counts as a prediction when it is the card's first of a day and the card had an
// answer on an earlier day: the model predicts recall, the answer says whether it came. One
// card in five (by its key) is held out: the fit never sees it, and the report compares the
// default and the fitted parameters on it.
namespace fsrs {

// Predictions the fit needs at least before it is offered.
constexpr qint64 kMinFitReviews = 1000;

struct FitScore {
    double logLoss = 0;
    double rmse = 0; // root mean square of recall predicted minus recalled (1 or 0)
    qint64 reviews = 0;
};

struct FitReport {
    FitScore defaults; // held-out fifth, default parameters
    FitScore fitted;   // held-out fifth, fitted parameters
    qint64 trainReviews = 0;
    Parameters parameters{};
    // The fitted parameters predict the held-out fifth better (lower log loss).
    bool Better() const { return fitted.logLoss < defaults.logLoss; }
};

// The answers of the log, per card, in order.
class FitData {
public:
    void Add(const ReviewEntry &entry);
    // Predictions in the training part and in the held-out part.
    qint64 TrainReviews() const;
    qint64 TestReviews() const;
    FitScore Score(const Parameters &w, bool heldOut) const;

private:
    struct Answer {
        qint32 day;
        bool right;
    };
    struct Card {
        std::vector<Answer> answers;
        bool heldOut = false;
    };
    qint64 Reviews(bool heldOut) const;
    std::vector<Card> cards_;
    std::unordered_map<quint64, std::size_t> index_;
};

// Called between steps with the share done (0..1); false stops the fit.
using FitProgress = std::function<bool(double done)>;

// Nothing when stopped, or when the training part holds fewer than kMinFitReviews predictions.
std::optional<FitReport> FitParameters(const FitData &data, const Parameters &start,
                                       const FitProgress &progress);

// "0.40255,1.18385,…" and back; nothing for a text that is not 19 numbers in range.
QByteArray ParametersText(const Parameters &w);
std::optional<Parameters> ParametersFromText(const QByteArray &text);

} // namespace fsrs
