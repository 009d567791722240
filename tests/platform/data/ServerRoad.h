#pragma once

#include <QString>

// The SQL road as the program installs it, and the connection strings the
// system writes for a database of the embedded server.
void InstallServerRoad();
QString ServerConnectionString(const QString& serverFolder, const QString& database,
                               const QString& password = QString());
// Runs a statement of the system on a database of the server.
void RunOnServer(const QString& serverFolder, const QString& database, const QString& sql);
