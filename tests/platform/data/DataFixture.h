#pragma once

#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QString>
#include <QVariant>

#include <functional>

class EngineConnection;
#include <memory>

// A folder of tables (one SQLite file) in a temporary folder, with the
// customers table CLIENTES: Codigo (key), Nombre, Alta, Saldo, Notas. With
// ZEMWIN_DATA_ROAD=odbc in the environment the datasets reach the file
// through unixODBC and the SQLite ODBC driver, by an alias of driver ODBC.
class DataFixture {
 public:
  DataFixture();

  static bool ThroughOdbc();
  QString Folder() const { return folder_.Path(); }
  QString File() const;
  // The name the datasets open the file by: its folder, or the alias.
  QString DatabaseName() const;

  // A closed table of the folder.
  std::unique_ptr<Table> NewTable(const QString& tableName, QObject* owner = nullptr) const;
  std::unique_ptr<Table> OpenTable(const QString& tableName) const;
  // The connection the datasets share.
  std::shared_ptr<EngineConnection> Connection() const;
  // Runs statements on the file, outside any dataset (on its connection).
  void Execute(const QString& sql) const;
  // The first column of the first row of a statement, read straight from the
  // file through the datasets' connection (invalid for no row or NULL).
  QVariant Scalar(const QString& sql) const;
  void AddCustomer(int codigo, const QString& nombre) const;

 private:
  TemporaryFolder folder_;
};

// The engine text of the database error the action raises; empty when it
// raises none.
QString EngineMessageOf(const std::function<void()>& action);
// The driver's text of the database error the action raises; empty when it
// raises none.
QString DriverMessageOf(const std::function<void()>& action);
// The whole message of the error the action raises; empty when it raises none.
QString MessageOf(const std::function<void()>& action);
