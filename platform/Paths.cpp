#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Paths {

QString Internal(const QString& path) {
  QString internal = path;
  internal.replace(u'\\', u'/');
  return internal;
}

bool HasSeparator(const QString& text) { return text.contains(u'\\') || text.contains(u'/'); }

QString Join(const QString& folder, const QString& name) {
  const QString base = Internal(folder);
  if (base.isEmpty()) return name;
  return base.endsWith(u'/') ? base + name : base + u'/' + name;
}

QString FindFile(const QString& folder, const QString& name) {
  const QString exact = Join(folder, name);
  if (QFileInfo::exists(exact)) return exact;
  const QDir dir(Internal(folder).isEmpty() ? QStringLiteral(".") : Internal(folder));
  const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& entry : entries)
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return Join(folder, entry);
  return exact;
}

QString ExecutableName(const QString& startedAs) {
  const QString name = QFileInfo(Internal(startedAs)).fileName().toUpper();
  return name.contains(u'.') ? name : name + QStringLiteral(".EXE");
}

QString ExecutableName() {
  const QStringList arguments = QCoreApplication::arguments();
  return ExecutableName(arguments.isEmpty() ? QCoreApplication::applicationFilePath() : arguments.first());
}

}  // namespace Paths
