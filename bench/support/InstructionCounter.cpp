#include "bench/support/InstructionCounter.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_ZERO_STATS
#define CALLGRIND_TOGGLE_COLLECT
#endif

InstructionCounter::InstructionCounter(QProcessEnvironment environment) : environment_(std::move(environment)) {
  if (!qEnvironmentVariableIsEmpty("ZEMWIN_BENCH_INSTRUCTIONS"))
    valgrind_ = QStandardPaths::findExecutable(QStringLiteral("valgrind"));
}

std::optional<qint64> InstructionCounter::Count(const QStringList& arguments) const {
  QTemporaryDir folder;
  if (!Available() || !folder.isValid()) return std::nullopt;
  const QString output = folder.filePath(QStringLiteral("callgrind.out"));
  QProcess process;
  process.setProcessEnvironment(environment_);
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(valgrind_, QStringList{QStringLiteral("--tool=callgrind"), QStringLiteral("--quiet"),
                                       QStringLiteral("--collect-atstart=no"),
                                       QStringLiteral("--callgrind-out-file=") + output,
                                       QCoreApplication::applicationFilePath()} +
                               arguments);
  if (!process.waitForFinished(-1) || process.exitCode() != 0) return std::nullopt;
  QFile counts(output);
  if (!counts.open(QIODevice::ReadOnly)) return std::nullopt;
  // "summary: N" (or "totals: N") holds the instructions collected.
  while (!counts.atEnd()) {
    const QByteArray line = counts.readLine().trimmed();
    for (const QByteArray mark : {QByteArray("summary: "), QByteArray("totals: ")})
      if (line.startsWith(mark)) return line.mid(mark.size()).split(' ').first().toLongLong();
  }
  return std::nullopt;
}

InstructionCounter::Collecting::Collecting() {
  CALLGRIND_ZERO_STATS;
  CALLGRIND_TOGGLE_COLLECT;
}

InstructionCounter::Collecting::~Collecting() { CALLGRIND_TOGGLE_COLLECT; }
