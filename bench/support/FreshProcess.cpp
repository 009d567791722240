#include "bench/support/FreshProcess.h"

#include "bench/support/BenchData.h"
#include "bench/support/InstructionCounter.h"
#include "bench/support/RatioReporter.h"
#include "bench/support/ResidentMemory.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr char kOneVariable[] = "ZEMWIN_BENCH_ONE";
constexpr char kResultMark[] = "ZEMWIN_BENCH_RESULT";
constexpr char kRunsVariable[] = "ZEMWIN_BENCH_RUNS";

// Keeps the time of the one run, printing nothing of its own.
class OneRunReporter : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context&) override { return true; }
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      name = run.benchmark_name();
      failed = run.error_occurred;
      milliseconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
      for (const auto& [counter, value] : run.counters) {
        char shown[64];
        std::snprintf(shown, sizeof shown, " %s=%g", counter.c_str(), value.value);
        counters += shown;
      }
    }
  }
  std::string name;
  std::string counters;  // what the benchmark counted, for the reader
  bool failed = false;
  double milliseconds = 0;
};

QStringList Run(const QStringList& arguments, const QProcessEnvironment& environment) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process.start(QCoreApplication::applicationFilePath(), arguments);
  process.waitForFinished(-1);
  return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// Every argument but the filter and the listing, which each process is given.
QStringList Passed(const QStringList& arguments) {
  QStringList passed;
  for (const QString& argument : arguments.mid(1))
    if (!argument.startsWith(u"--benchmark_filter") && !argument.startsWith(u"--benchmark_list_tests"))
      passed.append(argument);
  return passed;
}

QString Filter(const QStringList& arguments) {
  for (const QString& argument : arguments)
    if (argument.startsWith(u"--benchmark_filter=")) return argument.section(u'=', 1);
  return QStringLiteral(".");
}

// What one run printed for the first process.
struct OneResult {
  std::string name;
  double milliseconds = 0;
  double growth = 0;
  std::string counters;
};

std::optional<OneResult> Result(const QStringList& lines) {
  for (const QString& line : lines) {
    const QStringList fields = line.split(u'\t');
    if (fields.size() != 5 || fields[0] != QLatin1String(kResultMark)) continue;
    return OneResult{fields[1].toStdString(), fields[2].toDouble(), fields[3].toDouble(), fields[4].toStdString()};
  }
  return std::nullopt;
}

// How many times each work runs, each time in a fresh process: at least
// three, so that no single noisy pass decides.
int Runs() { return std::max(3, qEnvironmentVariableIntValue(kRunsVariable)); }

struct Median {
  std::string name;
  double milliseconds = 0;  // of the median run
  double growth = 0;        // the median of the runs' growths
  std::string counters;     // of the median run
  double fastest = 0;
  double slowest = 0;
};

Median MedianOf(std::vector<OneResult> results) {
  std::sort(results.begin(), results.end(),
            [](const OneResult& a, const OneResult& b) { return a.milliseconds < b.milliseconds; });
  const OneResult& middle = results[results.size() / 2];
  std::vector<double> growths;
  for (const OneResult& result : results) growths.push_back(result.growth);
  std::nth_element(growths.begin(), growths.begin() + static_cast<std::ptrdiff_t>(growths.size() / 2), growths.end());
  return Median{middle.name,       middle.milliseconds,          growths[growths.size() / 2],
                middle.counters,   results.front().milliseconds, results.back().milliseconds};
}

}  // namespace

namespace FreshProcess {

bool IsOne(const QStringList& arguments) {
  return !qEnvironmentVariableIsEmpty(kOneVariable) ||
         std::any_of(arguments.begin(), arguments.end(),
                     [](const QString& argument) { return argument.startsWith(u"--benchmark_list_tests"); });
}

int RunOne() {
  OneRunReporter reporter;
  const bool peak = ResetPeakResident();
  const double before = ResidentMegabytes();
  {
    const InstructionCounter::Collecting collecting;
    benchmark::RunSpecifiedBenchmarks(&reporter);
  }
  const double growth = (peak ? PeakResidentMegabytes() : ResidentMegabytes()) - before;
  if (reporter.failed) return 1;
  if (reporter.name.empty()) return 0;  // only listed
  std::printf("%s\t%s\t%.6f\t%.3f\t%s\n", kResultMark, reporter.name.c_str(), reporter.milliseconds, growth,
              reporter.counters.c_str());
  std::fflush(stdout);
  return 0;
}

int RunEach(const QStringList& arguments) {
  BenchData& data = BenchData::Get();
  data.MakeAll();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QString::fromLatin1(BenchData::kRootVariable), data.Root());
  environment.insert(QString::fromLatin1(kOneVariable), QStringLiteral("1"));
  const QStringList passed = Passed(arguments);
  const QStringList names =
      Run(passed + QStringList{QStringLiteral("--benchmark_filter=") + Filter(arguments),
                               QStringLiteral("--benchmark_list_tests=true")},
          environment);
  const int runs = Runs();
  const InstructionCounter counter(environment);
  RatioReporter ratios;
  const auto only = [&passed](const QString& name) {
    return passed + QStringList{QStringLiteral("--benchmark_filter=^%1$").arg(name)};
  };
  const auto once = [&](const QString& name) { return Result(Run(only(name), environment)); };
  const auto report = [&](const QString& name, const std::vector<OneResult>& results) {
    const Median median = MedianOf(results);
    std::printf("%-45s %12.3f ms %9.1f MB  (%d runs: %.3f to %.3f ms)%s\n", median.name.c_str(), median.milliseconds,
                median.growth, runs, median.fastest, median.slowest, median.counters.c_str());
    std::fflush(stdout);
    ratios.Add(median.name, median.milliseconds, median.growth);
    if (counter.Available()) ratios.AddInstructions(median.name, counter.Count(only(name)));
  };
  for (const QString& name : names) {
    const QString raw = QString(name).replace(u"/dataset/"_qs, u"/raw/"_qs);
    const bool paired = raw != name && names.contains(raw);
    if (const QString dataset = QString(name).replace(u"/raw/"_qs, u"/dataset/"_qs);
        dataset != name && names.contains(dataset))
      continue;  // run beside its dataset side
    std::vector<OneResult> results, rawResults;
    std::vector<double> pairRatios;
    // The data file as a program in use finds it, in the system's cache, for
    // both sides: the raw side reads what the work reads once, unmeasured.
    if (paired) once(raw);
    // The two sides alternate, so that a change of the machine's load moves
    // both alike; the ratio is the median of each pair's.
    for (int run = 0; run < runs; ++run) {
      const std::optional<OneResult> result = once(name);
      if (result) results.push_back(*result);
      if (!paired) continue;
      const std::optional<OneResult> rawResult = once(raw);
      if (rawResult) rawResults.push_back(*rawResult);
      if (result && rawResult && rawResult->milliseconds > 0)
        pairRatios.push_back(result->milliseconds / rawResult->milliseconds);
    }
    if (results.size() != static_cast<std::size_t>(runs) ||
        (paired && rawResults.size() != static_cast<std::size_t>(runs))) {
      std::printf("%-45s failed\n", qPrintable(name));
      continue;
    }
    report(name, results);
    if (!paired) continue;
    report(raw, rawResults);
    std::nth_element(pairRatios.begin(), pairRatios.begin() + static_cast<std::ptrdiff_t>(pairRatios.size() / 2),
                     pairRatios.end());
    ratios.SetRatio(MedianOf(results).name, pairRatios[pairRatios.size() / 2]);
  }
  ratios.Print();
  return 0;
}

}  // namespace FreshProcess
