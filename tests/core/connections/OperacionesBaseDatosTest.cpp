#include "core/connections/AperturaTablas.h"
#include "core/connections/BaseDatosEmpresa.h"
#include "core/connections/ConexionEmpresa.h"
#include "core/connections/Conexiones.h"
#include "core/connections/CopiasSQLServer.h"
#include "core/connections/RepararTablas.h"
#include "core/connections/Transacciones.h"
#include "core/connections/VersionBDE.h"
#include "core/progress/Geneprog.h"
#include "platform/IniFile.h"
#include "platform/data/AdoConnection.h"
#include "platform/data/Database.h"
#include "platform/data/Table.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/ManualClock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kNombres = QStringLiteral("SELECT Nombre FROM CLIENTES ORDER BY Codigo");
const QString kEmpresa = QStringLiteral("Database");

class OperacionesBaseDatos : public ConexionesFixture {
 protected:
  // Company 3 with its customers table, current.
  void EmpresaTres() {
    ASSERT_TRUE(CrearBaseDatosEmpresa(Servicios(), 3));
    ConectarEmpresa(Servicios(), 3);
    EmpresaActual = 3;
    Ejecutar(QStringLiteral("CREATE TABLE CLIENTES (Codigo INTEGER, Nombre VARCHAR(40))"));
    Ejecutar(QStringLiteral("INSERT INTO CLIENTES (Codigo, Nombre) VALUES (1, 'antes')"));
  }
  Database& Empresa() { return *Conexiones(Servicios()).Database; }
  QString ListaReparar() const {
    return IniFile(carpeta.File(QStringLiteral("ZEMWIN.INI")))
        .ReadString(QStringLiteral("Reconstrucción Automática de Tablas"), QStringLiteral("Tablas"), QString());
  }
};

}  // namespace

TEST_F(OperacionesBaseDatos, ATransactionCoversTheCompanyConnectionAndItsADOTwin) {
  Iniciar();
  EmpresaTres();
  AdoConnection& ado = *Conexiones(Servicios()).ADOConnection;
  EXPECT_TRUE(FinalizarTransaccion(Servicios()));  // none running: nothing to do
  ASSERT_TRUE(IniciarTransaccion(Servicios()));
  EXPECT_TRUE(Empresa().InTransaction() && ado.InTransaction());
  EXPECT_TRUE(IniciarTransaccion(Servicios(), &Empresa()));  // the running one is reused
  Ejecutar(QStringLiteral("UPDATE CLIENTES SET Nombre = 'por el motor'"));
  ASSERT_EQ(EjecutarSQLADO(QStringLiteral("INSERT INTO CLIENTES (Codigo, Nombre) VALUES (2, 'por ADO')"), kEmpresa),
            QString());
  Empresa().Rollback();
  EXPECT_FALSE(ado.InTransaction());
  EXPECT_EQ(EjecutarSQL(kNombres, kEmpresa), QStringLiteral("antes"));

  ASSERT_TRUE(IniciarTransaccion(Servicios()));
  Ejecutar(QStringLiteral("UPDATE CLIENTES SET Nombre = 'cambiado'"));
  EXPECT_TRUE(FinalizarTransaccion(Servicios()));
  EXPECT_FALSE(Empresa().InTransaction() || ado.InTransaction());
  EXPECT_EQ(EjecutarSQL(kNombres, kEmpresa), QStringLiteral("cambiado"));
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_F(OperacionesBaseDatos, ACompanyDatabaseIsCreatedOnceWithTheInstallationsSettings) {
  instalacion.Ini(QStringLiteral("Microsoft SQL Server"), QStringLiteral("NombreIntercalacionMSSQL"),
                  QStringLiteral("Modern_Spanish_CI_AI"));
  Iniciar();
  ASSERT_TRUE(CrearBaseDatosEmpresa(Servicios(), 7));
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT name, cmptlevel, recovery_model_desc, collation_name FROM "
                                       "master.dbo.sysdatabases WHERE name = 'ZEMEMP7'"),
                        kEmpresa),
            QStringLiteral("ZEMEMP7|80|SIMPLE|Modern_Spanish_CI_AI"));
  // A second creation stops at its first statement: the SQL layer's warnings, then the error that ends the
  // program.
  mensajes.Expect(QStringLiteral("A")).Expect(QString()).Expect(QStringLiteral("E"));
  EXPECT_FALSE(CrearBaseDatosEmpresa(Servicios(), 7));
  ASSERT_EQ(mensajes.Texts().size(), 3);
  EXPECT_TRUE(mensajes.Texts()[1].endsWith(QStringLiteral("CREATE DATABASE ZEMEMP7  COLLATE Modern_Spanish_CI_AI")))
      << mensajes.Texts()[1].toStdString();
  EXPECT_TRUE(mensajes.Texts()[2].startsWith(QStringLiteral("¡Imposible crear la base de datos ZEMEMP7!. Motivo:")));
  EXPECT_TRUE(Application::Instance()->Terminated());
}

TEST_F(OperacionesBaseDatos, OnParadoxACompanyDatabaseIsItsFolderAndFile) {
  instalacion.Engine(QStringLiteral("Paradox"));
  Iniciar();
  ASSERT_TRUE(CrearBaseDatosEmpresa(Servicios(), 5));
  EXPECT_TRUE(QFileInfo::exists(instalacion.GeneralFolder() + QStringLiteral("/5/DATOS.SQLITE")));
  // A folder that cannot be made ends the program.
  QFile(instalacion.GeneralFolder() + QStringLiteral("/6")).open(QIODevice::WriteOnly);
  mensajes.Expect(QStringLiteral("E"));
  EXPECT_FALSE(CrearBaseDatosEmpresa(Servicios(), 6));
  EXPECT_TRUE(mensajes.Texts().value(0).startsWith(QStringLiteral("¡Imposible crear la base de datos ") +
                                                   instalacion.GeneralFolder() + QStringLiteral("/6!. Motivo:")));
}

TEST_F(OperacionesBaseDatos, ARestoredCompanyHoldsWhatItHeldAtItsBackup) {
  ManualClock reloj(QDateTime(QDate(2024, 1, 31), QTime(15, 45, 0)));
  EXPECT_EQ(NombreCopiaSeguridad(QStringLiteral("D:\\Copias"), QStringLiteral("EMP3")),
            QStringLiteral("D:\\Copias\\dbb_EMP3_20240131154500.bak"));
  Iniciar();
  EmpresaTres();
  // A quote in the folder stays inside the statement's one literal.
  const QString copias = carpeta.File(QStringLiteral("Copias de O'Donnell"));
  QDir().mkpath(copias);
  ASSERT_TRUE(CopiaSeguridadSQLServer(Servicios(), QString(), copias));
  EXPECT_EQ(fGENEPROG, nullptr);
  Ejecutar(QStringLiteral("UPDATE CLIENTES SET Nombre = 'después'"));
  Ejecutar(QStringLiteral("INSERT INTO CLIENTES (Codigo, Nombre) VALUES (2, 'nuevo')"));
  ASSERT_TRUE(RestaurarCopiaSQLServer(Servicios(), QStringLiteral("ZEMEMP3"), NombreCopiaSeguridad(copias, QStringLiteral("ZEMEMP3"))));
  for (const auto& ejecutar : {&EjecutarSQL, &EjecutarSQLADO})
    EXPECT_EQ(ejecutar(kNombres, kEmpresa, QString()), QStringLiteral("antes"));

  // The server's refusal reaches the caller once the progress window is off.
  reloj.Advance(1000);
  EXPECT_THROW(RestaurarCopiaSQLServer(Servicios(), QString(), NombreCopiaSeguridad(copias, QStringLiteral("ZEMEMP3"))),
               std::exception);
  EXPECT_EQ(fGENEPROG, nullptr);
  EXPECT_EQ(EjecutarSQL(kNombres, kEmpresa), QStringLiteral("antes"));
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_F(OperacionesBaseDatos, TheRepairListTakesParadoxTablesWithIndexOrCorruptionErrorsOnce) {
  instalacion.Engine(QStringLiteral("Paradox"));
  Iniciar();
  EmpresaActual = 3;
  Table clientes, pedidos;
  clientes.SetTableName(QStringLiteral("CLIENTES"));
  pedidos.SetTableName(QStringLiteral("PEDIDOS"));
  const QString carpetaEmpresa = instalacion.GeneralFolder() + QStringLiteral("/3/");
  const QString ambas = carpetaEmpresa + QStringLiteral("CLIENTES,") + carpetaEmpresa + QStringLiteral("PEDIDOS,");
  // The table, the error, the list afterwards.
  const std::tuple<Table*, const char*, QString> casos[] = {
      {&pedidos, "Index is out of date", carpetaEmpresa + QStringLiteral("PEDIDOS,")},
      {&clientes, "Record locked by another user\ndatabase is locked", carpetaEmpresa + QStringLiteral("PEDIDOS,")},
      {&clientes, "Corrupt table/index header.", ambas},
      {&pedidos, "index is out of date", ambas},
      {nullptr, "Index is out of date", ambas},
  };
  for (const auto& [tabla, error, lista] : casos) {
    RepararTablas(Servicios(), tabla, QLatin1String(error));
    EXPECT_EQ(ListaReparar(), lista) << error;
  }
}

TEST_F(OperacionesBaseDatos, OnSQLServerNothingGoesToTheRepairList) {
  Iniciar();
  Table clientes;
  clientes.SetTableName(QStringLiteral("CLIENTES"));
  RepararTablas(Servicios(), &clientes, QStringLiteral("Index is out of date"));
  EXPECT_EQ(ListaReparar(), QString());
}

TEST_F(OperacionesBaseDatos, ADamagedParadoxFileIsListedForRepairWhenATableFailsToOpen) {
  instalacion.Engine(QStringLiteral("Paradox"));
  Iniciar();
  ConectarEmpresa(Servicios(), 3);
  EmpresaActual = 3;
  Ejecutar(QStringLiteral("CREATE TABLE CLIENTES (Codigo INTEGER, Nombre VARCHAR(40))"));
  Empresa().Close();
  const QString archivo = instalacion.GeneralFolder() + QStringLiteral("/3/DATOS.SQLITE");
  {
    QFile datos(archivo);
    ASSERT_TRUE(datos.open(QIODevice::ReadWrite));
    datos.write(QByteArray(100, 'x'));  // the file header
  }
  Table clientes;
  clientes.SetTableName(QStringLiteral("CLIENTES"));
  mensajes.Expect(QStringLiteral("E"));
  EXPECT_FALSE(AbrirTabla(Servicios(), Servicios(), clientes));
  EXPECT_EQ(ListaReparar(), instalacion.GeneralFolder() + QStringLiteral("/3/CLIENTES,"));
  EXPECT_TRUE(mensajes.Texts().value(0).contains(QLatin1String(EngineText::CorruptHeader)));
}

TEST(VersionBDE, GivesTheEnginesVersionInItsFourLines) {
  const QStringList lineas = VersionBDE().split(QStringLiteral("\r\n"));
  const QRegularExpression forma(QStringLiteral(
      "^EngineVersion=3\\.\\d{3}\\|InterfaceLevel=3\\.\\d{3}\\|VersionDate=\\d\\d/\\d\\d/\\d\\d\\|"
      "VersionTime=\\d\\d:\\d\\d:\\d\\d$"));
  EXPECT_TRUE(forma.match(lineas.join(u'|')).hasMatch()) << lineas.join(u'|').toStdString();
}
