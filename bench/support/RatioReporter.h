#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Prints the usual console lines, then one line per work: the time of the
// dataset layer, the time of the same work on raw SQLite, and their ratio.
// A benchmark is named "<work>/dataset" or "<work>/raw".
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  struct Times {
    double dataset = 0;
    double raw = 0;
  };
  std::vector<std::string> order_;
  std::map<std::string, Times> works_;
};
