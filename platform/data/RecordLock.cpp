#include "platform/data/RecordLock.h"

#include "platform/sqlite/DatabaseError.h"

#include <QCryptographicHash>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <map>
#include <set>

#include <fcntl.h>
#include <unistd.h>

class RecordLock::SideFile {
 public:
  SideFile(int descriptor, QString path) : descriptor_(descriptor), path_(std::move(path)) {}
  ~SideFile();
  SideFile(const SideFile&) = delete;
  SideFile& operator=(const SideFile&) = delete;

  bool Lock(qint64 offset);
  void Unlock(qint64 offset);
  std::set<qint64>& Held() { return held_; }

 private:
  int descriptor_;
  QString path_;
  std::set<qint64> held_;
};

namespace {

// By the side file's path; a side file is open while one of its locks lives.
std::map<QString, std::weak_ptr<RecordLock::SideFile>>& openSideFiles() {
  static auto* files = new std::map<QString, std::weak_ptr<RecordLock::SideFile>>;
  return *files;
}

QString systemError(const QString& path) {
  return path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

struct flock byteAt(short type, qint64 offset) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = offset;
  lock.l_len = 1;
  return lock;
}

// Folded, so that texts only a case-insensitive collation takes as equal
// are one; the common keys (digits, plain letters) folded in place.
QByteArray foldedUtf8(const QString& text) {
  QByteArray bytes(text.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c >= 0x80) return text.toCaseFolded().toUtf8();
    bytes[i] = static_cast<char>(c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c);
  }
  return bytes;
}

// The same in every process: a hash that no process seeds, of the table's
// and the key's folded texts.
qint64 offsetOf(const QByteArray& table, const QString& keyText) {
  QCryptographicHash hash(QCryptographicHash::Sha1);
  hash.addData(table);
  hash.addData(foldedUtf8(keyText));
  const QByteArrayView digest = hash.resultView();
  quint64 value = 0;
  for (int i = 0; i < 8; ++i) value = (value << 8) | static_cast<unsigned char>(digest[i]);
  return static_cast<qint64>(value >> 2);  // far from the largest offset a lock can reach
}

std::shared_ptr<RecordLock::SideFile> sideFileOf(const QString& databaseFile) {
  const QString path = databaseFile + QStringLiteral("-locks");
  auto& files = openSideFiles();
  if (auto open = files[path].lock()) return open;
  const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (descriptor < 0) throw EDatabaseError(EngineText::TableIsReadOnly, systemError(path));
  auto file = std::make_shared<RecordLock::SideFile>(descriptor, path);
  files[path] = file;
  return file;
}

}  // namespace

RecordLock::SideFile::~SideFile() {
  ::close(descriptor_);
  auto& files = openSideFiles();
  const auto entry = files.find(path_);
  if (entry != files.end() && entry->second.expired()) files.erase(entry);
}

bool RecordLock::SideFile::Lock(qint64 offset) {
  struct flock lock = byteAt(F_WRLCK, offset);
  if (::fcntl(descriptor_, F_OFD_SETLK, &lock) == 0) return true;
  if (errno == EAGAIN || errno == EACCES) return false;
  throw EDatabaseError(EngineText::RecordLocked, systemError(path_));
}

void RecordLock::SideFile::Unlock(qint64 offset) {
  struct flock lock = byteAt(F_UNLCK, offset);
  ::fcntl(descriptor_, F_OFD_SETLK, &lock);
}

RecordLock::TableLocks::TableLocks(const QString& databaseFile, const QString& tableName)
    : file_(sideFileOf(databaseFile)), table_(foldedUtf8(tableName) + '\x1f') {}

std::unique_ptr<RecordLock> RecordLock::TableLocks::Acquire(const QString& keyText) const {
  const qint64 offset = offsetOf(table_, keyText);
  if (file_->Held().count(offset)) throw EDatabaseError(EngineText::RecordLockedBySession);
  if (!file_->Lock(offset)) throw EDatabaseError(EngineText::RecordLocked);
  file_->Held().insert(offset);
  return std::unique_ptr<RecordLock>(new RecordLock(file_, offset));
}

RecordLock::~RecordLock() {
  file_->Unlock(offset_);
  file_->Held().erase(offset_);
}
