#include "core/connections/Conexiones.h"
#include "core/sql/EjecucionSQL.h"
#include "platform/Application.h"
#include "platform/data/Database.h"
#include "platform/sqlite/Connection.h"
#include "tests/core/connections/ConexionesFixture.h"

namespace {

const QString kDatabase = QStringLiteral("Database");

// The company database of the embedded server after start-up.
class FallosEjecucionSQL : public ConexionesFixture {
 protected:
  FallosEjecucionSQL() { Iniciar(); }
};

}  // namespace

TEST_F(FallosEjecucionSQL, AFailureReadingTheRowsIsAnErrorThatEndsTheProgramOnBothRoads) {
  Ejecutar(QStringLiteral("CREATE TABLE FECHAS (Fecha DATETIME NULL)"));
  // The server refuses such a date; a program writing the file itself need not.
  Conexiones(Servicios()).Database->SharedConnection()->Execute(QStringLiteral("INSERT INTO FECHAS VALUES ('ayer')"));
  const QString sql = QStringLiteral("SELECT Fecha FROM FECHAS  WHERE Fecha <> ''");
  const std::pair<QString (*)(const QString&, const QString&, const QString&), const char*> caminos[] = {
      {&EjecutarSQL, "Error. ¡Se ha producido un error en la Sentencia SQL!. Motivo: "},
      {&EjecutarSQLADO, "Error. Se ha producido un error en la Sentencia SQL!. Motivo: "},
  };
  for (const auto& [ejecutar, prefijo] : caminos) {
    Application::Instance()->ResetTerminated();
    mensajes.Expect(QStringLiteral("E")).Expect(QString());
    const QString resultado = ejecutar(sql, kDatabase, QString());
    EXPECT_TRUE(resultado.startsWith(QString::fromUtf8(prefijo)) && resultado.size() > qsizetype(qstrlen(prefijo)))
        << resultado.toStdString();
    const auto& vistos = mensajes.Messages();
    ASSERT_GE(vistos.size(), 2);
    EXPECT_EQ(vistos[vistos.size() - 2].kind, QStringLiteral("E"));
    EXPECT_EQ(vistos[vistos.size() - 2].text, resultado);
    // The statement as the caller gave it, before the empty comparison was widened.
    EXPECT_EQ(vistos.back().text, QStringLiteral("SentenciaSQL:\r\n") + sql);
    EXPECT_TRUE(Application::Instance()->Terminated());
    EXPECT_EQ(ejecutar(sql, kDatabase, QStringLiteral("Silenciosa")), resultado);
  }
  EXPECT_EQ(mensajes.Messages().size(), 4);
}

TEST_F(FallosEjecucionSQL, AProcedureRunsAsCommandAndQueryOnTheEnginesRoadAndAsCommandOnlyOnADO) {
  // Renaming twice fails the second time: the engine's road reports it, ADO does not.
  Ejecutar(QStringLiteral("CREATE TABLE UNO (Codigo INTEGER)"));
  Ejecutar(QStringLiteral("CREATE TABLE TRES (Codigo INTEGER)"));
  EXPECT_EQ(EjecutarSQLADO(QStringLiteral("EXEC sp_rename 'UNO', 'DOS'"), kDatabase), QString());
  const QString bde =
      EjecutarSQL(QStringLiteral("EXEC sp_rename 'TRES', 'CUATRO'"), kDatabase, QStringLiteral("Silenciosa"));
  EXPECT_TRUE(bde.startsWith(QStringLiteral("Error. No es posible ejecutar la sentencia SQL. Motivo: ")))
      << bde.toStdString();
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM DOS"), kDatabase), QStringLiteral("0"));
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM CUATRO"), kDatabase), QStringLiteral("0"));
}

TEST_F(FallosEjecucionSQL, ServerNameChoosesTheServerOfANamedDatabaseOnADOOnly) {
  const QString otro = carpeta.Path() + QStringLiteral("/OTRO");
  const QString sql = QStringLiteral("SELECT COUNT(*) FROM master.dbo.sysdatabases WHERE name = 'ZEMGENERAL'");
  EXPECT_EQ(EjecutarSQLADO(sql, QStringLiteral("master")), QStringLiteral("1"));
  const QString resultado = EjecutarSQLADO(sql, QStringLiteral("master"),
                                           QStringLiteral("Silenciosa,ServerName=np:") + otro + QStringLiteral(",X"));
  EXPECT_TRUE(resultado.startsWith(QStringLiteral("Error. No es posible ejecutar la sentencia SQL. Motivo: ")) &&
              resultado.contains(otro))
      << resultado.toStdString();
  // The company connection keeps its server.
  EXPECT_EQ(EjecutarSQLADO(sql, kDatabase, QStringLiteral("ServerName=np:") + otro), QStringLiteral("1"));
}
