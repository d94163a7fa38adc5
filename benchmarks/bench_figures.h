#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

namespace tipora::bench {

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One line per figure: its median and worst over the runs, and whether the median meets the
// target. A target of 0 is none: the figure is shown for what it is.
inline bool report(const char* what, const std::vector<double>& ms, double target) {
    const double mid = median(ms);
    const double worst = *std::max_element(ms.begin(), ms.end());
    std::printf("%-46s median %7.2f ms  max %7.2f ms  %zu runs", what, mid, worst, ms.size());
    if (target > 0) {
        std::printf("  target %.0f ms: %s", target, mid < target ? "ok" : "MISSED");
    }
    std::printf("\n");
    return target <= 0 || mid < target;
}

} // namespace tipora::bench
