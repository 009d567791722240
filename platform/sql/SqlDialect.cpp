#include "platform/sql/SqlDialect.h"

#include "platform/sql/Catalogue.h"
#include "platform/sql/ClientApplication.h"
#include "platform/sql/Collation.h"
#include "platform/sql/ConversionFunctions.h"
#include "platform/sql/EmbeddedServer.h"
#include "platform/sql/ServerFiles.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/TextFunctions.h"
#include "platform/sqlite/Connection.h"

#include <sqlite3.h>

namespace {

bool installedOnEveryConnection = false;

}  // namespace

void SqlDialect::InstallOnEveryConnection() {
  if (installedOnEveryConnection) return;
  installedOnEveryConnection = true;
  ConnectionSettings::AddInitializer(InstallOn);
}

void SqlDialect::ResetInstallation() { installedOnEveryConnection = false; }

void SqlDialect::InstallOn(Connection& connection) {
  sqlite3* handle = connection.Handle();
  if (!Collation::RegisterWhenNeeded(handle)) throw SqlError(QString::fromUtf8(sqlite3_errmsg(handle)));
  const DatabaseLocation location = DatabaseLocation::Of(connection);
  const Collation* collation = Collation::Find(location.collationName);
  RegisterTextFunctions(handle, collation ? *collation : Collation::Default());
  RegisterConversionFunctions(handle);
  ClientApplication::RegisterFunctions(handle);
  InstallCatalogue(connection, location);
  HoldAttachedDatabases(connection);
}
