// Runs the Canvas benchmarks and, after the usual table, prints how each
// measured operation compares with its reference in the same run: the
// 8-to-32-bit conversions with a memcpy of the 32-bit frame, our GDI drawing
// calls with Cairo drawing the same shapes.  The ratios use CPU time: every
// case runs on one thread, and on a shared machine wall time mostly measures
// the neighbours.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "registry.h"

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                seconds_[run.benchmark_name()] = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        bool header = false;
        for (const auto& [name, seconds] : seconds_) {
            const std::string reference = ReferenceOf(name);
            const auto found = seconds_.find(reference);
            if (reference.empty() || found == seconds_.end()) {
                continue;
            }
            if (!header) {
                std::printf("\n%-40s %-40s %8s\n", "measured", "reference", "CPU time ratio");
                header = true;
            }
            std::printf("%-40s %-40s %7.2fx\n", name.c_str(), reference.c_str(), seconds / found->second);
        }
    }

private:
    // "convert.../WxH" against "memcpy32/WxH"; "gdi/what/WxH" against
    // "cairo/what/WxH".
    static std::string ReferenceOf(const std::string& name) {
        if (name.rfind("convert", 0) == 0) {
            return "memcpy32" + name.substr(name.rfind('/'));
        }
        if (name.rfind("gdi/", 0) == 0) {
            return "cairo/" + name.substr(4);
        }
        return {};
    }

    std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    bench::RegisterConversionBenchmarks();
    bench::RegisterCairoBenchmarks();
    bench::RegisterGdiBenchmarks();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
