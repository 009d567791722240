#pragma once

#include "platform/odbc/OdbcError.h"

#include <QByteArray>
#include <QVariant>

#include <vector>

// The values of a statement's "?" markers, in order, and the buffers the
// driver reads them from, which live until the statement has run.
class OdbcParameters {
 public:
  void Set(int index, const QVariant& value);  // 1-based
  void Clear();
  // Binds the first count markers, a marker given no value as NULL; texts
  // go as UTF-8 for Unicode columns. Raises EDatabaseError.
  void BindTo(void* statement, int count, OdbcServer server);

 private:
  struct Buffer {
    QByteArray bytes;
    qint64 integer = 0;
    double real = 0;
    long indicator = 0;
  };
  QVariantList values_;
  std::vector<Buffer> buffers_;
};
