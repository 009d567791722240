#include "platform/sql/SqlValues.h"

QString TextOf(sqlite3_value* value) {
  const void* text = sqlite3_value_text16(value);
  if (!text) return {};
  return QString(static_cast<const QChar*>(text), sqlite3_value_bytes16(value) / 2);
}

bool IsNull(sqlite3_value* value) { return sqlite3_value_type(value) == SQLITE_NULL; }

bool IsNumber(sqlite3_value* value) {
  const int type = sqlite3_value_type(value);
  return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

void ResultText(sqlite3_context* context, const QString& text) {
  sqlite3_result_text16(context, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

void ResultError(sqlite3_context* context, const QString& message) {
  const QByteArray utf8 = message.toUtf8();
  sqlite3_result_error(context, utf8.constData(), int(utf8.size()));
}
