#include "platform/sql/SqlDialect.h"

#include "platform/sql/Catalogue.h"
#include "platform/sql/Collation.h"
#include "platform/sql/ConversionFunctions.h"
#include "platform/sql/ServerFiles.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/TextFunctions.h"
#include "platform/sqlite/Connection.h"

#include <sqlite3.h>

namespace {

bool installedOnEveryConnection = false;

int CompareUtf16(void* collation, int lengthA, const void* a, int lengthB, const void* b) {
  return static_cast<const Collation*>(collation)->Compare(
      QStringView(static_cast<const char16_t*>(a), lengthA / 2),
      QStringView(static_cast<const char16_t*>(b), lengthB / 2));
}

void RegisterWhenNeeded(void*, sqlite3* connection, int, const char* name) {
  if (const Collation* collation = Collation::Find(QString::fromUtf8(name)))
    sqlite3_create_collation_v2(connection, name, SQLITE_UTF16_ALIGNED, const_cast<Collation*>(collation),
                                CompareUtf16, nullptr);
}

}  // namespace

void SqlDialect::InstallOnEveryConnection() {
  if (installedOnEveryConnection) return;
  installedOnEveryConnection = true;
  ConnectionSettings::AddInitializer(InstallOn);
}

void SqlDialect::ResetInstallation() { installedOnEveryConnection = false; }

void SqlDialect::InstallOn(Connection& connection) {
  sqlite3* handle = connection.Handle();
  if (sqlite3_collation_needed(handle, nullptr, RegisterWhenNeeded) != SQLITE_OK)
    throw SqlError(QString::fromUtf8(sqlite3_errmsg(handle)));
  const DatabaseLocation location = DatabaseLocation::Of(connection);
  const Collation* collation = Collation::Find(location.collationName);
  RegisterTextFunctions(handle, collation ? *collation : Collation::Default());
  RegisterConversionFunctions(handle);
  InstallCatalogue(connection, location);
}
