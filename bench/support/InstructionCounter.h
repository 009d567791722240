#pragma once

#include <QProcessEnvironment>
#include <QStringList>

#include <optional>

// The instructions a benchmark's work takes, counted by callgrind, which do
// not move with the machine's load as times do. Asked for with
// ZEMWIN_BENCH_INSTRUCTIONS (scripts/bench.sh --instructions) where
// valgrind is installed.
class InstructionCounter {
 public:
  explicit InstructionCounter(QProcessEnvironment environment);

  bool Available() const { return !valgrind_.isEmpty(); }
  // Runs the program once more with the arguments under callgrind; what
  // the work itself took, without the process's start and end.
  std::optional<qint64> Count(const QStringList& arguments) const;

  // Inside a benchmark's own process: counts what runs while it lives,
  // when the process runs under callgrind (nothing otherwise).
  class Collecting {
   public:
    Collecting();
    ~Collecting();
    Collecting(const Collecting&) = delete;
    Collecting& operator=(const Collecting&) = delete;
  };

 private:
  QProcessEnvironment environment_;
  QString valgrind_;
};
