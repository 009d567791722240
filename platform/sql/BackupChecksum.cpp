#include "platform/sql/BackupChecksum.h"

#include <QFile>
#include <QtEndian>

#include <xxhash.h>

namespace {

constexpr qint64 kReadBlock = 1 << 20;
constexpr char kNoChecksum[sizeof(quint32)] = {};

}  // namespace

std::uint64_t PageChecksum::PageHash(quint32 page, const char* data, qsizetype size) {
  if (page != 1 || size < kAt + qsizetype(sizeof(quint32))) return XXH3_64bits_withSeed(data, size_t(size), page);
  QByteArray first(data, size);
  first.replace(kAt, sizeof(quint32), QByteArray(sizeof(quint32), '\0'));
  return XXH3_64bits_withSeed(first.constData(), size_t(first.size()), page);
}

void PageChecksum::Take(quint32 page, const char* data, qsizetype size) {
  if (page == 0) return;
  if (pages_.size() < page) pages_.resize(page);
  pages_[page - 1] = PageHash(page, data, size);
}

void PageChecksum::Forget(quint32 page) {
  if (page != 0 && page <= pages_.size()) pages_[page - 1].reset();
}

void PageChecksum::KeepPages(quint32 pages) {
  if (pages < pages_.size()) pages_.resize(pages);
}

std::optional<quint32> PageChecksum::Result() const {
  if (pages_.empty()) return std::nullopt;
  QByteArray hashes(qsizetype(pages_.size() * sizeof(std::uint64_t)), Qt::Uninitialized);
  auto* at = reinterpret_cast<uchar*>(hashes.data());
  for (const std::optional<std::uint64_t>& page : pages_) {
    if (!page) return std::nullopt;
    qToLittleEndian(*page, at);
    at += sizeof(std::uint64_t);
  }
  return quint32(XXH3_64bits(hashes.constData(), size_t(hashes.size())));
}

std::optional<quint32> FilePageChecksum(const QString& file, qint64 pageSize) {
  QFile data(file);
  if (pageSize <= 0 || !data.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || data.size() % pageSize != 0)
    return std::nullopt;
  PageChecksum checksum;
  const qint64 block = qMax(pageSize, kReadBlock / pageSize * pageSize);
  QByteArray buffer(block, Qt::Uninitialized);
  quint32 page = 1;
  for (qint64 read; (read = data.read(buffer.data(), block)) > 0;) {
    if (read % pageSize != 0) return std::nullopt;
    for (qint64 at = 0; at < read; at += pageSize) checksum.Take(page++, buffer.constData() + at, pageSize);
  }
  if (!data.atEnd()) return std::nullopt;
  return checksum.Result();
}

void Sha256Checksum::Take(qint64 at, const char* data, qsizetype size) {
  const qint64 end = at + size;
  const qint64 own = PageChecksum::kAt;
  const qint64 ownEnd = own + qint64(sizeof(quint32));
  if (end <= own || at >= ownEnd) {
    hash_.addData(QByteArrayView(data, size));
    return;
  }
  if (at < own) hash_.addData(QByteArrayView(data, own - at));
  const qint64 zeroFrom = qMax(at, own);
  const qint64 zeroTo = qMin(end, ownEnd);
  hash_.addData(QByteArrayView(kNoChecksum, zeroTo - zeroFrom));
  if (end > ownEnd) hash_.addData(QByteArrayView(data + (ownEnd - at), end - ownEnd));
}

quint32 Sha256Checksum::Result() const {
  return qFromBigEndian<quint32>(reinterpret_cast<const uchar*>(hash_.resultView().constData()));
}
