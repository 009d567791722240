#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// One line per work: the time of the dataset layer, the time of the same
// work on raw SQLite (each the median of its runs), their ratio (the median
// of the ratios of runs made in pairs, where the sides alternated), the
// growth of resident memory of each and, where counted, the instructions of
// each and their ratio. A benchmark is named "<work>/dataset" or "<work>/raw".
class RatioReporter {
 public:
  void Add(const std::string& benchmark, double milliseconds, double growthMegabytes);
  void AddInstructions(const std::string& benchmark, std::optional<long long> instructions);
  // The ratio of the work a dataset benchmark belongs to.
  void SetRatio(const std::string& benchmark, double ratio);
  void Print() const;

 private:
  struct Side {
    double milliseconds = 0;
    double growth = 0;
    long long instructions = 0;
  };
  struct Times {
    Side dataset;
    Side raw;
    double ratio = 0;
  };
  Times& timesOf(const std::string& benchmark, bool& dataset);

  std::vector<std::string> order_;
  std::map<std::string, Times> works_;
  bool counted_ = false;
};
