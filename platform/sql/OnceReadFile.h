#pragma once

#include "platform/sql/WrappedFile.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// A file SQLite reads through the VFS named here reads it once, in large
// blocks in the file's order, each handed whole to the digest, if any, before
// a byte of it reaches SQLite: what SQLite is given is what was digested. A
// block read again (SQLite going back) must come back as it was first read,
// or the read fails.
class OnceReadFile : public WrappedFile {
 public:
  static const char* VfsName();
  // The reader of the connection's main file, where it was opened through
  // that VFS.
  static OnceReadFile* Of(sqlite3* db);

  using WrappedFile::WrappedFile;

  qint64 Size();
  // The file's first block, read now if not yet; none where it cannot be read.
  const QByteArray* FirstBlock();
  // Takes every block read from now on, and the first block if already read.
  using Digest = std::function<void(qint64 at, const char* data, qsizetype size)>;
  void DigestWith(Digest digest);
  // Reads on to the file's end; false where it cannot.
  bool ReadToEnd();
  // The file in blocks of kBlock bytes (the last one shorter): the block of
  // that index, read now if not yet, else read again and taken only as it
  // was first read; none where it cannot be.
  static constexpr qint64 kBlock = 1 << 20;  // a whole number of pages of any size
  qint64 BlockCount();
  const QByteArray* Block(qint64 index);

  int Read(void* data, int amount, qint64 at) override;
  int Write(const void* data, int amount, qint64 at) override;
  int Truncate(qint64 size) override;

 private:
  bool loadNext();

  std::optional<qint64> size_;
  QByteArray first_;
  QByteArray current_;
  qint64 currentIndex_ = -1;
  QByteArray again_;
  qint64 againIndex_ = -1;
  std::vector<std::uint64_t> blockHashes_;  // of the blocks read, in order
  Digest digest_;
};
