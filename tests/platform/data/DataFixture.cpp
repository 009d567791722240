#include "tests/platform/data/DataFixture.h"

#include <QFileInfo>

#include "platform/data/Session.h"
#include "platform/engine/EngineConnection.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

DataFixture::DataFixture() {
  auto table = NewTable(QStringLiteral("CLIENTES"));
  table->FieldDefs().Add(QStringLiteral("Codigo"), ftInteger);
  table->FieldDefs().Add(QStringLiteral("Nombre"), ftString, 40);
  table->FieldDefs().Add(QStringLiteral("Alta"), ftDateTime);
  table->FieldDefs().Add(QStringLiteral("Saldo"), ftFloat);
  table->FieldDefs().Add(QStringLiteral("Notas"), ftMemo);
  table->IndexDefs().Add(QString(), QStringLiteral("Codigo"), ixPrimary);
  table->CreateTable();
}

QString DataFixture::File() const { return folder_.File(QString::fromLatin1(Session::kDataFile)); }

bool DataFixture::ThroughOdbc() { return qEnvironmentVariable("ZEMWIN_DATA_ROAD") == u"odbc"; }

// The alias is added again at every use: a test may have reset the session.
QString DataFixture::DatabaseName() const {
  if (!ThroughOdbc()) return Folder();
  const QString alias = QStringLiteral("ODBC_") + QFileInfo(Folder()).fileName();
  StringList params;
  params.Add(QStringLiteral("ODBC DSN=DRIVER=SQLite3;Database=") + File() + QStringLiteral(";Timeout=1000"));
  Session::Default().AddAlias(alias, QString::fromLatin1(Session::kOdbcDriver), params);
  return alias;
}

std::unique_ptr<Table> DataFixture::NewTable(const QString& tableName, QObject* owner) const {
  auto table = std::make_unique<Table>(owner);
  table->SetDatabaseName(DatabaseName());
  table->SetTableName(tableName);
  return table;
}

std::unique_ptr<Table> DataFixture::OpenTable(const QString& tableName) const {
  auto table = NewTable(tableName);
  table->Open();
  return table;
}

std::shared_ptr<EngineConnection> DataFixture::Connection() const { return Session::Default().OpenDatabase(DatabaseName()); }

void DataFixture::Execute(const QString& sql) const { Connection()->Execute(sql); }

QVariant DataFixture::Scalar(const QString& sql) const { return Connection()->QueryRows(sql).rows.value(0).value(0); }

void DataFixture::AddCustomer(int codigo, const QString& nombre) const {
  Execute(QStringLiteral("INSERT INTO CLIENTES (Codigo, Nombre) VALUES (%1, '%2')").arg(codigo).arg(nombre));
}

namespace {

// The text of the error of type E the action raises; empty when it raises none.
template <class E>
QString TextOf(const std::function<void()>& action, const QString& (E::*text)() const) {
  try {
    action();
  } catch (const E& error) {
    return (error.*text)();
  }
  return QString();
}

}  // namespace

QString EngineMessageOf(const std::function<void()>& action) { return TextOf(action, &EDatabaseError::EngineMessage); }

QString DriverMessageOf(const std::function<void()>& action) { return TextOf(action, &EDatabaseError::DriverMessage); }

QString MessageOf(const std::function<void()>& action) { return TextOf(action, &Exception::Message); }
