#pragma once

#include "platform/odbc/OdbcDriver.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class OdbcConnection;

// A real Microsoft SQL Server reached through unixODBC and FreeTDS.
namespace SqlServerOdbc {

// What a login to a server names: the server ("host", an address,
// "host\instance", "host,port", with an optional "np:" or "tcp:"), the
// database, the login or integrated security, the application name and
// how long the login may take (empty: the driver's own; 0 waits without end).
struct Login {
  QString server;
  QString database;
  QString user;
  QString password;
  QString application;
  bool integrated = false;
  std::optional<int> timeoutSeconds;
};

// The login of one of the system's ADO connection texts
// ("Provider=SQLOLEDB.1;...;Initial Catalog=...;Data Source=...").
Login LoginOf(const QString& adoText);

// A server name that names a host of a real server (a name, an address,
// "host\instance", "host,port"), not a folder.
bool NamesAHost(const QString& serverName);

// The FreeTDS connection string of a login: the server (its "np:" or "tcp:"
// prefix dropped, "host,port" split, a named instance kept whole),
// database, login or integrated security, the application name, TDS 7.4,
// UTF-8 texts and the login's own default language. A value holding ";",
// starting with a brace or with blanks at its ends goes between braces, so
// it cannot set another key. A driver older than 1.4 ends a braced value
// at its first "};" and reads "}}" as two braces: a braced value holding
// "}" is refused before anything is sent (EDatabaseError).
QString ConnectionString(const Login& login, const OdbcDriverVersion& driver);
// The same for the installed FreeTDS.
QString ConnectionString(const Login& login);
QString ConnectionString(const QString& adoText);

// The session options the system's ADO connections ran with, set by the
// SQL Server provider at every connection (FreeTDS leaves several of them
// off and cuts texts at its own default size), and the wait for another
// program's lock, the engine's busy timeout.
QStringList SessionOptions();

// Connects and sets the session options; raises EDatabaseError.
std::unique_ptr<OdbcConnection> Open(const QString& odbcConnectionString,
                                     std::optional<int> loginTimeoutSeconds = std::nullopt);
std::unique_ptr<OdbcConnection> Open(const Login& login);

}  // namespace SqlServerOdbc
