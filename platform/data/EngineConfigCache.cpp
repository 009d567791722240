#include "platform/data/EngineConfigCache.h"

#include "platform/Paths.h"

#include <QFileInfo>
#include <QMutexLocker>

namespace {

constexpr qint64 kSettledMilliseconds = 2000;

}  // namespace

EngineConfigCache::Stamp EngineConfigCache::stampOf(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return Stamp{};
  return Stamp{true, info.size(), info.lastModified().toUTC()};
}

std::optional<EngineConfigCache::Stamp> EngineConfigCache::settledStampOf(const QString& path) {
  Stamp stamp = stampOf(path);
  if (stamp.exists && stamp.modified.msecsTo(QDateTime::currentDateTimeUtc()) < kSettledMilliseconds)
    return std::nullopt;
  return stamp;
}

QString EngineConfigCache::Find(const QString& folder, const QString& name) {
  const QMutexLocker lock(&mutex_);
  const QString exact = Paths::Join(folder, name);
  if (QFileInfo::exists(exact)) return exact;
  const std::optional<Stamp> folderStamp =
      settledStampOf(Paths::Internal(folder).isEmpty() ? QStringLiteral(".") : Paths::Internal(folder));
  if (!folderStamp || folder != folder_ || name != name_ || folderStamp != folderStamp_) {
    found_ = Paths::FindFile(folder, name);
    folder_ = folder;
    name_ = name;
    folderStamp_ = folderStamp;
  }
  return found_;
}

IniFile EngineConfigCache::Read(const QString& path) {
  const QMutexLocker lock(&mutex_);
  const std::optional<Stamp> stamp = settledStampOf(path);
  if (!stamp || !file_ || path != path_ || stamp != fileStamp_) {
    file_.reset();
    file_.emplace(path);
    path_ = path;
    fileStamp_ = stamp;
  }
  return *file_;
}
