#pragma once

#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

// A folder of tables (one SQLite file) in a temporary folder, with the
// customers table CLIENTES: Codigo (key), Nombre, Alta, Saldo, Notas.
class DataFixture {
 public:
  DataFixture();

  QString Folder() const { return folder_.Path(); }
  QString File() const;

  // A closed table of the folder.
  std::unique_ptr<Table> NewTable(const QString& tableName, QObject* owner = nullptr) const;
  std::unique_ptr<Table> OpenTable(const QString& tableName) const;
  // Runs statements on the folder's file, outside any dataset.
  void Execute(const QString& sql) const;
  // The first column of the first row of a statement, read straight from the
  // file (invalid for no row or NULL).
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
