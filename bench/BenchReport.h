#pragma once
// What every benchmark prints: one line per measurement with its target and
// PASS or SLOW, and the clock the measurements are taken with.

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

using BenchClock = std::chrono::steady_clock;

inline double MillisecondsSince(BenchClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(BenchClock::now() - start).count();
}

// Timings taken several times count by their best: on a busy host one run
// may vary by a quarter either way.
inline double Best(const std::vector<double>& runs) { return *std::min_element(runs.begin(), runs.end()); }

// "12.3 / 11.0 / 14.2 ms"
inline std::string RunsText(const std::vector<double>& runs)
{
    std::string text;
    for (double run : runs) {
        char number[32];
        std::snprintf(number, sizeof number, "%s%.1f", text.empty() ? "" : " / ", run);
        text += number;
    }
    return text + " ms";
}

inline void Report(const char* what, double value, double target, const char* unit = "ms")
{
    std::printf("%-58s %9.1f %s  (target <= %6.0f %s)  %s\n", what, value, unit, target, unit,
                value <= target ? "PASS" : "SLOW");
    std::fflush(stdout);
}

// The sizes named on the command line, or the one given when none are.
inline std::vector<std::size_t> SizesFromArguments(int argc, char** argv, std::size_t otherwise)
{
    std::vector<std::size_t> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(static_cast<std::size_t>(std::strtoul(argv[i], nullptr, 10)));
    if (sizes.empty())
        sizes.push_back(otherwise);
    return sizes;
}
