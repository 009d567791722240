#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class OdbcConnection;

// A real Microsoft SQL Server reached through unixODBC and FreeTDS.
namespace SqlServerOdbc {

// The FreeTDS connection string for one of the system's ADO connection
// texts ("Provider=SQLOLEDB.1;...;Initial Catalog=...;Data Source=..."):
// the server (its "np:" or "tcp:" prefix dropped, "host,port" split, a
// named instance kept whole), database, login or integrated security, the
// application name, TDS 7.4 and UTF-8 texts. A value holding ";", a brace
// or blanks at its ends goes between braces, so it cannot set another key.
QString ConnectionString(const QString& adoText);

// The session options the system's ADO connections ran with, set by the
// SQL Server provider at every connection; FreeTDS leaves several of them
// off and cuts texts at its own default size.
QStringList SessionOptions();

// Connects and sets the session options; raises EDatabaseError.
std::unique_ptr<OdbcConnection> Open(const QString& odbcConnectionString);

}  // namespace SqlServerOdbc
