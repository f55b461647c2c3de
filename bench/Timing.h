#pragma once
// What the benchmarks time with: a stopwatch on the performance counter, the
// median of repeated runs, a ratio that stays defined for a zero, and rounds
// of a program against its floor.

#include <windows.h>

#include <algorithm>
#include <vector>

namespace bench {

class Stopwatch {
public:
    Stopwatch() { ::QueryPerformanceCounter(&m_start); }
    double Milliseconds() const {
        LARGE_INTEGER now;
        LARGE_INTEGER frequency;
        ::QueryPerformanceCounter(&now);
        ::QueryPerformanceFrequency(&frequency);
        return 1000.0 * static_cast<double>(now.QuadPart - m_start.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER m_start;
};

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

inline double Ratio(double part, double whole) {
    return whole > 0 ? part / whole : 0;
}

// Rounds of a program and of its floor (the bare system calls it cannot do
// without), taken in turns so that both see the same load of a shared
// machine. The ratio is the median of the rounds' own ratios, and the spread
// the largest minus the smallest of them: how far one round may mislead.
class Rounds {
public:
    void Add(double program, double floor) {
        m_programs.push_back(program);
        m_floors.push_back(floor);
        m_ratios.push_back(bench::Ratio(program, floor));
    }

    double Program() const { return Median(m_programs); }
    double Floor() const { return Median(m_floors); }
    double Ratio() const { return Median(m_ratios); }
    double Spread() const {
        if (m_ratios.empty()) return 0;
        const auto [least, most] = std::minmax_element(m_ratios.begin(), m_ratios.end());
        return *most - *least;
    }
    // A round whose program or floor did not finish times negative.
    bool AllFinished() const {
        return std::none_of(m_programs.begin(), m_programs.end(), [](double ms) { return ms < 0; }) &&
               std::none_of(m_floors.begin(), m_floors.end(), [](double ms) { return ms < 0; });
    }

private:
    std::vector<double> m_programs;
    std::vector<double> m_floors;
    std::vector<double> m_ratios;
};

}  // namespace bench
