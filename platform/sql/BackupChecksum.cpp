#include "platform/sql/BackupChecksum.h"

#include <QCryptographicHash>
#include <QFile>
#include <QtEndian>

#include <xxhash.h>

namespace {

constexpr qint64 kReadBlock = 1 << 20;

}  // namespace

void PageChecksum::Take(quint32 page, const char* data, qsizetype size) {
  if (page == 0) return;
  if (pages_.size() < page) pages_.resize(page);
  if (page != 1) {
    pages_[page - 1] = XXH3_64bits_withSeed(data, size_t(size), page);
    return;
  }
  QByteArray first(data, size);
  if (size >= kAt + qsizetype(sizeof(quint32))) first.replace(kAt, sizeof(quint32), QByteArray(sizeof(quint32), '\0'));
  pages_[0] = XXH3_64bits_withSeed(first.constData(), size_t(first.size()), page);
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

std::optional<quint32> FileSha256Checksum(const QString& file) {
  QFile data(file);
  if (!data.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray header = data.read(PageChecksum::kAt + sizeof(quint32));
  if (header.size() < PageChecksum::kAt + qsizetype(sizeof(quint32))) return std::nullopt;
  header.replace(PageChecksum::kAt, sizeof(quint32), QByteArray(sizeof(quint32), '\0'));
  QCryptographicHash hash(QCryptographicHash::Sha256);
  hash.addData(header);
  while (!data.atEnd()) {
    const QByteArray block = data.read(kReadBlock);
    if (block.isEmpty()) return std::nullopt;
    hash.addData(block);
  }
  return qFromBigEndian<quint32>(reinterpret_cast<const uchar*>(hash.result().constData()));
}
