#pragma once

#include <QByteArray>
#include <QFile>

#include <unistd.h>

// The process's resident memory in megabytes, as the kernel counts it now.
inline double ResidentMegabytes() {
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly)) return 0;
  const QList<QByteArray> fields = statm.readAll().split(' ');
  if (fields.size() < 2) return 0;
  return fields[1].toDouble() * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The most resident memory since the last ResetPeakResident (since the
// start where the kernel cannot reset it), in megabytes.
inline double PeakResidentMegabytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
  return 0;
}

// Makes the peak start again from the memory resident now; false where the
// kernel does not let it.
inline bool ResetPeakResident() {
  QFile clear(QStringLiteral("/proc/self/clear_refs"));
  return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}
