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

RatioReporter::Times& RatioReporter::timesOf(const std::string& benchmark, bool& dataset) {
  const auto [work, side] = WorkAndSide(benchmark);
  dataset = side == "dataset";
  if (!works_.count(work)) order_.push_back(work);
  return works_[work];
}

void RatioReporter::Add(const std::string& benchmark, double milliseconds, double growthMegabytes) {
  if (WorkAndSide(benchmark).second.empty()) return;
  bool dataset = false;
  Times& times = timesOf(benchmark, dataset);
  Side& side = dataset ? times.dataset : times.raw;
  side.milliseconds = milliseconds;
  side.growth = growthMegabytes;
}

void RatioReporter::AddInstructions(const std::string& benchmark, std::optional<long long> instructions) {
  if (WorkAndSide(benchmark).second.empty() || !instructions) return;
  bool dataset = false;
  Times& times = timesOf(benchmark, dataset);
  (dataset ? times.dataset : times.raw).instructions = *instructions;
  counted_ = true;
}

void RatioReporter::SetRatio(const std::string& benchmark, double ratio) {
  bool dataset = false;
  timesOf(benchmark, dataset).ratio = ratio;
}

void RatioReporter::Print() const {
  std::printf("\n%-32s %13s %11s %8s %13s %9s", "work", "dataset (ms)", "raw (ms)", "ratio", "dataset +MB", "raw +MB");
  if (counted_) std::printf(" %16s %16s %8s", "dataset (instr)", "raw (instr)", "ratio");
  std::printf("\n");
  for (const std::string& work : order_) {
    const Times& times = works_.at(work);
    const double dataset = times.dataset.milliseconds, raw = times.raw.milliseconds;
    const double ratio = times.ratio > 0 ? times.ratio : (dataset > 0 && raw > 0 ? dataset / raw : 0);
    std::printf("%-32s %13.4g %11.4g", work.c_str(), dataset, raw);
    if (ratio > 0) std::printf(" %7.1fx", ratio);
    else std::printf(" %8s", "-");
    std::printf(" %13.1f %9.1f", times.dataset.growth, times.raw.growth);
    if (counted_) {
      const long long a = times.dataset.instructions, b = times.raw.instructions;
      std::printf(" %16lld %16lld", a, b);
      if (a > 0 && b > 0) std::printf(" %7.1fx", static_cast<double>(a) / static_cast<double>(b));
      else std::printf(" %8s", "-");
    }
    std::printf("\n");
  }
  std::fflush(stdout);
}
