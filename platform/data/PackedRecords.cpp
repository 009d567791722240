#include "platform/data/PackedRecords.h"

#include <QString>
#include <QStringView>
#include <QtCore/qstringalgorithms.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Large enough that a block holds thousands of records, small enough that
// its unused end does not count.
constexpr std::size_t kBlockSize = std::size_t{1} << 20;

enum Tag : char {
  kNull,
  kInteger32,  // a qint64 that fits in 32 bits
  kInteger64,
  kDouble,
  kLatin1Text,  // a text whose characters all fit in one byte each
  kUtf16Text,
  kNullText,
  kBytes,
  kNullBytes,
  kOther,  // the index of the value kept as it is
};

// Sizes below kLongSize take one byte; the others five.
constexpr unsigned char kLongSize = 0xFF;

// Encodes values, counting the bytes (Counter) or writing them (Writer).
struct Counter {
  std::size_t size = 0;
  void put(char) { ++size; }
  void put(const void*, std::size_t bytes) { size += bytes; }
  char* take(std::size_t bytes) {
    size += bytes;
    return nullptr;
  }
};

struct Writer {
  char* out;
  void put(char byte) { *out++ = byte; }
  void put(const void* bytes, std::size_t count) {
    std::memcpy(out, bytes, count);
    out += count;
  }
  char* take(std::size_t bytes) { return std::exchange(out, out + bytes); }
};

template <typename Sink, typename T>
void putRaw(Sink& to, T value) {
  to.put(&value, sizeof value);
}

template <typename Sink>
void putSize(Sink& to, std::size_t size) {
  if (size < kLongSize) {
    to.put(static_cast<char>(size));
  } else {
    to.put(static_cast<char>(kLongSize));
    putRaw(to, static_cast<std::uint32_t>(size));
  }
}

template <typename Sink>
void putText(Sink& to, const QString& text) {
  if (text.isNull()) {
    to.put(kNullText);
    return;
  }
  const auto size = static_cast<std::size_t>(text.size());
  if (QtPrivate::isLatin1(QStringView(text))) {
    to.put(kLatin1Text);
    putSize(to, size);
    if (char* out = to.take(size))
      for (const QChar c : text) *out++ = static_cast<char>(c.unicode());
  } else {
    to.put(kUtf16Text);
    putSize(to, size);
    to.put(text.utf16(), size * sizeof(char16_t));
  }
}

// others: where a value of another type goes, null while counting.
template <typename Sink>
void putValue(Sink& to, const QVariant& value, std::vector<QVariant>* others) {
  switch (value.metaType().id()) {
    case QMetaType::UnknownType:
      to.put(kNull);
      return;
    case QMetaType::LongLong: {
      const qint64 number = *static_cast<const qint64*>(value.constData());
      if (number >= INT32_MIN && number <= INT32_MAX) {
        to.put(kInteger32);
        putRaw(to, static_cast<qint32>(number));
      } else {
        to.put(kInteger64);
        putRaw(to, number);
      }
      return;
    }
    case QMetaType::Double:
      to.put(kDouble);
      putRaw(to, *static_cast<const double*>(value.constData()));
      return;
    case QMetaType::QString:
      putText(to, *static_cast<const QString*>(value.constData()));
      return;
    case QMetaType::QByteArray: {
      const auto& bytes = *static_cast<const QByteArray*>(value.constData());
      if (bytes.isNull()) {
        to.put(kNullBytes);
        return;
      }
      to.put(kBytes);
      putSize(to, static_cast<std::size_t>(bytes.size()));
      to.put(bytes.constData(), static_cast<std::size_t>(bytes.size()));
      return;
    }
    default:
      to.put(kOther);
      putRaw(to, static_cast<std::uint32_t>(others ? others->size() : 0));
      if (others) others->push_back(value);
  }
}

template <typename Sink>
void putRecord(Sink& to, const QList<QVariant>& values, std::vector<QVariant>* others) {
  putSize(to, static_cast<std::size_t>(values.size()));
  for (const QVariant& value : values) putValue(to, value, others);
}

template <typename T>
T readRaw(const char*& from) {
  T value;
  std::memcpy(&value, from, sizeof value);
  from += sizeof value;
  return value;
}

std::size_t readSize(const char*& from) {
  const auto first = static_cast<unsigned char>(*from++);
  return first < kLongSize ? first : readRaw<std::uint32_t>(from);
}

}  // namespace

char* PackedRecords::room(std::size_t size) {
  if (blocks_.empty() || blocks_.back().size - blocks_.back().used < size) {
    Block block;
    block.size = std::max(kBlockSize, size);
    block.bytes = std::make_unique_for_overwrite<char[]>(block.size);
    blocks_.push_back(std::move(block));
  }
  Block& last = blocks_.back();
  char* at = last.bytes.get() + last.used;
  last.used += size;
  return at;
}

void PackedRecords::Append(const QList<QVariant>& values) {
  Counter counter;
  putRecord(counter, values, nullptr);
  Writer writer{room(counter.size)};
  places_.push_back(Place{static_cast<std::uint32_t>(blocks_.size() - 1),
                          static_cast<std::uint32_t>(writer.out - blocks_.back().bytes.get())});
  putRecord(writer, values, &others_);
}

QList<QVariant> PackedRecords::Values(std::size_t record) const {
  const Place place = places_[record];
  const char* from = blocks_[place.block].bytes.get() + place.offset;
  const std::size_t count = readSize(from);
  QList<QVariant> values;
  values.reserve(static_cast<qsizetype>(count));
  for (std::size_t i = 0; i < count; ++i) {
    switch (static_cast<Tag>(*from++)) {
      case kNull:
        values.emplace_back();
        break;
      case kInteger32:
        values.emplace_back(qint64{readRaw<qint32>(from)});
        break;
      case kInteger64:
        values.emplace_back(readRaw<qint64>(from));
        break;
      case kDouble:
        values.emplace_back(readRaw<double>(from));
        break;
      case kLatin1Text: {
        const auto size = static_cast<qsizetype>(readSize(from));
        values.emplace_back(size == 0 ? QString(QLatin1StringView("")) : QString::fromLatin1(from, size));
        from += size;
        break;
      }
      case kUtf16Text: {
        const auto size = static_cast<qsizetype>(readSize(from));
        QString text(size, Qt::Uninitialized);
        std::memcpy(text.data(), from, static_cast<std::size_t>(size) * sizeof(char16_t));
        values.emplace_back(std::move(text));
        from += size * qsizetype{sizeof(char16_t)};
        break;
      }
      case kNullText:
        values.emplace_back(QString());
        break;
      case kBytes: {
        const auto size = static_cast<qsizetype>(readSize(from));
        values.emplace_back(QByteArray(from, size));
        from += size;
        break;
      }
      case kNullBytes:
        values.emplace_back(QByteArray());
        break;
      case kOther:
        values.append(others_[readRaw<std::uint32_t>(from)]);
        break;
    }
  }
  return values;
}
