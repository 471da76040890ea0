// Statistics of the figures the benchmarks print.
#pragma once

#include <algorithm>
#include <vector>

// The middle value, or the mean of the two middle ones; 0 for no values.
inline double Median(std::vector<double> Values) {
    if (Values.empty())
        return 0.0;
    std::sort(Values.begin(), Values.end());
    const std::size_t Mid = Values.size() / 2;
    return Values.size() % 2 ? Values[Mid] : (Values[Mid - 1] + Values[Mid]) / 2;
}
