#include "platform/sql/BackupSource.h"

#include "platform/sql/BackupChecksum.h"
#include "platform/sql/BackupHeader.h"
#include "platform/sql/OnceReadFile.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <sqlite3.h>

namespace {

// What SQLite's full check finds of a file's structure.
bool StructureIsWhole(Connection& file) {
  try {
    const SqlRows check = file.QueryRows(QStringLiteral("PRAGMA integrity_check"));
    return check.rows.size() == 1 && check.rows[0].value(0).toString() == u"ok";
  } catch (const EDatabaseError&) {
    return false;
  }
}

// Ends a copy however it ends: one not done is undone in the destination.
class Copy {
 public:
  Copy(sqlite3* destination, sqlite3* source) : destination_(destination) {
    backup_ = sqlite3_backup_init(destination, "main", source, "main");
    if (!backup_) RaiseSqliteError(destination, sqlite3_errcode(destination));
  }
  ~Copy() {
    if (backup_) sqlite3_backup_finish(backup_);
  }
  Copy(const Copy&) = delete;
  Copy& operator=(const Copy&) = delete;

  // Copies that many pages more, all that are left with -1; whether all are.
  bool Step(int pages) {
    const int stepped = sqlite3_backup_step(backup_, pages);
    if (stepped == SQLITE_DONE) return true;
    if (stepped != SQLITE_OK) Fail(stepped);
    return false;
  }
  int Pages() const { return sqlite3_backup_pagecount(backup_); }
  void Finish() {
    const int finished = sqlite3_backup_finish(std::exchange(backup_, nullptr));
    if (finished != SQLITE_OK) RaiseSqliteError(destination_, finished);
  }

 private:
  [[noreturn]] void Fail(int code) {
    sqlite3_backup_finish(std::exchange(backup_, nullptr));
    RaiseSqliteError(destination_, code);
  }

  sqlite3* destination_;
  sqlite3_backup* backup_ = nullptr;
};

}  // namespace

BackupSource::BackupSource(const QString& file) {
  try {
    connection_ = OpenBackupFile(file, FileAccess::Read, OnceReadFile::VfsName());
  } catch (const EDatabaseError&) {
    return;
  }
  reader_ = OnceReadFile::Of(connection_->Handle());
  const QByteArray* first = reader_ ? reader_->FirstBlock() : nullptr;
  if (!first) return;
  const QByteArray header = first->left(BackupHeader::kSize);
  const std::optional<qint64> pageSize = BackupHeader::WholePageSize(header, reader_->Size());
  if (!pageSize) return;
  const quint32 mark = BackupHeader::Number(header, BackupHeader::kMarkAt);
  const quint32 carried = BackupHeader::Number(header, BackupHeader::kChecksumAt);
  if (mark == BackupHeader::kMark) {
    auto pages = std::make_shared<PageChecksum>();
    reader_->DigestWith([pages, size = *pageSize](qint64 at, const char* data, qsizetype length) {
      for (qint64 offset = 0; offset + size <= length; offset += size) pages->Take(quint32((at + offset) / size + 1), data + offset, size);
    });
    checksum_ = [pages] { return pages->Result(); };
  } else if (mark == BackupHeader::kSha256Mark && carried != 0) {
    auto bytes = std::make_shared<Sha256Checksum>();
    reader_->DigestWith([bytes](qint64 at, const char* data, qsizetype length) { bytes->Take(at, data, length); });
    checksum_ = [bytes] { return std::optional<quint32>(bytes->Result()); };
  } else if (mark != BackupHeader::kSha256Mark || !StructureIsWhole(*connection_)) {
    return;
  }
  pageSize_ = *pageSize;
  form_ = BackupCheck::Whole;
}

BackupSource::~BackupSource() = default;

BackupCheck BackupSource::checksumVerdict() {
  if (!checksum_) return BackupCheck::Whole;
  if (!reader_->ReadToEnd()) return BackupCheck::Damaged;
  // The checksum carried, as read with the rest.
  const quint32 carried = BackupHeader::Number(*reader_->FirstBlock(), BackupHeader::kChecksumAt);
  return checksum_() == carried ? BackupCheck::Whole : BackupCheck::Damaged;
}

BackupCheck BackupSource::Check() { return form_ == BackupCheck::Whole ? checksumVerdict() : form_; }

BackupCheck BackupSource::CopyInto(Connection& destination) {
  Copy copy(destination.Handle(), connection_->Handle());
  // The first step only counts the pages; the last page is copied, and the
  // copy kept, once the checksum has been read whole and matches.
  copy.Step(0);
  if (copy.Pages() > 1) copy.Step(copy.Pages() - 1);
  if (checksumVerdict() != BackupCheck::Whole) return BackupCheck::Damaged;
  if (!copy.Step(-1)) RaiseSqliteError(destination.Handle(), SQLITE_ERROR);
  copy.Finish();
  return BackupCheck::Whole;
}
