#pragma once

#include <map>
#include <string>
#include <vector>

// One line per work: the time of the dataset layer, the time of the same
// work on raw SQLite (each the median of its runs), their ratio, and the
// growth of resident memory of each. A benchmark is named "<work>/dataset" or "<work>/raw".
class RatioReporter {
 public:
  void Add(const std::string& benchmark, double milliseconds, double growthMegabytes);
  void Print() const;

 private:
  struct Side {
    double milliseconds = 0;
    double growth = 0;
  };
  struct Times {
    Side dataset;
    Side raw;
  };
  std::vector<std::string> order_;
  std::map<std::string, Times> works_;
};
