#include "tools/texel_fit.h"

#include <algorithm>
#include <cmath>

namespace tools {

namespace {

double sampleError(float result, int score, double k) {
    const double d = result - winProbability(k, score);
    return d * d;
}

}  // namespace

double winProbability(double k, int score) { return 1.0 / (1.0 + std::exp(-k * score)); }

double meanSquaredError(std::span<const float> results, std::span<const int> scores, double k) {
    if (results.empty()) return 0;
    double sum = 0;
    for (std::size_t i = 0; i < results.size(); ++i) sum += sampleError(results[i], scores[i], k);
    return sum / static_cast<double>(results.size());
}

double chooseScale(std::span<const float> results, std::span<const int> scores) {
    // Golden-section search on log k: the error is smooth and has one
    // minimum in k for any sensible set.
    const double g = (std::sqrt(5.0) - 1) / 2;
    double a = std::log(1e-5), b = std::log(1e-1);
    const auto f = [&](double x) { return meanSquaredError(results, scores, std::exp(x)); };
    double c = b - g * (b - a), d = a + g * (b - a);
    double fc = f(c), fd = f(d);
    for (int i = 0; i < 60; ++i) {
        if (fc < fd) {
            b = d;
            d = c;
            fd = fc;
            c = b - g * (b - a);
            fc = f(c);
        } else {
            a = c;
            c = d;
            fc = fd;
            d = a + g * (b - a);
            fd = f(d);
        }
    }
    return std::exp((a + b) / 2);
}

double fitParameters(std::span<FitParameter> params, std::span<const float> results, std::vector<int>& scores,
                     const std::function<int(std::uint32_t)>& score, double k, const FitOptions& options) {
    const std::size_t n = results.size();
    std::vector<std::uint32_t> all(n);
    for (std::size_t i = 0; i < n; ++i) all[i] = static_cast<std::uint32_t>(i);
    std::vector<int> trial;

    // The change of the summed error if p took value v; the trial scores are
    // left in `trial`, sample for sample of the parameter's list.
    const auto tryValue = [&](FitParameter& p, int v) {
        const std::vector<std::uint32_t>& list = p.samples.empty() ? all : p.samples;
        p.apply(v);
        trial.resize(list.size());
        double delta = 0;
        for (std::size_t j = 0; j < list.size(); ++j) {
            const std::uint32_t i = list[j];
            trial[j] = score(i);
            if (trial[j] != scores[i])
                delta += sampleError(results[i], trial[j], k) - sampleError(results[i], scores[i], k);
        }
        return delta;
    };
    const auto keep = [&](FitParameter& p, int v) {
        const std::vector<std::uint32_t>& list = p.samples.empty() ? all : p.samples;
        for (std::size_t j = 0; j < list.size(); ++j) scores[list[j]] = trial[j];
        p.value = v;
    };

    for (int sweep = 1; sweep <= options.maxSweeps; ++sweep) {
        int moved = 0;
        bool stepsAtOne = true;
        for (FitParameter& p : params) {
            bool improved = false;
            for (int direction : {+1, -1}) {
                // Keep going while each step helps; a tiny gain is noise of
                // the sums and does not count.
                for (;;) {
                    const int v = std::clamp(p.value + direction * p.step, p.low, p.high);
                    if (v == p.value) break;
                    if (tryValue(p, v) < -1e-9) {
                        keep(p, v);
                        improved = true;
                    } else {
                        p.apply(p.value);
                        break;
                    }
                }
                if (improved) break;
            }
            if (improved)
                ++moved;
            else if (p.step > 1)
                p.step /= 2;
            stepsAtOne = stepsAtOne && p.step == 1;
        }
        const double error = meanSquaredError(results, scores, k);
        if (options.progress) options.progress(sweep, error, moved);
        if (moved == 0 && stepsAtOne) break;
    }
    return meanSquaredError(results, scores, k);
}

}  // namespace tools
