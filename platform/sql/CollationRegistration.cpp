#include "platform/sql/Collation.h"

// Built into the program and into the loadable SQLite extension, whose calls
// go through the table of routines the loading SQLite hands it.
#ifdef ZEM_SQLITE_EXTENSION
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif

namespace {

int CompareUtf16(void* collation, int lengthA, const void* a, int lengthB, const void* b) {
  return static_cast<const Collation*>(collation)->Compare(
      QStringView(static_cast<const char16_t*>(a), lengthA / 2),
      QStringView(static_cast<const char16_t*>(b), lengthB / 2));
}

int CompareUtf8(void* collation, int lengthA, const void* a, int lengthB, const void* b) {
  return static_cast<const Collation*>(collation)->CompareUtf8(static_cast<const unsigned char*>(a), lengthA,
                                                               static_cast<const unsigned char*>(b), lengthB);
}

void RegisterNamed(void*, sqlite3* connection, int, const char* name) {
  const Collation* collation = Collation::Find(QString::fromUtf8(name));
  if (!collation) return;
  auto* rules = const_cast<Collation*>(collation);
  sqlite3_create_collation_v2(connection, name, SQLITE_UTF16_ALIGNED, rules, CompareUtf16, nullptr);
  sqlite3_create_collation_v2(connection, name, SQLITE_UTF8, rules, CompareUtf8, nullptr);
}

}  // namespace

bool Collation::RegisterWhenNeeded(sqlite3* handle) {
  return sqlite3_collation_needed(handle, nullptr, RegisterNamed) == SQLITE_OK;
}
