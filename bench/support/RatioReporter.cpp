#include "bench/support/RatioReporter.h"

#include <cstdio>

namespace {

// "Walk/dataset/iterations:1" -> {"Walk", "dataset"}
std::pair<std::string, std::string> WorkAndSide(const std::string& name) {
  for (const char* side : {"dataset", "raw"}) {
    const std::string marker = std::string("/") + side;
    const auto at = name.find(marker);
    if (at != std::string::npos) return {name.substr(0, at), side};
  }
  return {name, std::string()};
}

}  // namespace

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
    const auto [work, side] = WorkAndSide(run.benchmark_name());
    if (side.empty()) continue;
    if (!works_.count(work)) order_.push_back(work);
    Times& times = works_[work];
    (side == "dataset" ? times.dataset : times.raw) =
        run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
  }
}

void RatioReporter::Finalize() {
  ConsoleReporter::Finalize();
  std::printf("\n%-40s %14s %14s %10s\n", "work", "dataset (ms)", "raw (ms)", "ratio");
  for (const std::string& work : order_) {
    const Times& times = works_[work];
    if (times.dataset > 0 && times.raw > 0)
      std::printf("%-40s %14.4g %14.4g %9.1fx\n", work.c_str(), times.dataset, times.raw, times.dataset / times.raw);
    else
      std::printf("%-40s %14.4g %14.4g %10s\n", work.c_str(), times.dataset, times.raw, "-");
  }
  std::fflush(stdout);
}
