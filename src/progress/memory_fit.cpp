#include "progress/memory_fit.h"

#include <algorithm>
#include <cmath>

namespace fsrs {

namespace {

// The range each parameter is kept in while fitting (and accepted from the settings file).
struct Bound {
    double low, high;
};
constexpr Bound kBounds[kParameterCount] = {
    {0.01, 100},   {0.01, 100}, {0.01, 100}, {0.01, 100},  {1, 10},    {0.001, 4},    {0.001, 4},
    {0.001, 0.75}, {0, 4.5},    {0, 0.8},    {0.001, 3.5}, {0.001, 5}, {0.001, 0.25}, {0.001, 0.9},
    {0, 4},        {0, 1},      {1, 6},      {0, 2},       {0, 2}};

constexpr double kClampRecall = 1e-4;
constexpr int kSteps = 80;

Parameters Bounded(Parameters w) {
    for (int i = 0; i < kParameterCount; ++i)
        w[std::size_t(i)] = std::clamp(w[std::size_t(i)], kBounds[i].low, kBounds[i].high);
    return w;
}

} // namespace

void FitData::Add(const ReviewEntry &entry) {
    auto [found, added] = index_.try_emplace(entry.cardKey, cards_.size());
    if (added) {
        cards_.emplace_back();
        // The key's bits are a hash already: one key in five goes to the held-out part.
        cards_.back().heldOut = (entry.cardKey ^ (entry.cardKey >> 32)) % 5 == 0;
    }
    std::vector<Answer> &answers = cards_[found->second].answers;
    if (entry.kind == AnswerKind::TakenBack) {
        const auto last = std::find_if(answers.rbegin(), answers.rend(),
                                       [](const Answer &answer) { return answer.right; });
        if (last != answers.rend())
            answers.erase(std::next(last).base());
        return;
    }
    answers.push_back({entry.day, entry.kind == AnswerKind::Right});
}

qint64 FitData::Reviews(bool heldOut) const {
    qint64 count = 0;
    for (const Card &card : cards_) {
        if (card.heldOut != heldOut)
            continue;
        for (std::size_t i = 1; i < card.answers.size(); ++i)
            count += card.answers[i].day > card.answers[i - 1].day;
    }
    return count;
}

qint64 FitData::TrainReviews() const {
    return Reviews(false);
}

qint64 FitData::TestReviews() const {
    return Reviews(true);
}

FitScore FitData::Score(const Parameters &w, bool heldOut) const {
    FitScore score;
    double loss = 0, squares = 0;
    const Model model(w);
    for (const Card &card : cards_) {
        if (card.heldOut != heldOut || card.answers.empty())
            continue;
        Memory memory = model.First(card.answers[0].right ? Good : Again);
        for (std::size_t i = 1; i < card.answers.size(); ++i) {
            const Answer &answer = card.answers[i];
            const qint32 elapsed = answer.day - card.answers[i - 1].day;
            if (elapsed > 0) {
                const double p =
                    std::clamp(Recall(elapsed, memory.stability), kClampRecall, 1 - kClampRecall);
                const double y = answer.right ? 1 : 0;
                loss -= y * std::log(p) + (1 - y) * std::log(1 - p);
                squares += (p - y) * (p - y);
                ++score.reviews;
            }
            memory = model.Next(memory, elapsed, answer.right ? Good : Again);
        }
    }
    if (score.reviews > 0) {
        score.logLoss = loss / double(score.reviews);
        score.rmse = std::sqrt(squares / double(score.reviews));
    }
    return score;
}

std::optional<FitReport> FitParameters(const FitData &data, const Parameters &start,
                                       const FitProgress &progress) {
    FitReport report;
    report.trainReviews = data.TrainReviews();
    if (report.trainReviews < kMinFitReviews)
        return std::nullopt;
    // Adam on central differences, each parameter's step scaled by its range.
    Parameters w = Bounded(start);
    std::array<double, kParameterCount> m{}, v{};
    constexpr double kRate = 0.02, kBeta1 = 0.9, kBeta2 = 0.999, kEpsilon = 1e-8;
    for (int step = 1; step <= kSteps; ++step) {
        if (progress && !progress(double(step - 1) / kSteps))
            return std::nullopt;
        std::array<double, kParameterCount> gradient{};
        for (int i = 0; i < kParameterCount; ++i) {
            const double range = kBounds[i].high - kBounds[i].low;
            const double h = range * 1e-4;
            Parameters up = w, down = w;
            up[std::size_t(i)] = std::min(w[std::size_t(i)] + h, kBounds[i].high);
            down[std::size_t(i)] = std::max(w[std::size_t(i)] - h, kBounds[i].low);
            const double width = up[std::size_t(i)] - down[std::size_t(i)];
            if (width <= 0)
                continue;
            // In units of the range, so that one rate suits every parameter.
            gradient[std::size_t(i)] =
                (data.Score(up, false).logLoss - data.Score(down, false).logLoss) / width * range;
        }
        for (int i = 0; i < kParameterCount; ++i) {
            const std::size_t k = std::size_t(i);
            m[k] = kBeta1 * m[k] + (1 - kBeta1) * gradient[k];
            v[k] = kBeta2 * v[k] + (1 - kBeta2) * gradient[k] * gradient[k];
            const double mHat = m[k] / (1 - std::pow(kBeta1, step));
            const double vHat = v[k] / (1 - std::pow(kBeta2, step));
            const double range = kBounds[i].high - kBounds[i].low;
            w[k] -= kRate * range * mHat / (std::sqrt(vHat) + kEpsilon) / 10;
        }
        w = Bounded(w);
    }
    if (progress && !progress(1.0))
        return std::nullopt;
    report.parameters = w;
    report.defaults = data.Score(start, true);
    report.fitted = data.Score(w, true);
    return report;
}

QByteArray ParametersText(const Parameters &w) {
    QByteArrayList parts;
    for (double value : w)
        parts << QByteArray::number(value, 'g', 6);
    return parts.join(',');
}

std::optional<Parameters> ParametersFromText(const QByteArray &text) {
    const QByteArrayList parts = text.split(',');
    if (parts.size() != kParameterCount)
        return std::nullopt;
    Parameters w{};
    for (int i = 0; i < kParameterCount; ++i) {
        bool ok = false;
        const double value = parts[i].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(value) || value < kBounds[i].low || value > kBounds[i].high)
            return std::nullopt;
        w[std::size_t(i)] = value;
    }
    return w;
}

} // namespace fsrs
