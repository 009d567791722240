#pragma once

#include "platform/IniFile.h"

#include <QDateTime>
#include <QMutex>
#include <QString>

#include <optional>

// The engine configuration file as last read. Every table that opens looks
// its alias up in it, so it is read again only when another file is named,
// or the file's size or time changed; the folder searched for it is listed
// again only when the folder's own time changed.
class EngineConfigCache {
 public:
  // The file named name in folder (matched without regard to case).
  QString Find(const QString& folder, const QString& name);
  // The settings of the file at path; a missing file reads as empty.
  IniFile Read(const QString& path);

 private:
  struct Stamp {
    bool exists = false;
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const Stamp&) const = default;
  };
  static Stamp stampOf(const QString& path);
  // File times are coarse: a stamp taken within a moment of a change could
  // stay the same through a second change, so only an older one is kept.
  static std::optional<Stamp> settledStampOf(const QString& path);

  QMutex mutex_;
  QString folder_, name_, found_;
  std::optional<Stamp> folderStamp_;
  QString path_;
  std::optional<Stamp> fileStamp_;
  std::optional<IniFile> file_;
};
