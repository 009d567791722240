#pragma once

#include "platform/sql/BackupFiles.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class Connection;
class OnceReadFile;

// A backup opened for its restore, its own bytes only (nothing that lies
// beside it), read once: its checksum is taken of the very bytes the copy
// is given, before the copy's last page, so that a copy whose checksum does
// not match is never kept.
class BackupSource {
 public:
  // Malformed where it cannot be read.
  explicit BackupSource(const QString& file);
  ~BackupSource();
  BackupSource(const BackupSource&) = delete;
  BackupSource& operator=(const BackupSource&) = delete;

  // Malformed, or Whole as far as can be told before its checksum.
  BackupCheck Form() const { return form_; }
  // Its page size, once of Whole form.
  qint64 PageSize() const { return pageSize_; }
  // Reads the rest: Whole or Damaged.
  BackupCheck Check();
  // Copies a backup of Whole form into the database, through the
  // database's own connection, which must not be inside a transaction:
  // Whole, or Damaged with the database left as it was.
  BackupCheck CopyInto(Connection& destination);
  // Its bytes, each block read again only as it was read for the check.
  OnceReadFile& Bytes() { return *reader_; }

 private:
  BackupCheck checksumVerdict();

  std::shared_ptr<Connection> connection_;
  OnceReadFile* reader_ = nullptr;
  BackupCheck form_ = BackupCheck::Malformed;
  qint64 pageSize_ = 0;
  std::function<std::optional<quint32>()> checksum_;  // none for a backup that carries none
};
