#include "core/connections/VariablesConexion.h"
#include "core/startup/Configuracion.h"
#include "core/tables/DefinicionesEstructura.h"
#include "core/tables/SentenciasCreacion.h"
#include "platform/Cp1252.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "platform/odbc/OdbcConnection.h"
#include "platform/odbc/SqlServerOdbc.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/fixtures/InstallationBuilder.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <gtest/gtest.h>

// The SQL Server texts the system builds, run on a real server when
// ZEMWIN_SQLSERVER_ODBC holds an ODBC connection string to an empty
// database; everything is rolled back.
TEST(ServidorSQLReal, TheTablesOfTheShippedDefinitionsAreCreated) {
  const QString conexion = qEnvironmentVariable("ZEMWIN_SQLSERVER_ODBC");
  if (conexion.isEmpty()) GTEST_SKIP() << "ZEMWIN_SQLSERVER_ODBC names no SQL Server";
  TemporaryFolder carpeta;
  InstallationBuilder(carpeta.Path()).Write();
  const QString definiciones = Cp1252::decode(
      TextFile::ReadBytes(Paths::Join(carpeta.Path(), QString::fromLatin1(InstallationBuilder::kDefinitionsFile))));
  TipoBaseDatos = u"Microsoft SQL Server"_qs;
  FechaNulaSQL = u"12/30/1899 00:00:00"_qs;

  const auto servidor = SqlServerOdbc::Open(conexion);
  servidor->StartTransaction();
  const QStringList tablas = LineasDefinicion(ListaTablasDefinidas(definiciones));
  ASSERT_FALSE(tablas.isEmpty());
  for (const QString& tabla : tablas) {
    const QStringList lineas = LineasDefinicion(DefinicionTabla(tabla, definiciones));
    QStringList sentencias{SentenciaCrearTablaSQL(tabla, lineas, TipoBaseDatos, false)};
    sentencias << SentenciasIndicesSQL(tabla, lineas);
    for (const QString& sentencia : sentencias) {
      try {
        servidor->Execute(sentencia);
      } catch (const EDatabaseError& error) {
        ADD_FAILURE() << sentencia.toStdString() << "\n" << error.what();
      }
    }
    EXPECT_TRUE(servidor->TableExists(tabla)) << tabla.toStdString();
  }
  servidor->Rollback();
  EXPECT_FALSE(servidor->TableExists(tablas.first()));
}
