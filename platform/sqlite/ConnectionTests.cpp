// The program's own tests called by SQLite inside a statement (a filter
// evaluated as the records are read).

#include "platform/sqlite/Connection.h"

#include <sqlite3.h>

namespace {

struct Defined {
  EngineConnection::RowTest test;
  QVariantList values;  // reused from call to call
};

void readInto(sqlite3_value* value, QVariant& into) {
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
      into = QVariant(static_cast<qint64>(sqlite3_value_int64(value)));
      break;
    case SQLITE_FLOAT:
      into = QVariant(sqlite3_value_double(value));
      break;
    case SQLITE_TEXT:
      into = QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value)),
                                        sqlite3_value_bytes(value)));
      break;
    case SQLITE_BLOB:
      into = QVariant(QByteArray(static_cast<const char*>(sqlite3_value_blob(value)), sqlite3_value_bytes(value)));
      break;
    default:
      into = QVariant();
  }
}

void call(sqlite3_context* context, int count, sqlite3_value** values) {
  auto& defined = *static_cast<Defined*>(sqlite3_user_data(context));
  bool passed = true;
  try {
    defined.values.resize(count);
    for (int i = 0; i < count; ++i) readInto(values[i], defined.values[i]);
    passed = defined.test(defined.values);
  } catch (...) {
    // Handed over: the caller's own check tells why.
  }
  sqlite3_result_int(context, passed ? 1 : 0);
}

}  // namespace

bool Connection::DefineTest(const QString& name, RowTest test) {
  auto* defined = new Defined{std::move(test), {}};
  // SQLite lets the test go on failure too.
  return sqlite3_create_function_v2(Handle(), name.toUtf8().constData(), -1, SQLITE_UTF8, defined, &call, nullptr,
                                    nullptr, [](void* held) { delete static_cast<Defined*>(held); }) == SQLITE_OK;
}

void Connection::DropTest(const QString& name) {
  sqlite3_create_function_v2(Handle(), name.toUtf8().constData(), -1, SQLITE_UTF8, nullptr, nullptr, nullptr, nullptr,
                             nullptr);
}
