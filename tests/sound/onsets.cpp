#include "sound/onsets.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tipora::sound {

std::vector<qint64> findOnsets(std::span<const qint16> samples, int sampleRate,
                               const OnsetOptions& options) {
    const auto quietSamples = qint64(std::llround(options.quietMilliseconds * sampleRate / 1000.0));
    std::vector<qint64> onsets;
    // The recording may start in the middle of a click; that one is not an onset.
    qint64 quiet = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(int(samples[i])) >= options.threshold) {
            if (quiet >= quietSamples)
                onsets.push_back(qint64(i));
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    return onsets;
}

double percentile(std::vector<double> values, double share) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto rank = std::size_t(std::ceil(share * double(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

BeatStats beatStats(const std::vector<qint64>& onsets, int sampleRate, double periodMilliseconds) {
    BeatStats stats;
    stats.count = onsets.size();
    if (onsets.size() < 2)
        return stats;
    const double msPerSample = 1000.0 / sampleRate;
    const auto n = double(onsets.size());

    std::vector<double> intervalErrors;
    stats.shortestInterval = 1e300;
    for (std::size_t i = 1; i < onsets.size(); ++i) {
        const double interval = double(onsets[i] - onsets[i - 1]) * msPerSample;
        stats.longestInterval = std::max(stats.longestInterval, interval);
        stats.shortestInterval = std::min(stats.shortestInterval, interval);
        intervalErrors.push_back(std::abs(interval - periodMilliseconds));
    }
    stats.meanInterval = double(onsets.back() - onsets.front()) * msPerSample / (n - 1.0);
    stats.meanError = stats.meanInterval - periodMilliseconds;
    stats.p99IntervalError = percentile(intervalErrors, 0.99);

    // Least-squares line through (beat number, onset time): the even grid the beats keep.
    double sumX = 0, sumY = 0, sumXX = 0, sumXY = 0;
    for (std::size_t i = 0; i < onsets.size(); ++i) {
        const auto x = double(i);
        const double y = double(onsets[i] - onsets.front()) * msPerSample;
        sumX += x;
        sumY += y;
        sumXX += x * x;
        sumXY += x * y;
    }
    const double slope = (n * sumXY - sumX * sumY) / (n * sumXX - sumX * sumX);
    const double intercept = (sumY - slope * sumX) / n;
    std::vector<double> gridErrors;
    for (std::size_t i = 0; i < onsets.size(); ++i) {
        const double y = double(onsets[i] - onsets.front()) * msPerSample;
        gridErrors.push_back(std::abs(y - (intercept + slope * double(i))));
    }
    stats.p99GridError = percentile(gridErrors, 0.99);
    return stats;
}

} // namespace tipora::sound
