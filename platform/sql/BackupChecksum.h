#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// The checksum a backup carries in its header: four bytes of a hash of the
// hashes of its pages, each seeded with its page number, page 1 hashed with
// the checksum's own bytes as zero. Pages can be taken as they are written,
// in any order, a page written again replacing what it held.
class PageChecksum {
 public:
  static constexpr int kAt = 60;  // in the header: its user version, which databases leave alone

  static std::uint64_t PageHash(quint32 page, const char* data, qsizetype size);
  void Take(quint32 page, const char* data, qsizetype size);
  // A page whose content is no longer known, or pages cut off.
  void Forget(quint32 page);
  void KeepPages(quint32 pages);
  quint32 LastPage() const { return quint32(pages_.size()); }
  // Once every page from 1 to the last has been taken; none otherwise.
  std::optional<quint32> Result() const;

 private:
  std::vector<std::optional<std::uint64_t>> pages_;
};

// That checksum of a file of pages of that size, read in one pass; none when
// it cannot be read whole.
std::optional<quint32> FilePageChecksum(const QString& file, qint64 pageSize);

// The checksum of the backups written before: four bytes of the SHA-256 of
// every byte but the checksum's own, taken in the file's order.
class Sha256Checksum {
 public:
  void Take(qint64 at, const char* data, qsizetype size);
  quint32 Result() const;

 private:
  QCryptographicHash hash_{QCryptographicHash::Sha256};
};
