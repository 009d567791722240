#pragma once

#include "platform/data/FieldType.h"

#include <QList>
#include <QString>

// The definitions a table is created from.
struct FieldDef {
  QString Name;
  FieldType DataType = ftUnknown;
  int Size = 0;
  bool Required = false;
};

class FieldDefs {
 public:
  void Add(const QString& name, FieldType type, int size = 0, bool required = false) {
    defs_.append(FieldDef{name, type, size, required});
  }
  void Clear() { defs_.clear(); }
  int Count() const { return static_cast<int>(defs_.size()); }
  const FieldDef& operator[](int index) const { return defs_.at(index); }
  auto begin() const { return defs_.begin(); }
  auto end() const { return defs_.end(); }

 private:
  QList<FieldDef> defs_;
};

enum IndexOption : unsigned { ixPrimary = 1, ixUnique = 2, ixDescending = 4, ixCaseInsensitive = 8 };
using IndexOptions = unsigned;

struct IndexDef {
  QString Name;
  QString Fields;  // field names joined by ";"
  IndexOptions Options = 0;
};

class IndexDefs {
 public:
  void Add(const QString& name, const QString& fields, IndexOptions options) {
    defs_.append(IndexDef{name, fields, options});
  }
  void Clear() { defs_.clear(); }
  int Count() const { return static_cast<int>(defs_.size()); }
  const IndexDef& operator[](int index) const { return defs_.at(index); }
  auto begin() const { return defs_.begin(); }
  auto end() const { return defs_.end(); }

 private:
  QList<IndexDef> defs_;
};
