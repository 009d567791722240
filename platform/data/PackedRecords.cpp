#include "platform/data/PackedRecords.h"

#include <QString>

#include <algorithm>
#include <cstring>

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

// The most bytes a record's values can take encoded.
std::size_t mostBytes(const QList<QVariant>& values) {
  constexpr std::size_t kTagAndSize = 1 + 1 + sizeof(std::uint32_t);
  std::size_t most = kTagAndSize;
  for (const QVariant& value : values) {
    switch (value.metaType().id()) {
      case QMetaType::QString:
        most += kTagAndSize + static_cast<std::size_t>(static_cast<const QString*>(value.constData())->size()) *
                                  sizeof(char16_t);
        break;
      case QMetaType::QByteArray:
        most += kTagAndSize + static_cast<std::size_t>(static_cast<const QByteArray*>(value.constData())->size());
        break;
      default:
        most += 1 + sizeof(qint64);
    }
  }
  return most;
}

struct Writer {
  char* out;
  void put(char byte) { *out++ = byte; }
  void put(const void* bytes, std::size_t count) {
    std::memcpy(out, bytes, count);
    out += count;
  }
  template <typename T>
  void putRaw(T value) {
    put(&value, sizeof value);
  }
  void putSize(std::size_t size) {
    if (size < kLongSize) {
      put(static_cast<char>(size));
    } else {
      put(static_cast<char>(kLongSize));
      putRaw(static_cast<std::uint32_t>(size));
    }
  }

  // One byte a character where every character fits in one, else as it is.
  void putText(const QString& text) {
    if (text.isNull()) {
      put(kNullText);
      return;
    }
    char* const tag = out;
    put(kLatin1Text);
    const auto size = static_cast<std::size_t>(text.size());
    putSize(size);
    const char16_t* const characters = reinterpret_cast<const char16_t*>(text.constData());
    char16_t high = 0;
    for (std::size_t i = 0; i < size; ++i) {
      high |= characters[i] & 0xFF00;
      out[i] = static_cast<char>(characters[i]);
    }
    if (high == 0) {
      out += size;
      return;
    }
    *tag = kUtf16Text;
    put(characters, size * sizeof(char16_t));
  }

  // others: where a value of another type goes.
  void putValue(const QVariant& value, std::vector<QVariant>& others) {
    switch (value.metaType().id()) {
      case QMetaType::UnknownType:
        put(kNull);
        return;
      case QMetaType::LongLong: {
        const qint64 number = *static_cast<const qint64*>(value.constData());
        if (number >= INT32_MIN && number <= INT32_MAX) {
          put(kInteger32);
          putRaw(static_cast<qint32>(number));
        } else {
          put(kInteger64);
          putRaw(number);
        }
        return;
      }
      case QMetaType::Double:
        put(kDouble);
        putRaw(*static_cast<const double*>(value.constData()));
        return;
      case QMetaType::QString:
        putText(*static_cast<const QString*>(value.constData()));
        return;
      case QMetaType::QByteArray: {
        const auto& bytes = *static_cast<const QByteArray*>(value.constData());
        if (bytes.isNull()) {
          put(kNullBytes);
          return;
        }
        put(kBytes);
        putSize(static_cast<std::size_t>(bytes.size()));
        put(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return;
      }
      default:
        put(kOther);
        putRaw(static_cast<std::uint32_t>(others.size()));
        others.push_back(value);
    }
  }
};

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
  const std::size_t most = mostBytes(values);
  char* const at = room(most);
  Writer writer{at};
  writer.putSize(static_cast<std::size_t>(values.size()));
  for (const QVariant& value : values) writer.putValue(value, others_);
  // What the record did not take is the next one's.
  blocks_.back().used -= most - static_cast<std::size_t>(writer.out - at);
  places_.push_back(Place{static_cast<std::uint32_t>(blocks_.size() - 1),
                          static_cast<std::uint32_t>(at - blocks_.back().bytes.get())});
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
        // An empty text stays apart from a null one.
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
