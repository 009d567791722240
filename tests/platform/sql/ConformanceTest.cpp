#include "platform/sql/SqlError.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/sql/ServerClient.h"

#include <gtest/gtest.h>

// The statements the system builds, run on the embedded server against the
// answer SQL Server gives them. ZEMG is created Modern_Spanish_CI_AI ("ñ" a
// letter of its own), ZEM1 with the default SQL_Latin1_General_Cp1_CI_AI.

namespace {

using Rows = QList<QStringList>;

struct Case {
  const char* statement;
  Rows expected;
  bool anyOrder = false;  // no ORDER BY: SQL Server promises no order either
};

const char* const kSetUp[] = {
    "USE master CREATE DATABASE ZEMG  COLLATE Modern_Spanish_CI_AI",
    "EXEC sp_dbcmptlevel ZEMG, 80",
    "ALTER DATABASE ZEMG SET RECOVERY SIMPLE",
    "USE master CREATE DATABASE ZEM1  COLLATE SQL_Latin1_General_Cp1_CI_AI",
    "USE ZEMG",
    "CREATE TABLE dbo.TXIDIOMA (Idioma VARCHAR(10) DEFAULT '', ClaveTexto VARCHAR(250) DEFAULT '', "
    "Texto VARCHAR(250) DEFAULT '' NULL, CONSTRAINT TXIDIOMA_Clave1 PRIMARY KEY (Idioma, ClaveTexto))",
    "CREATE TABLE dbo.CAMPOUSR (NombreTabla VARCHAR(20) DEFAULT '', OrdenCampo INTEGER DEFAULT 0, "
    "NombreCampo VARCHAR(30) DEFAULT '' NULL, TipoCampo VARCHAR(20) DEFAULT '' NULL, "
    "LongitudCampo INTEGER DEFAULT 0 NULL, CONSTRAINT CAMPOUSR_Clave1 PRIMARY KEY (NombreTabla, OrdenCampo))",
    "CREATE TABLE dbo.NOMBTTEM (Contador INTEGER DEFAULT 0, NombreTablaTemporalOrg VARCHAR(250) DEFAULT '' NULL, "
    "NombreTablaTemporal VARCHAR(20) DEFAULT '' NULL, CONSTRAINT NOMBTTEM_Clave1 PRIMARY KEY (Contador))",
    "CREATE TABLE dbo.EMPRESA (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
    "CONSTRAINT EMPRESA_Clave1 PRIMARY KEY (Codigo))",
    "INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ('ENG', 'Año', 'Year')",
    "INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ('ENG', 'Ano', 'Anus')",
    "INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ('ENG', 'Aceptar', 'Accept')",
    "INSERT INTO CAMPOUSR (NombreTabla, OrdenCampo, NombreCampo, TipoCampo, LongitudCampo) "
    "VALUES ('CLIENTES', '1', 'Ciudad', 'Alfanumerico', '30')",
    "INSERT INTO EMPRESA (Codigo, Nombre) VALUES ('2', 'SEGUNDA')",
    "INSERT INTO EMPRESA (Codigo, Nombre) VALUES ('1', 'EMPRESA 1')",
    "USE ZEM1",
    "CREATE TABLE dbo.CLIENTES (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
    "CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))",
    "CREATE TABLE dbo.ARTICULO (Empresa INTEGER DEFAULT 0, Codigo VARCHAR(10) DEFAULT '', "
    "Descripcion VARCHAR(40) DEFAULT '' NULL, Fecha DATETIME DEFAULT '12/30/1899 00:00:00' NULL, Notas TEXT NULL, "
    "CONSTRAINT ARTICULO_Clave1 PRIMARY KEY (Empresa, Codigo))",
    "CREATE INDEX ARTICULO_Fecha ON ARTICULO (Fecha,Codigo) ",
    "CREATE TABLE dbo.TEXTO (Codigo VARCHAR(10) DEFAULT '', Descripcion VARCHAR(40) DEFAULT '' NULL, "
    "Texto TEXT NULL, Tipo VARCHAR(10) DEFAULT '' NULL, CONSTRAINT TEXTO_Clave1 PRIMARY KEY (Codigo))",
    "CREATE TABLE dbo.BLOBTAB (NombreTabla VARCHAR(20) DEFAULT '', ClaveTabla VARCHAR(250) DEFAULT '', "
    "IdObjeto VARCHAR(40) DEFAULT '', TipoObjeto VARCHAR(10) DEFAULT '' NULL, Objeto IMAGE NULL, "
    "CONSTRAINT BLOBTAB_Clave1 PRIMARY KEY (NombreTabla, ClaveTabla, IdObjeto))",
    // Out of key order, so that a TOP without ORDER BY tells the key's order from the insertion's.
    "INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('3', 'Zamora')",
    "INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('1', 'Álvaro')",
    "INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('2', 'Ávila')",
    "INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('4', 'bueno')",
    "INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('5', NULL)",
    "INSERT INTO CLIENTES VALUES (6, '')",
    "INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('7', 'Casa Peña')",
    "INSERT INTO ARTICULO (Empresa, Codigo, Descripcion, Fecha) VALUES ('1', '7', 'Tornillo', '01/31/2024 00:00:00')",
    "INSERT INTO ARTICULO (Empresa, Codigo, Descripcion, Fecha) VALUES ('1', '12', 'Tuerca', '02/29/2024 10:15:00')",
    "INSERT INTO ARTICULO (Empresa, Codigo, Descripcion) VALUES ('1', 'A1', 'Arandela')",
    "INSERT INTO ARTICULO (Empresa, Codigo, Descripcion) VALUES ('2', '99', 'Otra empresa')",
    "INSERT INTO TEXTO (Codigo, Descripcion, Texto, Tipo) VALUES ('T1', 'Saludo', 'Hola', 'Texto')",
    "INSERT INTO TEXTO (Codigo, Descripcion, Texto, Tipo) VALUES ('T2', 'Ficha', 'Nombre:', 'Plantilla')",
    "INSERT INTO BLOBTAB (NombreTabla, ClaveTabla, IdObjeto, TipoObjeto) VALUES ('CLIENTES', '1;', '1', 'PDF')",
};

const Case kCompanyCases[] = {
    // Text "+" joins; SQLite's "+" would add the numbers.
    {"SELECT '1' + '2'", {{"12"}}},
    {"SELECT 1 + 2, '5' + 1, 2.5 + 1, '' + 1, 1.5 + '2'", {{"3", "6", "3.5", "1", "3.5"}}},
    {"SELECT Nombre + ' (' + CAST(Codigo AS VARCHAR) + ')' FROM CLIENTES WHERE Codigo = 1", {{"Álvaro (1)"}}},
    {"SELECT 'ZEM' + CONVERT(VARCHAR(4), Codigo) FROM ZEMG.dbo.EMPRESA ORDER BY Codigo", {{"ZEM1"}, {"ZEM2"}}},
    // Empty text and NULL.
    {"SELECT 'x' + Nombre FROM CLIENTES WHERE Codigo = 5", {{"NULL"}}},
    {"SELECT COUNT(*) FROM CLIENTES WHERE Nombre = ''", {{"1"}}},
    {"SELECT COUNT(*) FROM CLIENTES WHERE (Nombre = '' OR Nombre IS NULL)", {{"2"}}},
    {"SELECT COUNT(*) FROM CLIENTES WHERE ISNULL(Nombre, '') = ''", {{"2"}}},
    {"SELECT LEN(''), LEN(NULL), LEN('ab  '), ISNUMERIC(''), CAST('' AS INTEGER)", {{"0", "NULL", "2", "0", "0"}}},
    // Accents, case and trailing blanks.
    {"SELECT Codigo FROM CLIENTES WHERE Nombre = 'ALVARO'", {{"1"}}},
    {"SELECT Codigo FROM CLIENTES WHERE Nombre = 'bueno   '", {{"4"}}},
    {"SELECT Codigo FROM CLIENTES WHERE Nombre LIKE '%PENA%'", {{"7"}}},
    {"SELECT Nombre FROM CLIENTES WHERE Nombre <> '' ORDER BY Nombre",
     {{"Álvaro"}, {"Ávila"}, {"bueno"}, {"Casa Peña"}, {"Zamora"}}},
    {"SELECT UPPER(Nombre), CHARINDEX('PEÑA', Nombre) FROM CLIENTES WHERE Codigo = 7", {{"CASA PEÑA", "6"}}},
    // TOP without ORDER BY reads in key order.
    {"SELECT TOP 1 Codigo FROM CLIENTES", {{"1"}}},
    {"SELECT TOP 2 Nombre FROM CLIENTES WHERE Codigo > 1", {{"Ávila"}, {"Zamora"}}},
    {"SELECT TOP 1 Codigo FROM CLIENTES ORDER BY Codigo DESC", {{"7"}}},
    // Key existence, next code.
    {"SELECT Codigo FROM CLIENTES  WHERE 1=1   AND Codigo = '4'", {{"4"}}},
    {"SELECT MAX(CAST(Codigo AS INTEGER))  FROM ARTICULO WITH(NOLOCK)  WHERE  (ISNUMERIC(Codigo) = 1)  AND  (Empresa=1) ",
     {{"12"}}},
    {"SELECT MAX(Codigo)  FROM CLIENTES WITH(NOLOCK)  WHERE  (Codigo >= 2)  AND  (Codigo <= 5) ", {{"5"}}},
    // Dates written in FormatoFechaSQL.
    {"SELECT Descripcion FROM ARTICULO WHERE Fecha = '01/31/2024 00:00:00'", {{"Tornillo"}}},
    {"SELECT COUNT(*) FROM ARTICULO WHERE Fecha > '01/31/2024'", {{"1"}}},
    {"SELECT CONVERT( VARCHAR, Fecha, 103) + ' ' + CONVERT( VARCHAR, Fecha ,108) FROM ARTICULO WHERE Codigo = '12'",
     {{"29/02/2024 10:15:00"}}},
    // Text functions as the access triggers split the application name.
    {"SELECT CHARINDEX('|', 'ZEM|MASP'), SUBSTRING('ZEM|MASP', 0, CHARINDEX('|', 'ZEM|MASP')), "
     "SUBSTRING('ZEM|MASP', CHARINDEX('|','ZEM|MASP')+1, LEN('ZEM|MASP')-(CHARINDEX('|','ZEM|MASP')))",
     {{"4", "ZEM", "MASP"}}},
    // Key fields and columns from the catalogue.
    {"SELECT C.Name   FROM SYSINDEXES I JOIN SYSINDEXKEYS K   ON I.id = K.id AND I.indid = K.indid   JOIN SYSCOLUMNS C "
     "ON I.id = C.id AND K.colid = C.colid   WHERE I.Name = 'ARTICULO_Clave1'  ORDER BY K.KeyNo",
     {{"Empresa"}, {"Codigo"}}},
    {"SELECT C.Name   FROM SYSINDEXES I JOIN SYSINDEXKEYS K   ON I.id = K.id AND I.indid = K.indid   JOIN SYSCOLUMNS C "
     "ON I.id = C.id AND K.colid = C.colid   WHERE I.Name = 'articulo_clave1'  ORDER BY K.KeyNo",
     {{"Empresa"}, {"Codigo"}}},
    {"SELECT C.Name   FROM SYSINDEXES I JOIN SYSINDEXKEYS K   ON I.id = K.id AND I.indid = K.indid   JOIN SYSCOLUMNS C "
     "ON I.id = C.id AND K.colid = C.colid   WHERE I.Name = 'ARTICULO_Fecha'  ORDER BY K.KeyNo",
     {{"Fecha"}, {"Codigo"}}},
    {"SELECT C.Name   FROM SYSINDEXES I JOIN SYSINDEXKEYS K   ON I.id = K.id AND I.indid = K.indid   JOIN SYSCOLUMNS C "
     "ON I.id = C.id AND K.colid = C.colid   WHERE I.Name = 'NOEXISTE_Clave1'  ORDER BY K.KeyNo",
     {}},
    {"SELECT C.Name   FROM SYSCOLUMNS C JOIN SYSOBJECTS O        ON C.id = O.id   WHERE O.name = 'ARTICULO' "
     "ORDER BY C.colid ",
     {{"Empresa"}, {"Codigo"}, {"Descripcion"}, {"Fecha"}, {"Notas"}}},
    {"SELECT C.Name   FROM SYSCOLUMNS C JOIN SYSOBJECTS O        ON C.id = O.id   WHERE O.name = 'ARTICULO' "
     "AND C.xtype <> 35  ORDER BY C.colid ",
     {{"Empresa"}, {"Codigo"}, {"Descripcion"}, {"Fecha"}}},
    {"SELECT COUNT(*) FROM SYSOBJECTS WHERE xtype = 'U'", {{"4"}}},
    // Who is connected.
    {"SELECT DISTINCT nt_username   FROM master.dbo.sysprocesses   WHERE nt_username <> ''  ORDER BY nt_username",
     {{"usuario"}}},
    {"SELECT COUNT(DISTINCT P.hostprocess + P.nt_username)   FROM master.dbo.sysprocesses P   JOIN "
     "master.dbo.sysdatabases D     ON D.dbid = P.dbid   WHERE P.nt_username <> ''    AND (D.name = 'ZEMG'         "
     "OR D.name LIKE 'ZEM%')",
     {{"1"}}},
    // Stored objects, templates, user fields of the general database.
    {"SELECT TipoObjeto FROM BLOBTAB   WHERE NombreTabla = 'CLIENTES'    AND ClaveTabla = '1;'    AND IdObjeto = '1'",
     {{"PDF"}}},
    {"SELECT Tipo FROM TEXTO WHERE Codigo = 't2'", {{"Plantilla"}}},
    {"SELECT OrdenCampo, NombreCampo, TipoCampo, LongitudCampo   FROM ZEMG.dbo.CAMPOUSR   WHERE NombreTabla = 'CLIENTES'",
     {{"1", "Ciudad", "Alfanumerico", "30"}}},
    // DELETE T WHERE and the memo rewrite.
    {"DELETE TEXTO   WHERE Codigo = 'T1'", {}},
    {"UPDATE TEXTO  SET Texto = NULL  WHERE Codigo = 'T2'", {}},
    {"SELECT Codigo, Texto FROM TEXTO", {{"T2", "NULL"}}},
    // Table creation from the structure definitions, and a temporary table filled from a query.
    {"CREATE TABLE dbo.INCAPLIC (NumeroIncidencia INTEGER DEFAULT 0, Fecha DATETIME DEFAULT '12/30/1899 00:00:00' NULL, "
     "CodigoEmpresa SMALLINT DEFAULT 0 NULL, Descripcion TEXT  NULL, Factor DECIMAL(28,12) DEFAULT 0 NULL, "
     "Foto IMAGE NULL, CONSTRAINT INCAPLIC_Clave1 PRIMARY KEY (NumeroIncidencia))",
     {}},
    {"CREATE INDEX INCAPLIC_Fecha ON INCAPLIC (Fecha,NumeroIncidencia) ", {}},
    {"INSERT INTO INCAPLIC (NumeroIncidencia) VALUES (1)", {}},
    {"SELECT NumeroIncidencia, CodigoEmpresa, Descripcion FROM INCAPLIC", {{"1", "0", "NULL"}}},
    {"CREATE TABLE TEMP000001_X (Codigo INTEGER DEFAULT 0 NULL, Nombre VARCHAR(40) DEFAULT '' NULL)", {}},
    {"INSERT INTO TEMP000001_X SELECT Codigo, Nombre FROM CLIENTES WHERE Codigo < 3", {}},
    {"SELECT Nombre FROM TEMP000001_X ORDER BY Codigo", {{"Álvaro"}, {"Ávila"}}},
};

const Case kGeneralCases[] = {
    {"SELECT TOP 1 collation_name   FROM information_schema.columns   WHERE table_name = 'TXIDIOMA'",
     {{"Modern_Spanish_CI_AI"}}},
    // In a Spanish collation "ñ" is its own letter.
    {"SELECT TOP 1 Texto FROM TXIDIOMA   WHERE Idioma = 'eng'    AND ClaveTexto = 'AÑO' COLLATE Modern_Spanish_CI_AI",
     {{"Year"}}},
    {"SELECT TOP 1 Texto FROM TXIDIOMA   WHERE Idioma = 'ENG'    AND ClaveTexto = 'ano'", {{"Anus"}}},
    {"SELECT TOP 1 ClaveTexto FROM TXIDIOMA   WHERE Idioma = 'ENG'  AND ClaveTexto LIKE 'a%' ", {{"Aceptar"}}},
    {"SELECT COUNT(*) FROM TXIDIOMA WHERE ClaveTexto LIKE 'an%'", {{"1"}}},
    {"SELECT NombreTablaTemporal FROM NOMBTTEM   WHERE NombreTablaTemporalOrg = 'TEMP_X'", {}},
    {"SELECT MAX(Contador) FROM NOMBTTEM", {{"NULL"}}},
    {"INSERT INTO NOMBTTEM VALUES (1, 'TEMP_X', 'TEMP000001_X')", {}},
    {"SELECT NombreTablaTemporal FROM NOMBTTEM   WHERE NombreTablaTemporalOrg = 'TEMP_X'", {{"TEMP000001_X"}}},
    {"USE master SELECT name FROM sysdatabases   WHERE name LIKE 'ZEM%'     OR name = 'ZEMG'", {{"ZEM1"}, {"ZEMG"}}, true},
};

class Conformance : public ::testing::Test {
 protected:
  Conformance() : client_(folder_.Path()) {
    for (const char* statement : kSetUp) client_.Run(QString::fromUtf8(statement));
  }

  void RunCases(const char* database, const Case* cases, size_t count) {
    client_.Run(QStringLiteral("USE %1").arg(QLatin1String(database)));
    for (size_t i = 0; i < count; ++i) {
      const QString statement = QString::fromUtf8(cases[i].statement);
      try {
        Rows rows = client_.Texts(statement);
        if (cases[i].anyOrder) std::sort(rows.begin(), rows.end());
        EXPECT_EQ(rows, cases[i].expected) << cases[i].statement;
      } catch (const EDatabaseError& error) {
        ADD_FAILURE() << cases[i].statement << ": " << error.what();
      }
    }
  }

  TemporaryFolder folder_;
  ServerClient client_;
};

TEST_F(Conformance, CompanyDatabaseAnswersAsSqlServer) {
  RunCases("ZEM1", kCompanyCases, std::size(kCompanyCases));
}

TEST_F(Conformance, GeneralDatabaseAnswersAsSqlServer) {
  RunCases("ZEMG", kGeneralCases, std::size(kGeneralCases));
}

TEST_F(Conformance, WhatSqlServerRefusesFails) {
  client_.Run(u"USE ZEM1"_qs);
  const struct {
    const char* statement;
    const char* error;
  } refusals[] = {
      {"SELECT 'A1' + 1", "Conversion failed when converting the varchar value 'A1' to data type int."},
      {"SELECT CAST(Codigo AS INTEGER) FROM ARTICULO WHERE Codigo = 'A1'",
       "Conversion failed when converting the varchar value 'A1' to data type int."},
      {"INSERT INTO CLIENTES (Nombre) VALUES ('sin clave')", ""},  // Codigo takes its default, 0
      {"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (NULL, 'sin clave')", "NOT NULL constraint failed: CLIENTES.Codigo"},
      {"INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('8', 'x')", ""},
      {"INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('8', 'y')", "UNIQUE constraint failed: CLIENTES.Codigo"},
      {"SELECT * FROM CLIENTES WITH(UPDLOCK)", "'WITH (UPDLOCK)' is not supported by the embedded server."},
      {"SELECT TOP 10 PERCENT * FROM CLIENTES", "'TOP 10 PERCENT' is not supported by the embedded server."},
      {"SELECT * FROM OTRA.dbo.CLIENTES", "Database 'OTRA' does not exist. Make sure that the name is entered correctly."},
      {"EXEC sp_who", "Could not find stored procedure 'sp_who'."},
      {"DBCC CHECKTABLE ( CLIENTES )", "'DBCC CHECKTABLE ( CLIENTES )' is not supported by the embedded server."},
      {"SET NOCOUNT ON", "'SET NOCOUNT ON' is not supported by the embedded server."},
  };
  for (const auto& refusal : refusals) {
    try {
      client_.Run(QString::fromUtf8(refusal.statement));
      EXPECT_STREQ("", refusal.error) << refusal.statement;
    } catch (const EDatabaseError& error) {
      EXPECT_EQ(error.DriverMessage(), QString::fromUtf8(refusal.error)) << refusal.statement;
    }
  }
}

TEST_F(Conformance, DateLiteralsFollowTheConfiguredFormat) {
  ServerClient dayFirst(folder_.Path(), u"sa"_qs, QString(), u"dd/mm/yyyy"_qs);
  dayFirst.Run(u"USE ZEM1"_qs);
  EXPECT_EQ(dayFirst.Texts(u"SELECT Descripcion FROM ARTICULO WHERE Fecha = '29/02/2024 10:15:00'"_qs),
            Rows({{"Tuerca"}}));
  EXPECT_EQ(dayFirst.Texts(u"SELECT COUNT(*) FROM ARTICULO WHERE Fecha = '02/29/2024 10:15:00'"_qs), Rows({{"0"}}));
}

}  // namespace
