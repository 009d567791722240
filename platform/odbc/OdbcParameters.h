#pragma once

#include "platform/odbc/OdbcError.h"

#include <QByteArray>
#include <QList>
#include <QVariant>

#include <optional>
#include <vector>

// The values of a statement's "?" markers, in order, and the buffers the
// driver reads them from, which live until the statement has run.
class OdbcParameters {
 public:
  // A marker as the driver describes it (SQLDescribeParam).
  struct Described {
    short sqlType;
    unsigned long size;
    short digits;
  };
  using Descriptions = QList<std::optional<Described>>;  // by marker, from the first

  void Set(int index, const QVariant& value);  // 1-based
  // The values are forgotten; the buffers stay bound for the next run.
  void Clear();
  // Whether a value bound so far would take the type of its column from a
  // description: a text or a NULL.
  bool WantsDescriptions() const;
  // Binds the first count markers, a marker given no value as NULL. A
  // marker bound before as the same types from the same buffer is not bound
  // again: a driver may take a new binding for a new statement to prepare
  // (FreeTDS does). Raises EDatabaseError.
  void BindTo(void* statement, int count, OdbcServer server, const Descriptions& described = {});

  // The C type and SQL type a value goes to the driver as, and the size
  // and digits a NULL takes from its description. A text or a NULL takes
  // the column's own type where the driver describes the marker; otherwise
  // a NULL typed by its column goes as that type, and a text goes to SQL
  // Server as varchar when the suite's code page holds it (a varchar column
  // sought with nvarchar is scanned), else as nvarchar. A date goes as a
  // timestamp where the server reads text dates under its DATEFORMAT, as
  // SQLite's stored text elsewhere.
  struct Types {
    short cType;
    short sqlType;
    unsigned long size = 0;
    short digits = 0;
    bool operator==(const Types&) const = default;
  };
  static Types TypesOf(const QVariant& value, OdbcServer server, const std::optional<Described>& described = {});

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
    // What the driver was last given for the marker.
    std::optional<Types> bound;
    const void* boundData = nullptr;
  };
  QVariantList values_;
  std::vector<Buffer> buffers_;
};
