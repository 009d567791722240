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

  // The C type and SQL type a value goes to the driver as: a date as a
  // timestamp where the server reads text dates under its DATEFORMAT, as
  // SQLite's stored text elsewhere.
  struct Types {
    short cType;
    short sqlType;
  };
  static Types TypesOf(const QVariant& value, OdbcServer server);

 private:
  struct Buffer {
    QByteArray bytes;
    qint64 integer = 0;
    double real = 0;
    long indicator = 0;
    // SQL_TIMESTAMP_STRUCT's fields, in its order and sizes (checked where
    // it is bound).
    struct {
      short year;
      unsigned short month, day, hour, minute, second;
      unsigned int fraction;
    } timestamp{};
  };
  QVariantList values_;
  std::vector<Buffer> buffers_;
};
