#pragma once
// RatioReporter: Google Benchmark's console report plus the ratio of two
// benchmarks' mean real times per iteration, printed as the last line of the
// output ("NAME: X"). The mean is a benchmark's "mean" aggregate when
// repetitions produce one, else the average of its runs.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace kvd::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, so that a captured log ends in the plain
    // ratio line.
    RatioReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0) continue;
            const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean") {
                aggregate_means_[name] = seconds;
            } else if (run.run_type == Run::RT_Iteration) {
                run_sums_[name].seconds += seconds;
                run_sums_[name].runs += 1;
            }
        }
    }

    // Mean seconds per iteration; 0 when the benchmark did not run.
    double mean_seconds(const std::string& name) const {
        if (auto it = aggregate_means_.find(name); it != aggregate_means_.end()) return it->second;
        auto it = run_sums_.find(name);
        return it == run_sums_.end() ? 0 : it->second.seconds / it->second.runs;
    }

    // Prints "label: X" with X = mean(numerator) / mean(denominator); false
    // (and a message on stderr) when either did not run.
    bool print_ratio(const std::string& numerator, const std::string& denominator,
                     const char* label) const {
        const double top = mean_seconds(numerator);
        const double bottom = mean_seconds(denominator);
        if (top <= 0 || bottom <= 0) {
            std::fprintf(stderr, "%s: both benchmarks must run\n", label);
            return false;
        }
        std::fflush(stdout);
        std::printf("%s: %.2f\n", label, top / bottom);
        return true;
    }

private:
    struct Sum {
        double seconds = 0;
        int runs = 0;
    };
    std::map<std::string, double> aggregate_means_;
    std::map<std::string, Sum> run_sums_;
};

}  // namespace kvd::bench
