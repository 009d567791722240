#pragma once

#include <QString>

class Database;

// On SQL Server, runs "SET TRANSACTION ISOLATION LEVEL " with the configured
// level on a logical database ("Database", "DatabaseGeneral", "DatabaseAlt").
void FijarNivelAislamiento(const QString& baseDatos);

// On SQL Server, a transaction started and committed at once on an open
// connection outside a transaction: its pending work is settled.
void TransaccionVacia(Database& database);
