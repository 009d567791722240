#pragma once

#include "platform/StringList.h"

#include <QString>

class Database;

// The SQL road as the program installs it, and the connection strings the
// system writes for a database of the embedded server.
void InstallServerRoad();
QString ServerConnectionString(const QString& serverFolder, const QString& database,
                               const QString& password = QString());
// The parameters of an alias or Database component on a database of the server.
StringList ServerParams(const QString& serverFolder, const QString& database);
void PointAtServer(Database& component, const QString& serverFolder, const QString& database);
// Runs a statement of the system on a database of the server.
void RunOnServer(const QString& serverFolder, const QString& database, const QString& sql);
// The first column of the first row a statement of the system answers.
QString ValueOnServer(const QString& serverFolder, const QString& database, const QString& sql);
