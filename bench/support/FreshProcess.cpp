#include "bench/support/FreshProcess.h"

#include "bench/support/BenchData.h"
#include "bench/support/RatioReporter.h"
#include "bench/support/ResidentMemory.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr char kOneVariable[] = "ZEMWIN_BENCH_ONE";
constexpr char kResultMark[] = "ZEMWIN_BENCH_RESULT";

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
  benchmark::RunSpecifiedBenchmarks(&reporter);
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
  RatioReporter ratios;
  const auto only = [&passed](const QString& name) {
    return passed + QStringList{QStringLiteral("--benchmark_filter=^%1$").arg(name)};
  };
  for (const QString& name : names) {
    // The data file as a program in use finds it, in the system's cache, for
    // both sides: the raw side reads what the work reads once, unmeasured,
    // before the dataset side, which runs first.
    if (const QString raw = QString(name).replace(u"/dataset/"_qs, u"/raw/"_qs); raw != name && names.contains(raw))
      Run(only(raw), environment);
    bool printed = false;
    for (const QString& line : Run(only(name), environment)) {
      const QStringList fields = line.split(u'\t');
      if (fields.size() != 5 || fields[0] != QLatin1String(kResultMark)) continue;
      std::printf("%-45s %12.3f ms %9.1f MB%s\n", qPrintable(fields[1]), fields[2].toDouble(), fields[3].toDouble(),
                  qPrintable(fields[4]));
      std::fflush(stdout);
      ratios.Add(fields[1].toStdString(), fields[2].toDouble(), fields[3].toDouble());
      printed = true;
    }
    if (!printed) std::printf("%-45s failed\n", qPrintable(name));
  }
  ratios.Print();
  return 0;
}

}  // namespace FreshProcess
