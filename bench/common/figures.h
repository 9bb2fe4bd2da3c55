// What every benchmark shares: rounds that interleave the contenders, so that a change in
// the machine's load falls on all of them alike; figures printed with their goal, whether
// it is met and their spread over the rounds. Each figure also goes out as one tagged line
// ("FIGURE\t...") that scripts/bench gathers into the table it ends with.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace orv::bench {

// Seconds taken by one call of `work`.
inline double seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Seconds per call of `work`, repeated until at least `least` seconds have passed: a run
// shorter than the clock's and the scheduler's noise says nothing.
inline double secondsPerCall(const std::function<void()>& work, double least = 0.1)
{
    long calls = 0;
    double total = 0;
    while (total < least) {
        total += seconds(work);
        ++calls;
    }
    return total / double(calls);
}

// Runs every contender once per round, in turn, for `rounds` rounds; sample[c][r] is what
// contender c returned in round r (a time, or any measure).
inline std::vector<std::vector<double>> interleave(int rounds, const std::vector<std::function<double()>>& contenders)
{
    std::vector<std::vector<double>> samples(contenders.size());
    for (int r = 0; r < rounds; ++r)
        for (size_t c = 0; c < contenders.size(); ++c)
            samples[c].push_back(contenders[c]());
    return samples;
}

struct Spread {
    double median = 0, low = 0, high = 0;
};

inline Spread spreadOf(std::vector<double> v)
{
    if (v.empty())
        return {};
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    const double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    return {median, v.front(), v.back()};
}

// The ratio of two contenders round by round (ours / peer): its median and its spread.
inline Spread ratioOf(const std::vector<double>& ours, const std::vector<double>& peer)
{
    std::vector<double> r;
    for (size_t i = 0; i < ours.size() && i < peer.size(); ++i)
        if (peer[i] > 0)
            r.push_back(ours[i] / peer[i]);
    return spreadOf(r);
}

// Prints one figure: "<bench>: <name> <value> (goal <goal>): met|NOT met, spread a-b".
// `format` is the printf format of the value and of the spread's ends. Returns `met`.
inline bool figure(const char* bench, const std::string& name, const Spread& s, const std::string& goal, bool met,
                   const char* format = "%.2f")
{
    char value[64], low[64], high[64];
    std::snprintf(value, sizeof value, format, s.median);
    std::snprintf(low, sizeof low, format, s.low);
    std::snprintf(high, sizeof high, format, s.high);
    const char* verdict = met ? "met" : "NOT met";
    std::printf("%s: %s %s (goal %s): %s, spread %s-%s\n", bench, name.c_str(), value, goal.c_str(), verdict, low, high);
    std::printf("FIGURE\t%s\t%s\t%s\t%s\t%s\t%s-%s\n", bench, name.c_str(), value, goal.c_str(), verdict, low, high);
    std::fflush(stdout);
    return met;
}

// A figure that is one number, not measured over rounds (a size, a count).
inline bool figure(const char* bench, const std::string& name, double value, const std::string& goal, bool met,
                   const char* format = "%.2f")
{
    return figure(bench, name, Spread{value, value, value}, goal, met, format);
}

// Goals of the common shapes.
inline bool atMost(const Spread& s, double goal) { return s.median <= goal; }

} // namespace orv::bench
