#ifndef BENCHFIGURES_H
#define BENCHFIGURES_H

// The figures the benchmarks print: medians of runs, and numbers for tables.

#include <QString>

#include <algorithm>
#include <vector>

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline QString fixed(double value, int decimals = 1)
{
    return QString::number(value, 'f', decimals);
}

#endif // BENCHFIGURES_H
