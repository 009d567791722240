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

void RatioReporter::Add(const std::string& benchmark, double milliseconds, double growthMegabytes) {
  const auto [work, side] = WorkAndSide(benchmark);
  if (side.empty()) return;
  if (!works_.count(work)) order_.push_back(work);
  Times& times = works_[work];
  (side == "dataset" ? times.dataset : times.raw) = Side{milliseconds, growthMegabytes};
}

void RatioReporter::Print() const {
  std::printf("\n%-32s %13s %11s %8s %13s %9s\n", "work", "dataset (ms)", "raw (ms)", "ratio", "dataset +MB",
              "raw +MB");
  for (const std::string& work : order_) {
    const Times& times = works_.at(work);
    const double dataset = times.dataset.milliseconds, raw = times.raw.milliseconds;
    if (dataset > 0 && raw > 0)
      std::printf("%-32s %13.4g %11.4g %7.1fx %13.1f %9.1f\n", work.c_str(), dataset, raw, dataset / raw,
                  times.dataset.growth, times.raw.growth);
    else
      std::printf("%-32s %13.4g %11.4g %8s %13.1f %9.1f\n", work.c_str(), dataset, raw, "-", times.dataset.growth,
                  times.raw.growth);
  }
  std::fflush(stdout);
}
