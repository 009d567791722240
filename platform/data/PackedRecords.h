#pragma once

#include <QList>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <vector>

// Records held compactly: each record's values encoded one after another in
// large blocks and decoded when asked for, so that a million short records
// take tens of megabytes rather than the hundreds their variants would.
// Values of the types a record holds as stored (NULL, qint64, double,
// QString, QByteArray) are encoded; any other is kept as it is. Every value
// reads back identical, type, nullness and bits alike.
class PackedRecords {
 public:
  void Append(const QList<QVariant>& values);
  std::size_t Size() const { return places_.size(); }
  bool Empty() const { return places_.empty(); }
  QList<QVariant> Values(std::size_t record) const;

 private:
  struct Place {
    std::uint32_t block;
    std::uint32_t offset;
  };
  struct Block {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    std::size_t used = 0;
  };
  char* room(std::size_t size);

  std::vector<Block> blocks_;
  std::vector<Place> places_;
  std::vector<QVariant> others_;
};
