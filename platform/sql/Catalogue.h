#pragma once

#include <QString>

class Connection;
struct DatabaseLocation;

// SQL Server's catalogue of the connection's own database, as temporary
// views over SQLite's schema and pragma functions, so they follow every
// change of the tables: sysobjects, syscolumns, sysindexes, sysindexkeys
// and information_schema_columns and information_schema_tables (the
// mapper's names for information_schema.columns and .tables). Object ids are the schema rows' ids; the
// primary key is index 1 and carries its constraint's name.
void InstallCatalogue(Connection& connection, const DatabaseLocation& location);

// The same views over a database the connection has attached under
// `schema` (from `file`), named "<schema>.<view>"; returns the view's name
// as SQL writes it.
QString AttachedCatalogueView(Connection& connection, const QString& schema, const QString& file,
                              const QString& view);
