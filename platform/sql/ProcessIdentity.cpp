#include "platform/sql/ProcessIdentity.h"

#include <QCoreApplication>
#include <QFile>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace {

// Field 22 of /proc/<pid>/stat, the start time in clock ticks since boot;
// empty when the process does not exist or has ended (a zombie).
QString StartTimeOf(qint64 pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return {};
  const QByteArray line = stat.readAll();
  // The command name (field 2) may hold blanks; it ends at the last ')'.
  const qsizetype afterName = line.lastIndexOf(')');
  if (afterName < 0) return {};
  const QList<QByteArray> fields = line.mid(afterName + 2).split(' ');
  constexpr int kStartTimeAfterName = 22 - 3;
  if (fields.size() <= kStartTimeAfterName || fields[0] == "Z" || fields[0] == "X") return {};
  return QString::fromLatin1(fields[kStartTimeAfterName]);
}

}  // namespace

ProcessIdentity ProcessIdentity::Current() {
  const qint64 pid = qint64(::getpid());
  return {pid, StartTimeOf(pid)};
}

bool ProcessIdentity::IsAlive() const {
  if (pid <= 0) return false;
  if (QFile::exists(QStringLiteral("/proc/self/stat"))) {
    const QString now = StartTimeOf(pid);
    return !now.isEmpty() && now == started;
  }
  return ::kill(pid_t(pid), 0) == 0;
}
