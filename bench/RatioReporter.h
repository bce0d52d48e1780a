// The benchmarks' reporter: prints Google Benchmark's table as usual, remembers each benchmark's time per
// iteration (the mean over repetitions when a benchmark repeats), and prints the
// "ratio NAME VALUE (target <= LIMIT)" lines that compare our code with its baseline of the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    // Real time compares what a user waits for; CPU time keeps other work on a shared machine from
    // skewing one side of a ratio.
    enum class Clock { Real, Cpu };
    // Without colours, so that each ratio line starts at the beginning of its line.
    explicit RatioReporter(Clock clock = Clock::Real) : ConsoleReporter(OO_Tabular), m_clock(clock) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (!mean && !single) continue;
            double time = m_clock == Clock::Real ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
            m_seconds[run.run_name.function_name] = time / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Prints the ratio of ours to baseline (benchmark function names); nothing when either did not run.
    void printRatio(const char* name, const std::string& ours, const std::string& baseline,
                    double target) const {
        char limit[48];
        std::snprintf(limit, sizeof limit, "target <= %g", target);
        printLine(name, ours, baseline, limit);
    }
    // The same for a figure that is only reported: "ratio NAME VALUE (reported, no target)".
    void printRatio(const char* name, const std::string& ours, const std::string& baseline) const {
        printLine(name, ours, baseline, "reported, no target");
    }

    // Prints the ratio of ours to a fixed time in seconds (a frame's budget); nothing when ours did
    // not run.
    void printRatioToTime(const char* name, const std::string& ours, double seconds, double target) const {
        auto a = m_seconds.find(ours);
        if (a == m_seconds.end() || seconds <= 0) return;
        std::printf("ratio %s %.3f (target <= %g)\n", name, a->second / seconds, target);
        std::fflush(stdout);
    }

  private:
    void printLine(const char* name, const std::string& ours, const std::string& baseline,
                   const char* note) const {
        auto a = m_seconds.find(ours);
        auto b = m_seconds.find(baseline);
        if (a == m_seconds.end() || b == m_seconds.end() || b->second <= 0) return;
        std::printf("ratio %s %.2f (%s)\n", name, a->second / b->second, note);
        std::fflush(stdout);
    }

    Clock m_clock;
    std::map<std::string, double> m_seconds;
};

}  // namespace bench
