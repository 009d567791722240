#include "platform/sql/ServerCommands.h"
#include "platform/sql/ServerSession.h"
#include "platform/sql/SqlError.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/sql/ServerClient.h"

#include <gtest/gtest.h>

// The statements of connecting, switching company and running SQL, as the
// system writes them, on the embedded server against SQL Server's answers.

namespace {

using Rows = QList<QStringList>;

class ConnectionStatements : public ::testing::Test {
 protected:
  ConnectionStatements() : client_(folder_.Path(), u"ZEM"_qs) {
    for (const char* statement :
         {"USE master CREATE DATABASE ZEMGENERAL  COLLATE SQL_Latin1_General_Cp1_CI_AI",
          "USE master CREATE DATABASE ZEMEMP7  COLLATE SQL_Latin1_General_Cp1_CI_AI", "EXEC sp_dbcmptlevel ZEMEMP7, 80",
          "ALTER DATABASE ZEMEMP7 SET RECOVERY SIMPLE", "USE ZEMGENERAL",
          "CREATE TABLE EMPRESA (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
          "CONSTRAINT EMPRESA_Clave1 PRIMARY KEY (Codigo))",
          "INSERT INTO EMPRESA (Codigo, Nombre)  VALUES ('7', 'SEPTIMA') ", "USE ZEMEMP7",
          "CREATE TABLE CLIENTES (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
          "CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))",
          "CREATE TABLE VISITAS (Cliente VARCHAR(10) DEFAULT '', Fecha DATETIME DEFAULT '12/30/1899 00:00:00', "
          "Resumen TEXT NULL, Detalle TEXT NULL, CONSTRAINT VISITAS_Clave1 PRIMARY KEY (Cliente, Fecha))",
          // InsertarValores: texts quoted, quotes removed.
          "INSERT INTO CLIENTES (Codigo, Nombre)  VALUES ('7', 'ONeil') ",
          "INSERT INTO CLIENTES (Codigo)  VALUES ('8') ",
          "INSERT INTO VISITAS (Cliente, Fecha, Resumen, Detalle)  VALUES ('C1', '01/31/2024 10:15:00', 'a', 'b') "})
      client_.Run(QString::fromUtf8(statement));
  }

  TemporaryFolder folder_;
  ServerClient client_;
};

}  // namespace

TEST_F(ConnectionStatements, CompanyDatabasesAreCreatedAsTheSystemAsks) {
  EXPECT_EQ(client_.Texts(u"USE master SELECT cmptlevel, recovery_model_desc, collation_name FROM sysdatabases "
                          u"WHERE name = 'ZEMEMP7'"_qs),
            Rows({{"80", "SIMPLE", "SQL_Latin1_General_CP1_CI_AI"}}));
  EXPECT_EQ(client_.Texts(u"SELECT @@VERSION"_qs), Rows({{ServerCommands::VersionText()}}));
  client_.Run(u"SET TRANSACTION ISOLATION LEVEL READ UNCOMMITTED"_qs);
  EXPECT_EQ(client_.Session().IsolationLevel(), u"READ UNCOMMITTED"_qs);
  EXPECT_THROW(client_.Run(u"USE master CREATE DATABASE ZEMEMP7  COLLATE SQL_Latin1_General_Cp1_CI_AI"_qs), SqlError);
}

TEST_F(ConnectionStatements, TheExecutionLayerRewritesAnswerAsOnSqlServer) {
  client_.Run(u"USE ZEMEMP7"_qs);
  const struct {
    const char* statement;
    Rows expected;
  } cases[] = {
      {"SELECT Codigo FROM CLIENTES WHERE Nombre IS NULL ", {}},
      {"SELECT Codigo FROM CLIENTES WHERE (Nombre = '' OR Nombre IS NULL) ", {{"8"}}},
      {"SELECT Codigo FROM CLIENTES WHERE (Nombre <> '' AND Nombre IS NOT NULL) ", {{"7"}}},
      {"SELECT Nombre FROM CLIENTES WHERE Codigo = '7'", {{"ONeil"}}},
      // The memo rewrite of SentenciaUpdate: quotes doubled, empty memos NULL, dates keyed in FormatoFechaSQL.
      {"UPDATE VISITAS  SET Resumen = 'de O''Neil', Detalle = NULL  WHERE Cliente = 'C1' AND Fecha = '01/31/2024 "
       "10:15:00'",
       {}},
      {"SELECT Resumen, Detalle FROM VISITAS", {{"de O'Neil", "NULL"}}},
      // A company table with a general table through the general database's name.
      {"SELECT C.Nombre, E.Nombre FROM CLIENTES C JOIN ZEMGENERAL.dbo.EMPRESA E ON E.Codigo = C.Codigo", {{"ONeil", "SEPTIMA"}}},
      {"SELECT TOP 1 collation_name   FROM information_schema.columns   WHERE table_name = 'TXIDIOMA'", {}},
  };
  for (const auto& c : cases) {
    try {
      EXPECT_EQ(client_.Texts(QString::fromUtf8(c.statement)), c.expected) << c.statement;
    } catch (const EDatabaseError& error) {
      ADD_FAILURE() << c.statement << ": " << error.what();
    }
  }
}
