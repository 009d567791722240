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
  // Company 3, current, with its customers table.
  void EmpresaTres() {
    ASSERT_TRUE(CrearBaseDatosEmpresa(3));
    ConectarEmpresa(Servicios(), 3);
    EmpresaActual = 3;
    Ejecutar(QStringLiteral("CREATE TABLE CLIENTES (Codigo INTEGER, Nombre VARCHAR(40))"));
    Ejecutar(QStringLiteral("INSERT INTO CLIENTES (Codigo, Nombre) VALUES (1, 'antes')"));
    Ejecutar(QStringLiteral("INSERT INTO CLIENTES (Codigo, Nombre) VALUES (3, 'otro')"));
  }
  Database& Empresa() { return *Conexiones(Servicios()).Database; }
};

}  // namespace

TEST_F(OperacionesBaseDatos, ATransactionCoversTheCompanyConnectionAndItsADOTwin) {
  Iniciar();
  EmpresaTres();
  AdoConnection& ado = *Conexiones(Servicios()).ADOConnection;
  EXPECT_TRUE(FinalizarTransaccion(Servicios()));  // none running: nothing to do
  // Rolled back, then committed by FinalizarTransaccion: the writes of both roads go together.
  for (const char* final : {"antes\r\notro", "cambiado"}) {
    ASSERT_TRUE(IniciarTransaccion(Servicios()) && IniciarTransaccion(Servicios(), &Empresa()));  // reused
    EXPECT_TRUE(Empresa().InTransaction() && ado.InTransaction());
    Ejecutar(QStringLiteral("UPDATE CLIENTES SET Nombre = 'cambiado'"));
    ASSERT_EQ(EjecutarSQLADO(QStringLiteral("DELETE FROM CLIENTES WHERE Codigo = 3"), kEmpresa), QString());
    *final == 'a' ? Empresa().Rollback() : (void)FinalizarTransaccion(Servicios());
    EXPECT_FALSE(Empresa().InTransaction() || ado.InTransaction());
    EXPECT_EQ(EjecutarSQL(kNombres, kEmpresa), QLatin1String(final));
  }
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_F(OperacionesBaseDatos, ACompanyDatabaseIsCreatedOnceAndRestoredHoldsWhatItHeldAtItsBackup) {
  ManualClock reloj(QDateTime(QDate(2024, 1, 31), QTime(15, 45, 0)));
  EXPECT_EQ(NombreCopiaSeguridad(QStringLiteral("D:\\Copias"), QStringLiteral("EMP3")),
            QStringLiteral("D:\\Copias\\dbb_EMP3_20240131154500.bak"));
  instalacion.Ini(QStringLiteral("Microsoft SQL Server"), QStringLiteral("NombreIntercalacionMSSQL"),
                  QStringLiteral("Modern_Spanish_CI_AI"));
  Iniciar();
  EmpresaTres();
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT cmptlevel, recovery_model_desc, collation_name FROM "
                                       "master.dbo.sysdatabases WHERE name = 'ZEMEMP3'"),
                        kEmpresa),
            QStringLiteral("80|SIMPLE|Modern_Spanish_CI_AI"));
  // A quote in the folder stays inside the statement's one literal.
  const QString copias = carpeta.File(QStringLiteral("Copias de O'Donnell"));
  QDir().mkpath(copias);
  // No folder chosen (here: no chooser at all, which is warned of): nothing runs.
  mensajes.Expect(QStringLiteral("A"));
  EXPECT_FALSE(CopiaSeguridadSQLServer(Servicios(), QString(), QString()));
  ASSERT_TRUE(CopiaSeguridadSQLServer(Servicios(), QString(), copias));
  Ejecutar(QStringLiteral("UPDATE CLIENTES SET Nombre = 'después'"));
  ASSERT_TRUE(RestaurarCopiaSQLServer(Servicios(), QStringLiteral("ZEMEMP3"),
                                      NombreCopiaSeguridad(copias, QStringLiteral("ZEMEMP3"))));
  for (const auto& ejecutar : {&EjecutarSQL, &EjecutarSQLADO})
    EXPECT_EQ(ejecutar(kNombres, kEmpresa, QString()), QStringLiteral("antes\r\notro"));
  // The server's refusal reaches the caller once the progress window is off.
  reloj.Advance(1000);
  EXPECT_THROW(RestaurarCopiaSQLServer(Servicios(), QString(), NombreCopiaSeguridad(copias, QStringLiteral("ZEMEMP3"))),
               std::exception);
  EXPECT_EQ(fGENEPROG, nullptr);
  // A second creation stops at its first statement: the SQL layer's warnings, then the error that ends the program.
  mensajes.Expect(QStringLiteral("A")).Expect(QString()).Expect(QStringLiteral("E"));
  EXPECT_FALSE(CrearBaseDatosEmpresa(3));
  EXPECT_TRUE(mensajes.Texts().value(2).endsWith(QStringLiteral("CREATE DATABASE ZEMEMP3  COLLATE Modern_Spanish_CI_AI")));
  EXPECT_TRUE(mensajes.Texts().value(3).startsWith(QStringLiteral("¡Imposible crear la base de datos ZEMEMP3!. Motivo:")));
}

TEST_F(OperacionesBaseDatos, ParadoxTablesWithIndexOrCorruptionErrorsGoOnceToTheRepairList) {
  instalacion.Engine(QStringLiteral("Paradox"));
  Iniciar();
  EmpresaTres();
  const QString carpetaEmpresa = instalacion.GeneralFolder() + QStringLiteral("/3/");
  Empresa().Close();
  QFile datos(carpetaEmpresa + QStringLiteral("DATOS.SQLITE"));  // made by the company's creation
  ASSERT_TRUE(datos.open(QIODevice::ReadWrite) && datos.write(QByteArray(100, 'x')) == 100);  // its header
  datos.close();
  Table clientes, pedidos;
  clientes.SetTableName(QStringLiteral("CLIENTES"));
  pedidos.SetTableName(QStringLiteral("PEDIDOS"));
  mensajes.Expect(QStringLiteral("E"));
  EXPECT_FALSE(AbrirTabla(Servicios(), Servicios(), clientes));
  EXPECT_TRUE(mensajes.Texts().value(0).contains(QStringLiteral("Corrupt table/index header.")));
  // The engine, the table, the error; the list afterwards.
  const QString una = carpetaEmpresa + QStringLiteral("CLIENTES,"), dos = una + carpetaEmpresa + QStringLiteral("PEDIDOS,");
  const std::tuple<const char*, Table*, const char*, QString> casos[] = {
      {"Paradox", &pedidos, "Record locked by another user\ndatabase is locked", una},
      {"Microsoft SQL Server", &pedidos, "Index is out of date", una},
      {"Paradox", &pedidos, "index is out of date", dos}, {"Paradox", &clientes, "Index is out of date", dos},
      {"Paradox", nullptr, "Index is out of date", dos},
  };
  for (const auto& [motor, tabla, error, lista] : casos) {
    TipoBaseDatos = QLatin1String(motor);
    RepararTablas(Servicios(), tabla, QLatin1String(error));
    EXPECT_EQ(IniFile(ArchivoINI).ReadString(QStringLiteral("Reconstrucción Automática de Tablas"),
                                             QStringLiteral("Tablas"), QString()),
              lista)
        << error;
  }
}

TEST(VersionBDE, GivesTheEnginesVersionInItsFourLines) {
  const QRegularExpression forma(QStringLiteral("^EngineVersion=3\\.\\d{3}\r\nInterfaceLevel=3\\.\\d{3}\r\n"
                                                "VersionDate=\\d\\d/\\d\\d/\\d\\d\r\nVersionTime=\\d\\d:\\d\\d:\\d\\d$"));
  EXPECT_TRUE(forma.match(VersionBDE()).hasMatch()) << VersionBDE().toStdString();
}
