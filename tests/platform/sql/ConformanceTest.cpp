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
    "USE master CREATE DATABASE ZEMG  COLLATE Modern_Spanish_CI_AI", "EXEC sp_dbcmptlevel ZEMG, 80",
    "ALTER DATABASE ZEMG SET RECOVERY SIMPLE", "USE master CREATE DATABASE ZEM1  COLLATE SQL_Latin1_General_Cp1_CI_AI",
    "USE ZEMG",
    "CREATE TABLE dbo.TXIDIOMA (Idioma VARCHAR(10) DEFAULT '', ClaveTexto VARCHAR(250) DEFAULT '', "
    "Texto VARCHAR(250) DEFAULT '' NULL, CONSTRAINT TXIDIOMA_Clave1 PRIMARY KEY (Idioma, ClaveTexto))",
    "CREATE TABLE dbo.CAMPOUSR (NombreTabla VARCHAR(20) DEFAULT '', OrdenCampo INTEGER DEFAULT 0, "
    "NombreCampo VARCHAR(30) DEFAULT '' NULL, TipoCampo VARCHAR(20) DEFAULT '' NULL, "
    "LongitudCampo INTEGER DEFAULT 0 NULL, CONSTRAINT CAMPOUSR_Clave1 PRIMARY KEY (NombreTabla, OrdenCampo))",
    "CREATE TABLE dbo.EMPRESA (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
    "CONSTRAINT EMPRESA_Clave1 PRIMARY KEY (Codigo))",
    "INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ('ENG', 'Año', 'Year')",
    "INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ('ENG', 'Ano', 'Anus')",
    "INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ('ENG', 'Aceptar', 'Accept')",
    "INSERT INTO CAMPOUSR (NombreTabla, OrdenCampo, NombreCampo, TipoCampo, LongitudCampo) "
    "VALUES ('CLIENTES', '1', 'Ciudad', 'Alfanumerico', '30')",
    "INSERT INTO EMPRESA (Codigo, Nombre) VALUES ('2', 'SEGUNDA')",
    "INSERT INTO EMPRESA (Codigo, Nombre) VALUES ('1', 'EMPRESA 1')", "USE ZEM1",
    "CREATE TABLE dbo.CLIENTES (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
    "CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))",
    "CREATE TABLE dbo.ARTICULO (Empresa INTEGER DEFAULT 0, Codigo VARCHAR(10) DEFAULT '', "
    "Descripcion VARCHAR(40) DEFAULT '' NULL, Fecha DATETIME DEFAULT '12/30/1899 00:00:00' NULL, Notas TEXT NULL, "
    "CONSTRAINT ARTICULO_Clave1 PRIMARY KEY (Empresa, Codigo))",
    "CREATE INDEX ARTICULO_Fecha ON ARTICULO (Fecha,Codigo) ",
    "CREATE TABLE dbo.TEXTO (Codigo VARCHAR(10) DEFAULT '', Descripcion VARCHAR(40) DEFAULT '' NULL, "
    "Texto TEXT NULL, Tipo VARCHAR(10) DEFAULT '' NULL, CONSTRAINT TEXTO_Clave1 PRIMARY KEY (Codigo))",
    // SQL Server lets the column list end in a comma; statements follow one another without ";".
    "CREATE TABLE dbo.PRECIOS (Codigo INTEGER DEFAULT 0, Precio DECIMAL(6,2) DEFAULT 0 NULL, "
    "Cantidad SMALLINT DEFAULT 0 NULL, Notas VARCHAR(MAX) NULL, Ref VARCHAR(10) NULL, "
    "CONSTRAINT PRECIOS_Clave1 PRIMARY KEY (Codigo), )",
    "CREATE TABLE dbo.HISTORIA (Id INTEGER IDENTITY(1,1), Texto VARCHAR(20) DEFAULT '' NULL, "
    "CONSTRAINT HISTORIA_Clave1 PRIMARY KEY CLUSTERED (Texto)) "
    "CREATE NONCLUSTERED INDEX HISTORIA_Texto ON dbo.HISTORIA (Texto)",
    // A table and its indexes as the system builds them, one after another.
    "CREATE TABLE dbo.LINEAS (Serie VARCHAR(2) DEFAULT '', Numero INTEGER DEFAULT 0, Fecha DATETIME DEFAULT "
    "'12/30/1899 00:00:00', Id INTEGER IDENTITY(1,1), CONSTRAINT LINEAS_Clave1 PRIMARY KEY (Serie,Numero))"
    "CREATE INDEX LINEAS_Fecha  ON LINEAS (Fecha) CREATE INDEX LINEAS_Id  ON LINEAS (Id) ",
    "CREATE TABLE dbo.BLOBTAB (NombreTabla VARCHAR(20) DEFAULT '', ClaveTabla VARCHAR(250) DEFAULT '', "
    "IdObjeto VARCHAR(40) DEFAULT '', TipoObjeto VARCHAR(10) DEFAULT '' NULL, Objeto IMAGE NULL, "
    "CONSTRAINT BLOBTAB_Clave1 PRIMARY KEY (NombreTabla, ClaveTabla, IdObjeto))",
    // Out of key order, so that a TOP without ORDER BY tells the key's order from the insertion's.
    "INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('3', 'Zamora')",
    "INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('1', 'Álvaro')",
    "INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('2', 'Ávila')",
    "INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('4', 'bueno')",
    "INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('5', NULL)", "INSERT INTO CLIENTES VALUES (6, '')",
    "INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('7', 'Casa Peña')",
    "INSERT INTO ARTICULO (Empresa, Codigo, Descripcion, Fecha) VALUES ('1', '7', 'Tornillo', '01/31/2024 00:00:00')",
    "INSERT INTO ARTICULO (Empresa, Codigo, Descripcion, Fecha) VALUES ('1', '12', 'Tuerca', '02/29/2024 10:15:00')",
    "INSERT INTO ARTICULO (Empresa, Codigo, Descripcion) VALUES ('1', 'A1', 'Arandela')",
    "INSERT INTO ARTICULO (Empresa, Codigo, Descripcion) VALUES ('2', '99', 'Otra empresa')",
    "INSERT INTO TEXTO (Codigo, Descripcion, Texto, Tipo) VALUES ('T1', 'Saludo', 'Hola', 'Texto')",
    "INSERT INTO TEXTO (Codigo, Descripcion, Texto, Tipo) VALUES ('T2', 'Ficha', 'Nombre:', 'Plantilla')",
    "INSERT INTO BLOBTAB (NombreTabla, ClaveTabla, IdObjeto, TipoObjeto) VALUES ('CLIENTES', '1;', '1', 'PDF')",
};

// The key columns of an index, as the system asks the catalogue for them.
#define KEY_COLUMNS(index)                                                                                     \
  "SELECT C.Name   FROM SYSINDEXES I JOIN SYSINDEXKEYS K   ON I.id = K.id AND I.indid = K.indid   JOIN SYSCOLUMNS C " \
  "ON I.id = C.id AND K.colid = C.colid   WHERE I.Name = '" index "'  ORDER BY K.KeyNo"

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
    // Every row against one pattern, accented text read from its stored form.
    {"SELECT Codigo FROM CLIENTES WHERE Nombre LIKE '%[aá]v%' ORDER BY Codigo", {{"2"}}},
    {"SELECT Codigo FROM CLIENTES WHERE Nombre LIKE '[aá]%o' ORDER BY Codigo", {{"1"}}},
    {"SELECT Codigo FROM CLIENTES WHERE Nombre LIKE '_v%' ORDER BY Codigo", {{"2"}}},
    {"SELECT Nombre FROM CLIENTES WHERE Nombre <> '' ORDER BY Nombre",
     {{"Álvaro"}, {"Ávila"}, {"bueno"}, {"Casa Peña"}, {"Zamora"}}},
    {"SELECT UPPER(Nombre), CHARINDEX('PEÑA', Nombre) FROM CLIENTES WHERE Codigo = 7", {{"CASA PEÑA", "6"}}},
    // TOP without ORDER BY: the key's order, as the key's index reads the rows.
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
    {"SELECT COUNT(*) FROM ARTICULO A WHERE A.Fecha BETWEEN '01/01/2024' AND '1/31/2024 23:59'", {{"1"}}},
    // A text becomes a date only against a date column or in a conversion to one.
    {"SELECT CAST('02/01/2024' AS DATETIME), CONVERT(DATETIME, '01/02/2024', 103), '05/03/2024'",
     {{"2024-02-01 00:00:00", "2024-02-01 00:00:00", "05/03/2024"}}},
    // Text functions as the access triggers split the application name.
    {"SELECT CHARINDEX('|', 'ZEM|MASP'), SUBSTRING('ZEM|MASP', 0, CHARINDEX('|', 'ZEM|MASP')), "
     "SUBSTRING('ZEM|MASP', CHARINDEX('|','ZEM|MASP')+1, LEN('ZEM|MASP')-(CHARINDEX('|','ZEM|MASP')))",
     {{"4", "ZEM", "MASP"}}},
    // Key fields and columns from the catalogue.
    {KEY_COLUMNS("ARTICULO_Clave1"), {{"Empresa"}, {"Codigo"}}},
    {KEY_COLUMNS("articulo_clave1"), {{"Empresa"}, {"Codigo"}}},
    {KEY_COLUMNS("ARTICULO_Fecha"), {{"Fecha"}, {"Codigo"}}}, {KEY_COLUMNS("NOEXISTE_Clave1"), {}},
    {"SELECT C.Name   FROM SYSCOLUMNS C JOIN SYSOBJECTS O        ON C.id = O.id   WHERE O.name = 'ARTICULO' "
     "ORDER BY C.colid ",
     {{"Empresa"}, {"Codigo"}, {"Descripcion"}, {"Fecha"}, {"Notas"}}},
    {"SELECT C.Name   FROM SYSCOLUMNS C JOIN SYSOBJECTS O        ON C.id = O.id   WHERE O.name = 'ARTICULO' "
     "AND C.xtype <> 35  ORDER BY C.colid ",
     {{"Empresa"}, {"Codigo"}, {"Descripcion"}, {"Fecha"}}},
    {"SELECT COUNT(*) FROM SYSOBJECTS WHERE xtype = 'U'", {{"7"}}},
    // Stored objects, templates, user fields of the general database.
    {"SELECT TipoObjeto FROM BLOBTAB   WHERE NombreTabla = 'CLIENTES'    AND ClaveTabla = '1;'    AND IdObjeto = '1'",
     {{"PDF"}}},
    {"SELECT Tipo FROM TEXTO WHERE Codigo = 't2'", {{"Plantilla"}}},
    {"SELECT OrdenCampo, NombreCampo, TipoCampo, LongitudCampo   FROM ZEMG.dbo.CAMPOUSR   WHERE NombreTabla = 'CLIENTES'",
     {{"1", "Ciudad", "Alfanumerico", "30"}}},
    // DELETE T WHERE and the memo rewrite.
    {"DELETE TEXTO   WHERE Codigo = 'T1'", {}}, {"UPDATE TEXTO  SET Texto = NULL  WHERE Codigo = 'T2'", {}},
    {"SELECT Codigo, Texto FROM TEXTO", {{"T2", "NULL"}}},
    // Table creation from the structure definitions.
    {"CREATE TABLE dbo.INCAPLIC (NumeroIncidencia INTEGER DEFAULT 0, Fecha DATETIME DEFAULT '12/30/1899 00:00:00' NULL, "
     "CodigoEmpresa SMALLINT DEFAULT 0 NULL, Descripcion TEXT  NULL, Factor DECIMAL(28,12) DEFAULT 0 NULL, "
     "Foto IMAGE NULL, CONSTRAINT INCAPLIC_Clave1 PRIMARY KEY (NumeroIncidencia))",
     {}},
    {"CREATE INDEX INCAPLIC_Fecha ON INCAPLIC (Fecha,NumeroIncidencia) ", {}},
    {"INSERT INTO INCAPLIC (NumeroIncidencia) VALUES (1)", {}},
    {"SELECT NumeroIncidencia, CodigoEmpresa, Descripcion FROM INCAPLIC", {{"1", "0", "NULL"}}},
    // Values are stored as SQL Server converts them to the column's type.
    {"INSERT INTO PRECIOS (Codigo, Precio, Cantidad) VALUES ('', '2.345', ' 7 ')", {}},
    {"INSERT INTO PRECIOS VALUES (1, -2.345, 1.9, 'Una nota larga, más larga que cualquier VARCHAR corto', 12.000000)",
     {}},
    {"SELECT LEN(Notas), Ref FROM PRECIOS WHERE Codigo = 1", {{"53", "12.000000"}}},
    {"INSERT INTO PRECIOS (Codigo, Precio, Cantidad) SELECT Codigo + 100, Codigo * 1.005, '' FROM CLIENTES "
     "WHERE Codigo = 1",
     {}},
    {"SELECT Codigo, Precio, Cantidad FROM PRECIOS WHERE Codigo IN ('', '1', 101) ORDER BY Codigo",
     {{"0", "2.35", "7"}, {"1", "-2.35", "1"}, {"101", "1.01", "0"}}},
    {"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (20, '05/03/2024')", {}},
    {"UPDATE CLIENTES SET Nombre = Nombre + '  ' WHERE Codigo = ''", {}},
    {"SELECT Nombre FROM CLIENTES WHERE Codigo = '20'", {{"05/03/2024"}}},
    // IDENTITY numbers the rows; the catalogue marks the column.
    {"INSERT INTO HISTORIA (Texto) VALUES ('uno')", {}}, {"INSERT INTO HISTORIA VALUES ('dos')", {}},
    {"SELECT Id, Texto FROM HISTORIA ORDER BY Id", {{"1", "uno"}, {"2", "dos"}}},
    {"INSERT INTO LINEAS (Serie, Numero) VALUES ('A', 1)", {}},
    {"SELECT Id, Fecha FROM LINEAS WHERE Serie = 'A'", {{"1", "1899-12-30 00:00:00"}}},
    // A time alone is that time of SQL Server's first day.
    {"UPDATE LINEAS SET Fecha = '8:30' WHERE Serie = 'A'", {}},
    {"SELECT Id, Fecha FROM LINEAS WHERE Fecha = '08:30:00'", {{"1", "1900-01-01 08:30:00"}}},
    {"UPDATE LINEAS SET Fecha = '12/30/1899' WHERE Serie = 'A'", {}},
    {"SELECT I.name FROM SYSINDEXES I JOIN SYSOBJECTS O ON O.id = I.id WHERE O.name = 'LINEAS'",
     {{"LINEAS_Clave1"}, {"LINEAS_Fecha"}, {"LINEAS_Id"}}, true},
    {"SELECT C.Name, C.xtype, C.colstat   FROM SYSCOLUMNS C JOIN SYSOBJECTS O        ON C.id = O.id   WHERE "
     "O.name = 'HISTORIA'",
     {{"Id", "56", "1"}, {"Texto", "167", "0"}}, true},
    {"SELECT name FROM ZEM1.dbo.sysobjects   WHERE name = 'HISTORIA'", {{"HISTORIA"}}},
    {"SELECT name FROM ZEMG.dbo.sysobjects   WHERE name = 'EMPRESA'", {{"EMPRESA"}}},
    {"SELECT C.name, C.collation FROM ZEMG.dbo.syscolumns C JOIN ZEMG.dbo.sysobjects O ON O.id = C.id "
     "WHERE O.name = 'EMPRESA' AND C.xtype = 167",
     {{"Nombre", "Modern_Spanish_CI_AI"}}},
    {"SELECT COUNT(*) FROM SYSOBJECTS WHERE xtype = 'TR'", {{"0"}}},
    {"DROP INDEX [HISTORIA_Texto] ON [dbo].[HISTORIA]", {}},
    {"SELECT I.name FROM SYSINDEXES I JOIN SYSOBJECTS O ON O.id = I.id WHERE O.name = 'HISTORIA'",
     {{"HISTORIA_Clave1"}}},
    // Transactions, in one batch or statement by statement.
    {"BEGIN TRANSACTION INSERT INTO CLIENTES (Codigo, Nombre) VALUES (21, 'x') ROLLBACK TRANSACTION", {}},
    {"USE ZEM1; BEGIN TRANSACTION", {}}, {"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (22, 'y')", {}},
    {"USE ZEM1; COMMIT TRANSACTION", {}},
    {"BEGIN TRANSACTION INSERT INTO CLIENTES (Codigo, Nombre) VALUES (23, 'z') BEGIN TRANSACTION COMMIT TRANSACTION", {}},
    {"ROLLBACK TRANSACTION", {}},  // the outer one too
    {"SELECT Codigo FROM CLIENTES WHERE Codigo > 20", {{"22"}}},
    // An explicit collation rules =, LIKE and REPLACE; names come back as SQL Server spells them.
    {"SELECT COUNT(*) FROM CLIENTES WHERE Nombre = 'CASA PEÑA' COLLATE Modern_Spanish_CS_AS", {{"0"}}},
    {"SELECT COUNT(*) FROM CLIENTES WHERE Nombre = 'casa peña' COLLATE Modern_Spanish_CI_AS", {{"1"}}},
    {"SELECT COUNT(*) FROM CLIENTES WHERE Nombre LIKE '%peña%' COLLATE SQL_Latin1_General_Cp1_CS_AS", {{"0"}}},
    {"SELECT REPLACE(Nombre, 'PEÑA' COLLATE SQL_Latin1_General_Cp1_CS_AS, 'x'), REPLACE(Nombre, 'PENA', 'x') "
     "FROM CLIENTES WHERE Codigo = 7",
     {{"Casa Peña", "Casa x"}}},
    {"UPDATE CLIENTES  SET Nombre =        REPLACE(CAST (Nombre AS VARCHAR(MAX)), 'Peña' COLLATE "
     "SQL_Latin1_General_Cp1_CS_AS, 'Pena')   WHERE Nombre LIKE '%Peña%' COLLATE SQL_Latin1_General_Cp1_CS_AS",
     {}},
    {"SELECT Nombre FROM CLIENTES WHERE Codigo = 7", {{"Casa Pena"}}},
    {"SELECT Nombre FROM CLIENTES WHERE Codigo IN (1, 2, 4) ORDER BY Nombre COLLATE Latin1_General_BIN",
     {{"bueno"}, {"Álvaro"}, {"Ávila"}}},
    {"USE master SELECT collation_name FROM sysdatabases WHERE name = 'ZEM1'", {{"SQL_Latin1_General_CP1_CI_AI"}}},
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
    {"USE master SELECT name FROM sysdatabases   WHERE name LIKE 'ZEM%'     OR name = 'ZEMG'", {{"ZEM1"}, {"ZEMG"}}, true},
};

// Names written between brackets, "]" doubled inside, as the system quotes
// a stored name that is not a plain one; and the IDENTITY that fills a key.
const Case kNameCases[] = {
    {"CREATE TABLE dbo.[RA]]RO] (Codigo INTEGER DEFAULT 0, [_ INT);DELETE FROM CLIENTES--] INTEGER DEFAULT 0 NULL, "
     "[a]]b] VARCHAR(10) DEFAULT '' NULL, [Año-ñ] DATETIME DEFAULT '12/30/1899 00:00:00' NULL, "
     "CONSTRAINT [RA]]RO_Clave1] PRIMARY KEY (Codigo))",
     {}},
    {"CREATE INDEX [RA]]RO_a]]b] ON [RA]]RO] ([a]]b],[Año-ñ]) ", {}},
    {"INSERT INTO [RA]]RO] (Codigo, [_ INT);DELETE FROM CLIENTES--], [a]]b]) VALUES (1, 7, 'x]y')", {}},
    {"UPDATE dbo.[RA]]RO] SET [a]]b] = [a]]b] + '!' WHERE [_ INT);DELETE FROM CLIENTES--] = 7", {}},
    {"SELECT Codigo, [_ INT);DELETE FROM CLIENTES--], [a]]b], R.[Año-ñ] FROM ZEM1.dbo.[RA]]RO] R",
     {{"1", "7", "x]y!", "1899-12-30 00:00:00"}}},
    {"SELECT C.Name   FROM SYSCOLUMNS C JOIN SYSOBJECTS O        ON C.id = O.id   WHERE O.name = 'RA]RO' "
     "ORDER BY C.colid ",
     {{"Codigo"}, {"_ INT);DELETE FROM CLIENTES--"}, {"a]b"}, {"Año-ñ"}}},
    {KEY_COLUMNS("RA]RO_a]b"), {{"a]b"}, {"Año-ñ"}}},
    {KEY_COLUMNS("RA]RO_Clave1"), {{"Codigo"}}},
    {"SELECT COUNT(*) FROM CLIENTES", {{"7"}}},
    {"DROP INDEX [RA]]RO_a]]b] ON [dbo].[RA]]RO]", {}},
    {"DROP TABLE [RA]]RO]", {}},
    {"CREATE TABLE dbo.SERIE (Numero INTEGER IDENTITY(1,1), Descripcion VARCHAR(40) DEFAULT '' NULL, "
     "CONSTRAINT SERIE_Clave1 PRIMARY KEY (Numero))",
     {}},
    {"INSERT INTO SERIE (Descripcion) VALUES ('Primera')", {}},
    {"INSERT INTO SERIE (Descripcion) VALUES ('Segunda')", {}},
    {"SELECT Numero, Descripcion FROM SERIE ORDER BY Numero", {{"1", "Primera"}, {"2", "Segunda"}}},
    {KEY_COLUMNS("SERIE_Clave1"), {{"Numero"}}},
    {"CREATE TABLE dbo.TALON (Numero INTEGER IDENTITY (100, 5) NOT NULL, Texto VARCHAR(10) NULL, "
     "CONSTRAINT TALON_Clave1 PRIMARY KEY (Numero))",
     {}},
    {"INSERT INTO TALON (Texto) VALUES ('a')", {}},
    {"INSERT INTO TALON (Texto) VALUES ('b')", {}},
    {"CREATE TABLE dbo.CUENTA (Id INTEGER IDENTITY(-1,-2), Texto VARCHAR(10) NULL)", {}},
    {"INSERT INTO CUENTA (Texto) VALUES ('a')", {}},
    {"INSERT INTO CUENTA (Texto) VALUES ('b')", {}},
    {"SELECT T.Numero, C.Id FROM TALON T JOIN CUENTA C ON C.Texto = T.Texto ORDER BY T.Numero",
     {{"100", "-1"}, {"105", "-3"}}},
    // The numbers count the rows, whatever the integer key they hold.
    {"CREATE TABLE dbo.FICHA (Codigo INTEGER, Numero INTEGER IDENTITY(1,1), CONSTRAINT FICHA_Clave1 PRIMARY KEY (Codigo))",
     {}},
    {"INSERT INTO FICHA (Codigo) VALUES (9)", {}},
    {"INSERT INTO FICHA (Codigo) VALUES (5)", {}},
    {"SELECT Codigo, Numero FROM FICHA ORDER BY Codigo", {{"5", "2"}, {"9", "1"}}},
};

class Conformance : public ::testing::Test {
 protected:
  Conformance() : client_(folder_.Path()) {
    for (const char* statement : kSetUp) client_.Run(QString::fromUtf8(statement));
  }

  void RunCases(const char* database, const Case* cases, size_t count) {
    client_.Run(u"USE %1"_qs.arg(QLatin1String(database)));
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

TEST_F(Conformance, BracketedNamesAndIdentityKeysAnswerAsSqlServer) {
  RunCases("ZEM1", kNameCases, std::size(kNameCases));
}

TEST_F(Conformance, LongChainsOfAdditionsRun) {
  client_.Run(u"USE ZEM1"_qs);
  EXPECT_EQ(client_.Texts(u"SELECT 1"_qs + u" + 1"_qs.repeated(1999)), QList<QStringList>{{u"2000"_qs}});
  EXPECT_EQ(client_.Texts(u"SELECT LEN('ab'"_qs + u" + 'ab'"_qs.repeated(1499) + u")"_qs),
            QList<QStringList>{{u"3000"_qs}});
}

TEST_F(Conformance, GeneralDatabaseAnswersAsSqlServer) {
  RunCases("ZEMG", kGeneralCases, std::size(kGeneralCases));
}

TEST_F(Conformance, WhatSqlServerRefusesFails) {
  client_.Run(u"USE ZEM1"_qs);
  const std::tuple<const char*, const char*> refusals[] = {
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
      {"DBCC SHRINKDATABASE ( ZEM1 )", "'DBCC SHRINKDATABASE ( ZEM1 )' is not supported by the embedded server."},
      {"DBCC CHECKTABLE ( 'NOHAY' )",
       "Cannot find the object \"NOHAY\" because it does not exist or you do not have permissions."},
      {"DROP TRIGGER TriggerInsertCLIENTES",
       "Cannot drop the trigger 'TriggerInsertCLIENTES', because it does not exist or you do not have permission."},
      {"SET NOCOUNT ON", "'SET NOCOUNT ON' is not supported by the embedded server."},
      // Values a column's type cannot hold.
      {"INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('abc', 'x')",
       "Conversion failed when converting the varchar value 'abc' to data type int."},
      {"SELECT * FROM CLIENTES WHERE Codigo = '1.5'",
       "Conversion failed when converting the varchar value '1.5' to data type int."},
      {"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (3000000000, 'x')",
       "Arithmetic overflow error converting expression to data type int."},
      {"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (9, 'un nombre de cliente de más de cuarenta letras')",
       "String or binary data would be truncated."},
      {"UPDATE CLIENTES SET Nombre = Nombre + ' con un añadido que ya no cabe en el nombre' WHERE Codigo = 7",
       "String or binary data would be truncated."},
      {"INSERT INTO PRECIOS (Codigo, Precio) VALUES (9, 12345.678)",
       "Arithmetic overflow error converting numeric to data type numeric."},
      {"INSERT INTO PRECIOS (Codigo, Precio) VALUES (9, 'x')", "Error converting data type varchar to numeric."},
      {"INSERT INTO PRECIOS (Codigo, Cantidad) SELECT Codigo, Codigo * 10000 FROM CLIENTES WHERE Codigo = 4",
       "Arithmetic overflow error for data type smallint, value = 40000."},
      {"INSERT INTO ARTICULO (Empresa, Codigo, Fecha) VALUES (1, 'F', '02/30/2024')",
       "The conversion of a varchar data type to a datetime data type resulted in an out-of-range value."},
      {"SELECT * FROM ARTICULO WHERE Fecha > 'mañana'",
       "Conversion failed when converting date and/or time from character string."},
      {"INSERT INTO HISTORIA (Texto) VALUES (NULL)", "NOT NULL constraint failed: HISTORIA.Texto"},
      {"INSERT INTO HISTORIA (Id, Texto) VALUES (5, 'x')",
       "Cannot insert explicit value for identity column in table 'HISTORIA' when IDENTITY_INSERT is set to OFF."},
      // Objects that are not there, or are already.
      {"DROP TABLE TEMP_CLIENTES",
       "Cannot drop the table 'TEMP_CLIENTES', because it does not exist or you do not have permission."},
      {"DROP INDEX [NOEXISTE] ON [dbo].[ARTICULO]",
       "Cannot drop the index 'dbo.ARTICULO.NOEXISTE', because it does not exist or you do not have permission."},
      {"CREATE TABLE dbo.MAL (Codigo INTEGER, Nombre)", "The definition for column 'Nombre' must include a data type."},
      {"CREATE TABLE dbo.MAL (Codigo INTEGER DEFAULT 0 NULL, Activo NULL)",
       "The definition for column 'Activo' must include a data type."},
      {"CREATE TABLE dbo.MAL (Codigo INTEGER DEFAULT 0, Activo DEFAULT 0 NULL)",
       "The definition for column 'Activo' must include a data type."},
      {"CREATE TABLE dbo.MAL (Codigo INTEGER DEFAULT 0, Id INTEGER IDENTITY(1,1) NULL)",
       "Could not create IDENTITY attribute on nullable column 'Id', table 'MAL'."},
      {"CREATE TABLE dbo.MAL (Id INTEGER IDENTITY(1,1) NOT NULL, Otro INTEGER NULL)", ""},
      {"DROP TABLE MAL", ""},
      {"CREATE TABLE dbo.MAL (Codigo INTEGER, CONSTRAINT ARTICULO_Clave1 PRIMARY KEY (Codigo))",
       "There is already an object named 'ARTICULO_Clave1' in the database."},
      {"COMMIT TRANSACTION", "The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."},
      {"SELECT * FROM CLIENTES WHERE Nombre = 'x' COLLATE Spanish_CI_AI", "Invalid collation 'Spanish_CI_AI'."},
  };
  for (const auto& [statement, message] : refusals) {
    try {
      client_.Run(QString::fromUtf8(statement));
      EXPECT_STREQ("", message) << statement;
    } catch (const EDatabaseError& error) {
      EXPECT_EQ(error.DriverMessage(), QString::fromUtf8(message)) << statement;
    }
  }
}

// Answers SQLite gives without an error where SQL Server's differ, or
// where SQL Server raises one: each either the answer SQL Server gives or
// its error.
struct Answer {
  const char* statement;
  Rows expected;
  const char* error = nullptr;
};

const char* const kAnswerTables[] = {
    "CREATE TABLE dbo.CUENTAS (Codigo INTEGER DEFAULT 0, Saldo MONEY DEFAULT 0 NULL, Resto SMALLMONEY DEFAULT 0 "
    "NULL, Grande NUMERIC(38) DEFAULT 0 NULL, Alta DATETIME NULL, Corta SMALLDATETIME NULL, "
    "CONSTRAINT CUENTAS_Clave1 PRIMARY KEY (Codigo))",
    "INSERT INTO CUENTAS (Codigo, Saldo, Resto) VALUES (1, 1.56, -2.5)",
    "INSERT INTO CUENTAS (Codigo, Saldo, Resto) VALUES (2, 0, 0)",
    "CREATE TABLE dbo.PEDIDOS (Numero INTEGER DEFAULT 0, Cliente INTEGER DEFAULT 0 NULL, "
    "CONSTRAINT PEDIDOS_Clave1 PRIMARY KEY (Numero))",
    "INSERT INTO PEDIDOS (Numero, Cliente) VALUES (1, 1)", "INSERT INTO PEDIDOS (Numero, Cliente) VALUES (2, 2)",
    "INSERT INTO PEDIDOS (Numero, Cliente) VALUES (3, 99)",
    "CREATE TABLE dbo.STOCK (Almacen VARCHAR(4) DEFAULT '', Articulo VARCHAR(10) DEFAULT '', Cantidad INTEGER "
    "DEFAULT 0 NULL, Minimo SMALLINT NULL, Coste DECIMAL(8,3) NULL, CONSTRAINT STOCK_Clave1 PRIMARY KEY (Almacen, Articulo))",
    "INSERT INTO STOCK (Almacen, Articulo, Cantidad, Minimo, Coste) VALUES ('A', 'x', 1, NULL, 2.5)",
    "INSERT INTO STOCK (Almacen, Articulo, Cantidad, Minimo, Coste) VALUES ('B', 'x', 2, 3, NULL)",
    "INSERT INTO CLIENTES (Codigo, Nombre) VALUES (9, '41')",
    "CREATE TABLE [A]]B] ([Codigo] INTEGER DEFAULT 0, [Año-ñ] VARCHAR(10) DEFAULT '', [Valor] INTEGER NULL, "
    "CONSTRAINT [A]]B_Clave1] PRIMARY KEY ([Codigo], [Año-ñ])) INSERT INTO [A]]B] VALUES (1, 'a', 0) "
    "INSERT INTO [A]]B] VALUES (2, 'b', 0) INSERT INTO [A]]B] VALUES (3, 'c', 0)",
};

const Answer kAnswers[] = {
    // Division by zero is an error, in a SELECT, a WHERE and an UPDATE alike.
    {"SELECT 25/0", {}, "Divide by zero error encountered."},
    {"SELECT 25 % 0", {}, "Divide by zero error encountered."},
    {"SELECT Codigo FROM CLIENTES WHERE 10 / (Codigo - 4) > 0", {}, "Divide by zero error encountered."},
    {"UPDATE CLIENTES SET Nombre = CAST(Codigo / (Codigo - 4) AS VARCHAR)", {}, "Divide by zero error encountered."},
    {"SELECT Nombre FROM CLIENTES WHERE Codigo = 3", {{"Zamora"}}},
    {"SELECT 25 / 2, 7 % 3, 1.0 / 4, -8 / -(2)", {{"12", "1", "0.25", "4"}}},
    // DATETIME counts time in 1/300 s; SMALLDATETIME in minutes.
    {"SELECT CAST('1753-12-31 23:59:59.999' AS DATETIME), CAST('2024-01-31 10:00:00.998' AS DATETIME), "
     "CAST('2024-01-31 10:00:00.002' AS DATETIME)",
     {{"1754-01-01 00:00:00", "2024-01-31 10:00:00.997", "2024-01-31 10:00:00.003"}}},
    {"SELECT CAST('2024-01-31 10:00:29.998' AS SMALLDATETIME), CAST('2024-01-31 10:00:29.999' AS SMALLDATETIME)",
     {{"2024-01-31 10:00:00", "2024-01-31 10:01:00"}}},
    {"SELECT CAST('9999-12-31 23:59:59.999' AS DATETIME)", {},
     "The conversion of a varchar data type to a datetime data type resulted in an out-of-range value."},
    {"SELECT CAST('2079-06-06 23:59:30' AS SMALLDATETIME)", {},
     "The conversion of a varchar data type to a smalldatetime data type resulted in an out-of-range value."},
    {"UPDATE CUENTAS SET Alta = '01/31/2024 23:59:59.998', Corta = '01/31/2024 23:59:31' WHERE Codigo = 1", {}},
    {"SELECT Alta, Corta FROM CUENTAS WHERE Codigo = 1", {{"2024-01-31 23:59:59.997", "2024-02-01 00:00:00"}}},
    // An end of day that rounds to the next one takes its midnight in.
    {"SELECT COUNT(*) FROM ARTICULO WHERE Fecha BETWEEN '01/01/2024' AND '01/30/2024 23:59:59.999'", {{"1"}}},
    // MONEY rounds to a whole number; NUMERIC and DECIMAL without a precision are NUMERIC(18,0).
    {"SELECT CAST(Saldo AS INT), CONVERT(INT, Resto), CAST(CAST(1.56 AS MONEY) AS INTEGER) FROM CUENTAS "
     "WHERE Codigo = 1",
     {{"2", "-3", "2"}}},
    {"SELECT CAST(2.5 AS NUMERIC), CAST(1.4 AS DECIMAL), CAST(-2.5 AS NUMERIC), CAST(2.75 AS NUMERIC(5,1))",
     {{"3", "1", "-3", "2.8"}}},
    {"SELECT CAST(12345.6 AS NUMERIC(4))", {}, "Arithmetic overflow error converting numeric to data type numeric."},
    {"SELECT CAST(40000 AS SMALLINT)", {}, "Arithmetic overflow error for data type smallint, value = 40000."},
    {"SELECT CAST(Codigo * 10000 AS SMALLINT) FROM CLIENTES WHERE Codigo = 4", {},
     "Arithmetic overflow error for data type smallint, value = 40000."},
    {"SELECT CAST('70000' AS SMALLINT)", {},
     "The conversion of the varchar value '70000' overflowed an INT2 column. Use a larger integer column."},
    {"SELECT CONVERT(INT, 3000000000.0)", {}, "Arithmetic overflow error converting expression to data type int."},
    // 38 digits are beyond what SQLite keeps exactly: refused rather than stored as another number.
    {"INSERT INTO CUENTAS (Codigo, Grande) VALUES (3, 99999999999999999999999999999999999999)", {},
     "'99999999999999999999999999999999999999' is not supported by the embedded server."},
    {"INSERT INTO CUENTAS (Codigo, Grande) VALUES (3, 123456789012345)", {}},
    {"SELECT Grande FROM CUENTAS WHERE Codigo = 3", {{"123456789012345"}}},
    // COALESCE answers in the type of its argument of highest precedence.
    {"SELECT COALESCE('7', 2) + '1', COALESCE(NULL, '2.5', 1.0) + 1", {{"8", "3.5"}}},
    {"SELECT COALESCE('a', 1)", {}, "Conversion failed when converting the varchar value 'a' to data type int."},
    {"SELECT COALESCE(Nombre, Codigo) FROM CLIENTES WHERE Codigo = 3", {},
     "Conversion failed when converting the varchar value 'Zamora' to data type int."},
    {"SELECT COALESCE(Nombre, 'x'), COALESCE(NULL, Nombre, 'y') FROM CLIENTES WHERE Codigo = 5", {{"x", "y"}}},
    {"SELECT COALESCE(NULL, NULL)", {},
     "At least one of the arguments to COALESCE must be an expression that is not the NULL constant."},
    // A length SQL Server refuses is refused before a NULL text is looked at.
    {"SELECT LEFT(NULL, -2)", {}, "Invalid length parameter passed to the left function."},
    {"SELECT RIGHT(NULL, -1)", {}, "Invalid length parameter passed to the right function."},
    {"SELECT SUBSTRING(NULL, 1, -1)", {}, "Invalid length parameter passed to the substring function."},
    {"SELECT LEFT(NULL, 2), LEFT('abc', NULL)", {{"NULL", "NULL"}}},
    // A column added with a default leaves the rows there NULL unless WITH VALUES asks for it.
    {"ALTER TABLE CUENTAS ADD Nuevo INT NULL DEFAULT 5", {}},
    {"ALTER TABLE CUENTAS ADD Lleno INT NULL DEFAULT 6 WITH VALUES", {}},
    {"ALTER TABLE CUENTAS ADD Fijo INT NOT NULL DEFAULT 7", {}},
    {"INSERT INTO CUENTAS (Codigo) VALUES (4)", {}},
    {"SELECT Codigo, Nuevo, Lleno, Fijo FROM CUENTAS ORDER BY Codigo",
     {{"1", "NULL", "6", "7"}, {"2", "NULL", "6", "7"}, {"3", "NULL", "6", "7"}, {"4", "5", "6", "7"}}},
    // UPDATE ... FROM: the target is the FROM's item that names it.
    {"UPDATE CLIENTES SET Nombre = 'con pedido' FROM PEDIDOS LEFT JOIN CLIENTES C ON C.Codigo = PEDIDOS.Cliente "
     "WHERE PEDIDOS.Numero = 1",
     {}},
    {"UPDATE CLIENTES SET Nombre = Nombre + ' 2' FROM PEDIDOS JOIN CLIENTES C ON Codigo = Cliente WHERE Numero = 2",
     {}},
    {"UPDATE C SET Nombre = 'de ' + CAST(P.Numero AS VARCHAR) FROM CLIENTES C JOIN PEDIDOS P ON P.Cliente = C.Codigo "
     "WHERE P.Numero = 2",
     {}},
    {"UPDATE CLIENTES SET Nombre = 'sin pedido' FROM PEDIDOS WHERE PEDIDOS.Cliente = CLIENTES.Codigo "
     "AND PEDIDOS.Numero = 3",
     {}},
    {"SELECT Codigo, Nombre FROM CLIENTES WHERE Codigo IN (1, 2, 3, 4) ORDER BY Codigo",
     {{"1", "con pedido"}, {"2", "de 2"}, {"3", "Zamora"}, {"4", "bueno"}}},
    // The target's table aliased in the FROM: that one instance is the row changed.
    {"UPDATE STOCK SET Cantidad = Cantidad + P.Numero FROM STOCK S INNER JOIN PEDIDOS P ON P.Cliente = S.Cantidad "
     "WHERE S.Almacen = 'B'",
     {}},
    {"UPDATE CLIENTES SET Nombre = 'alias' FROM CLIENTES C1 INNER JOIN PEDIDOS P ON P.Cliente = C1.Codigo "
     "WHERE P.Numero = 1",
     {}},
    {"UPDATE CUENTAS SET Resto = 1 FROM CUENTAS K INNER JOIN CLIENTES C ON C.Codigo = K.Codigo + 0", {}},
    {"UPDATE dbo.STOCK SET Minimo = 1 FROM dbo.STOCK S INNER JOIN PEDIDOS P ON P.Cliente = S.Cantidad", {}},
    {"UPDATE stock SET Minimo = 2 FROM STOCK AS s INNER JOIN PEDIDOS P ON P.Cliente = s.Cantidad", {}},
    {"UPDATE STOCK SET Minimo = 3 FROM STOCK S WITH (NOLOCK) INNER JOIN PEDIDOS P ON P.Cliente = S.Cantidad", {}},
    {"UPDATE ZEM1.dbo.STOCK SET Minimo = 4 FROM ZEM1.dbo.STOCK S INNER JOIN PEDIDOS P ON P.Cliente = S.Cantidad", {}},
    {"UPDATE STOCK SET Minimo = 5 FROM STOCK S, PEDIDOS P WHERE P.Cliente = S.Cantidad", {}},
    {"SELECT Almacen, Minimo FROM STOCK ORDER BY Almacen", {{"A", "5"}, {"B", "3"}}},
    {"UPDATE STOCK SET Minimo = NULL FROM STOCK S INNER JOIN PEDIDOS P ON P.Cliente = S.Cantidad", {}},
    {"SELECT Almacen, Cantidad FROM STOCK ORDER BY Almacen", {{"A", "1"}, {"B", "4"}}},
    {"SELECT Codigo, Nombre FROM CLIENTES WHERE Codigo = 1", {{"1", "alias"}}},
    {"SELECT COUNT(*) FROM CUENTAS WHERE Resto = 1", {{"4"}}},
    // TOP with an addition in its WHERE and no ORDER BY of its own.
    {"SELECT TOP 3 Codigo FROM CLIENTES WHERE Codigo = 1 + Codigo", {}},
    {"SELECT TOP 2 Codigo FROM CLIENTES WHERE Codigo + 0 > 1", {{"2"}, {"3"}}},
    {"SELECT TOP 1 Nombre + '!' FROM CLIENTES WHERE Nombre = 'bue' + 'no'", {{"bueno!"}}},
    // COALESCE of columns answers in the type of the one of highest precedence.
    {"SELECT COALESCE(Nombre, Codigo) + '1' FROM CLIENTES WHERE Codigo = 9", {{"42"}}},
    {"SELECT COUNT(*) FROM STOCK WHERE COALESCE(Cantidad, Coste) / 2 > 0", {{"2"}}},
    {"SELECT COALESCE(Minimo, Cantidad) / 2 FROM STOCK WHERE Almacen = 'B'", {{"1"}}},
    {"SELECT COUNT(*) FROM STOCK S WHERE COALESCE(S.Minimo, S.Coste) / 2 BETWEEN 1.2 AND 1.3", {{"1"}}},
    // The same through names as the system writes them: bracketed, the target
    // by its alias, the general database by three parts.
    {"UPDATE [A]]B] SET Valor = 1 FROM [dbo].[A]]B] t1 INNER JOIN CLIENTES C ON C.Codigo = t1.Codigo "
     "WHERE C.Codigo = 2",
     {}},
    {"UPDATE t1 SET Valor = 2 FROM [A]]B] t1 INNER JOIN CLIENTES C ON C.Codigo = t1.Codigo WHERE C.Nombre = 'Zamora'",
     {}},
    {"SELECT Codigo, Valor FROM [A]]B] ORDER BY Codigo", {{"1", "0"}, {"2", "1"}, {"3", "2"}}},
    {"UPDATE ZEMG.dbo.EMPRESA SET Nombre = 'x' FROM ZEMG..EMPRESA E INNER JOIN CLIENTES C ON C.Codigo = E.Codigo "
     "WHERE C.Codigo = 2",
     {}},
    {"SELECT Codigo, Nombre FROM ZEMG.dbo.EMPRESA ORDER BY Codigo", {{"1", "EMPRESA 1"}, {"2", "x"}}},
    {"UPDATE CLIENTES SET Nombre = 'z' FROM CLIENTES A JOIN CLIENTES B ON A.Codigo = B.Codigo", {},
     "The table 'CLIENTES' is ambiguous."},
    {"UPDATE CLIENTES SET Nombre = 'z' FROM PEDIDOS P JOIN CLIENTES C ON C.Codigo = P.Cliente "
     "JOIN CUENTAS K ON K.Codigo = P.Numero WHERE Codigo = 1",
     {}, "Ambiguous column name 'Codigo'."},
    // A whole number given with a narrow decimal fits the type COALESCE answers in.
    {"UPDATE STOCK SET Cantidad = 1234567, Coste = NULL WHERE Almacen = 'B'", {}},
    {"SELECT COALESCE(Coste, Cantidad), COALESCE(Coste, 1234567) / 2 FROM STOCK WHERE Almacen = 'B'",
     {{"1234567", "617283.5"}}},
    {"SELECT COALESCE(Coste, Cantidad) FROM STOCK WHERE Almacen = 'A'", {{"2.5"}}},
};

// Rows or an error as one readable text.
QString Shown(const Rows& rows) {
  QStringList shown;
  for (const QStringList& row : rows) shown << row.join(u" | ");
  return shown.join(u"\n");
}

TEST_F(Conformance, AnswersWhereSqliteWouldDifferAreSqlServers) {
  client_.Run(u"USE ZEM1"_qs);
  for (const char* statement : kAnswerTables) client_.Run(QString::fromUtf8(statement));
  for (const Answer& answer : kAnswers) {
    const QString expected = answer.error ? u"error: "_qs + QString::fromUtf8(answer.error) : Shown(answer.expected);
    QString seen;
    try {
      seen = Shown(client_.Texts(QString::fromUtf8(answer.statement)));
    } catch (const EDatabaseError& error) {
      seen = u"error: "_qs + error.DriverMessage();
    }
    EXPECT_EQ(seen.toStdString(), expected.toStdString()) << answer.statement;
  }
}

// An UPDATE or DELETE whose target cannot be told among its FROM's items
// fails, and no row changes.
TEST_F(Conformance, UnplacedTargetsChangeNothing) {
  client_.Run(u"USE ZEM1"_qs);
  for (const char* statement : kAnswerTables) client_.Run(QString::fromUtf8(statement));
  const char* const statements[] = {
      "UPDATE CLIENTES SET Nombre = 'z' FROM CLIENTES A JOIN CLIENTES B ON A.Codigo = B.Codigo",
      "UPDATE CLIENTES SET Nombre = 'z' FROM PEDIDOS P JOIN CLIENTES C ON C.Codigo = P.Cliente "
      "JOIN CLIENTES D ON D.Codigo = P.Numero",
      "UPDATE X SET Nombre = 'z' FROM CLIENTES C JOIN PEDIDOS P ON P.Cliente = C.Codigo",
      "DELETE CLIENTES FROM CLIENTES A JOIN CLIENTES B ON A.Codigo = B.Codigo",
      "DELETE X FROM CLIENTES C JOIN PEDIDOS P ON P.Cliente = C.Codigo",
  };
  const QString count = u"SELECT COUNT(*) FROM CLIENTES WHERE Nombre = 'z'"_qs;
  const QString all = u"SELECT COUNT(*) FROM CLIENTES"_qs;
  for (const char* statement : statements) {
    const Rows before = client_.Texts(all);
    EXPECT_FALSE(client_.Error(QString::fromUtf8(statement)).isEmpty()) << statement;
    EXPECT_EQ(client_.Texts(all), before) << statement;
    EXPECT_EQ(client_.Texts(count), Rows({{"0"}})) << statement;
  }
  // A DELETE's target is bound as an UPDATE's: the rows of its instance the join brings go.
  const Rows before = client_.Texts(all);
  client_.Run(u"DELETE CLIENTES FROM PEDIDOS JOIN CLIENTES C ON C.Codigo = PEDIDOS.Cliente WHERE PEDIDOS.Numero = 1"_qs);
  client_.Run(u"DELETE C FROM CLIENTES C JOIN PEDIDOS P ON P.Cliente = C.Codigo"_qs);
  EXPECT_EQ(client_.Texts(u"SELECT COUNT(*) FROM CLIENTES WHERE Codigo IN (1, 2)"_qs), Rows({{"0"}}));
  EXPECT_EQ(client_.Texts(all), Rows({{QString::number(before[0][0].toInt() - 2)}}));
}

// OFFSET ... FETCH pages through an order, at any level and with counts
// of any form SQL Server takes; what SQL Server refuses fails.
const Case kOffsetCases[] = {
    {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET 2 ROWS FETCH NEXT 3 ROWS ONLY", {{"3"}, {"4"}, {"5"}}},
    {"select Codigo from CLIENTES WITH(NOLOCK) order by Codigo desc offset 5 row", {{"2"}, {"1"}}},
    {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET 0 ROWS FETCH FIRST 1 ROW ONLY", {{"1"}}},
    {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET 9 ROWS FETCH NEXT 1 ROWS ONLY", {}},
    {"SELECT Codigo FROM CLIENTES ORDER BY Nombre, Codigo OFFSET 1 + 1 ROWS FETCH NEXT (SELECT COUNT(*) FROM CLIENTES "
     "WHERE Codigo < 3) ROWS ONLY",
     {{"1"}, {"2"}}},
    {"SELECT Codigo FROM CLIENTES WHERE Codigo IN (SELECT Codigo FROM CLIENTES ORDER BY Nombre DESC OFFSET 1 ROWS "
     "FETCH NEXT 2 ROWS ONLY) ORDER BY Codigo",
     {{"4"}, {"7"}}},
    {"SELECT Codigo FROM CLIENTES WHERE Codigo < 3 UNION ALL SELECT Codigo FROM CLIENTES WHERE Codigo > 5 "
     "ORDER BY Codigo OFFSET 1 ROWS FETCH NEXT 2 ROWS ONLY",
     {{"2"}, {"6"}}},
    {"SELECT Codigo AS Offset FROM CLIENTES ORDER BY Offset OFFSET 6 ROWS", {{"7"}}},
    {"SELECT Descripcion FROM ARTICULO ORDER BY Fecha, Codigo OFFSET 1 ROWS FETCH NEXT 1 ROWS ONLY", {{"Arandela"}}},
};

TEST_F(Conformance, OffsetAndFetchReadThePageSqlServerReads) {
  RunCases("ZEM1", kOffsetCases, std::size(kOffsetCases));
  const std::tuple<const char*, const char*> refusals[] = {
      {"SELECT TOP 2 Codigo FROM CLIENTES ORDER BY Codigo OFFSET 1 ROWS",
       "A TOP can not be used in the same query or sub-query as a OFFSET."},
      {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET -1 ROWS",
       "The offset specified in a OFFSET clause may not be negative."},
      {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET 1 - 2 ROWS",
       "The offset specified in a OFFSET clause may not be negative."},
      {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET 0 ROWS FETCH NEXT 0 ROWS ONLY",
       "The number of rows provided for a FETCH clause must be greater then zero."},
      {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET 0 ROWS FETCH NEXT 2 - 3 ROWS ONLY",
       "The number of rows provided for a FETCH clause must be greater then zero."},
      {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET 1.5 ROWS",
       "The number of rows provided for a OFFSET clause must be an integer."},
      {"SELECT Codigo FROM CLIENTES OFFSET 1 ROWS", "Incorrect syntax near 'OFFSET'."},
      {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET 1 ROWS FETCH NEXT 2 ROWS", "Incorrect syntax near 'ROWS'."},
      {"SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET ROWS", "Incorrect syntax near 'OFFSET'."},
  };
  for (const auto& [statement, message] : refusals)
    EXPECT_EQ(client_.Error(QString::fromUtf8(statement)), QString::fromUtf8(message)) << statement;
}

TEST_F(Conformance, DateLiteralsFollowTheConfiguredFormat) {
  ServerClient dayFirst(folder_.Path(), u"sa"_qs, QString(), u"dd/mm/yyyy"_qs);
  dayFirst.Run(u"USE ZEM1"_qs);
  EXPECT_EQ(dayFirst.Texts(u"SELECT Descripcion FROM ARTICULO WHERE Fecha = '29/02/2024 10:15:00'"_qs),
            Rows({{"Tuerca"}}));
  EXPECT_EQ(dayFirst.Texts(u"SELECT CAST('02/01/2024' AS DATETIME)"_qs), Rows({{"2024-01-02 00:00:00"}}));
  EXPECT_THROW(dayFirst.Run(u"SELECT COUNT(*) FROM ARTICULO WHERE Fecha = '02/29/2024 10:15:00'"_qs), EDatabaseError);
}

}  // namespace
