#include "platform/sql/OnceReadFile.h"

#include <sqlite3.h>
#include <xxhash.h>

#include <cstring>

namespace {

std::uint64_t BlockHash(const QByteArray& block) { return XXH3_64bits(block.constData(), size_t(block.size())); }

}  // namespace

const char* OnceReadFile::VfsName() {
  return Vfs("zem-lectura-unica", [](sqlite3_file* real) -> WrappedFile* { return new OnceReadFile(real); });
}

OnceReadFile* OnceReadFile::Of(sqlite3* db) { return dynamic_cast<OnceReadFile*>(WrappedFile::Of(db)); }

int OnceReadFile::Write(const void*, int, qint64) { return SQLITE_READONLY; }

int OnceReadFile::Truncate(qint64) { return SQLITE_READONLY; }

qint64 OnceReadFile::Size() {
  if (!size_) {
    sqlite3_int64 size = 0;
    size_ = real_->pMethods->xFileSize(real_, &size) == SQLITE_OK ? size : 0;
  }
  return *size_;
}

qint64 OnceReadFile::BlockCount() { return (Size() + kBlock - 1) / kBlock; }

const QByteArray* OnceReadFile::FirstBlock() {
  if (Size() == 0) return nullptr;
  return Block(0);
}

void OnceReadFile::DigestWith(Digest digest) {
  digest_ = std::move(digest);
  if (!blockHashes_.empty()) digest_(0, first_.constData(), first_.size());
}

bool OnceReadFile::ReadToEnd() {
  while (qint64(blockHashes_.size()) < BlockCount())
    if (!loadNext()) return false;
  return true;
}

bool OnceReadFile::loadNext() {
  const qint64 index = qint64(blockHashes_.size());
  const qint64 at = index * kBlock;
  QByteArray& into = index == 0 ? first_ : current_;
  into.resize(qMin(kBlock, Size() - at));
  if (real_->pMethods->xRead(real_, into.data(), int(into.size()), at) != SQLITE_OK) return false;
  blockHashes_.push_back(BlockHash(into));
  if (index != 0) currentIndex_ = index;
  if (digest_) digest_(at, into.constData(), into.size());
  return true;
}

const QByteArray* OnceReadFile::Block(qint64 index) {
  while (qint64(blockHashes_.size()) <= index)
    if (!loadNext()) return nullptr;
  if (index == 0) return &first_;
  if (index == currentIndex_) return &current_;
  if (index == againIndex_) return &again_;
  // Gone back: read again, and taken only as it was.
  const qint64 at = index * kBlock;
  againIndex_ = -1;
  again_.resize(qMin(kBlock, Size() - at));
  if (real_->pMethods->xRead(real_, again_.data(), int(again_.size()), at) != SQLITE_OK ||
      BlockHash(again_) != blockHashes_[size_t(index)])
    return nullptr;
  againIndex_ = index;
  return &again_;
}

int OnceReadFile::Read(void* data, int amount, qint64 at) {
  auto* out = static_cast<char*>(data);
  const qint64 end = qMin(at + amount, Size());
  for (qint64 from = at; from < end;) {
    const qint64 index = from / kBlock;
    const QByteArray* read = Block(index);
    if (!read) return SQLITE_IOERR_READ;
    const qint64 inBlock = from - index * kBlock;
    const qint64 length = qMin(end - from, qint64(read->size()) - inBlock);
    std::memcpy(out + (from - at), read->constData() + inBlock, size_t(length));
    from += length;
  }
  if (end >= at + amount) return SQLITE_OK;
  const qint64 filled = qMax<qint64>(0, end - at);
  std::memset(out + filled, 0, size_t(amount - filled));
  return SQLITE_IOERR_SHORT_READ;
}
