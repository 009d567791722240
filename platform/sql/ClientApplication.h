#pragma once

#include <QString>

struct sqlite3;

// Who this program is to the server, as SQL Server's APP_NAME() and
// SYSTEM_USER give it inside the triggers it fires: the application name
// the program connects with and the login.
namespace ClientApplication {

void SetProgramName(const QString& programName);
void SetLogin(const QString& login);
QString ProgramName();

// app_name() and zem_system_user() on the connection.
void RegisterFunctions(sqlite3* connection);

}  // namespace ClientApplication
