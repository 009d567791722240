#pragma once

#include "platform/odbc/SqlServerOdbc.h"

#include <memory>

class OdbcConnection;

// The connections of real servers, one per process and server, database
// and login, as the embedded road keeps one per file: every dataset and SQL
// routine on that database shares it, so a transaction covers all of them.
namespace ServerConnections {

// The open connection of the login when the process has one, else a new
// one with the session options set; raises EDatabaseError with the
// engine's and the driver's texts when the server refuses or cannot be
// reached.
std::shared_ptr<OdbcConnection> Open(const SqlServerOdbc::Login& login);
// The same for an ODBC connection string (an alias of driver ODBC).
std::shared_ptr<OdbcConnection> Open(const QString& odbcConnectionString);

}  // namespace ServerConnections
