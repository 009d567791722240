#include "platform/sql/SqlBatch.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlParser.h"

#include <gtest/gtest.h>

// The grammar every batch of the embedded server is compiled by before any
// of it runs.

namespace {

QString Refusal(const QString& batch) {
  try {
    CompileSqlBatch(batch);
  } catch (const SqlError& error) {
    return error.DriverMessage();
  }
  return {};
}

}  // namespace

// One statement of each shape among those the project's tests and its own
// code sent to the embedded server in a whole run of the tests.
TEST(SqlGrammar, TakesTheStatementsTheSystemSends) {
  const char* const statements[] = {
      "(SELECT TOP 1 Codigo FROM ART ORDER BY Nombre) UNION ALL (SELECT TOP 2 Codigo FROM ART ORDER BY Nombre DESC)",
      "-- a note; not a statement\nINSERT INTO CLIENTES VALUES (8, '/*;*/')",
      "ALTER TABLE SECRETO ADD Otra INT NULL",
      "ALTER DATABASE ZEMEMP SET RECOVERY SIMPLE",
      "ALTER TABLE CUENTAS ADD Nuevo INT NULL DEFAULT 5",
      "ALTER TABLE CUENTAS ADD Fijo INT NOT NULL DEFAULT 7",
      "ALTER TABLE CUENTAS ADD Lleno INT NULL DEFAULT 6 WITH VALUES",
      "BEGIN TRAN",
      "BEGIN TRANSACTION",
      "COMMIT TRANSACTION",
      "CREATE DATABASE EMP1",
      "CREATE TABLE OTRA (A INT)",
      "CREATE TABLE T (A INT NULL)",
      "CREATE INDEX T_Nombre ON T (Nombre)",
      "CREATE TABLE T (Id INTEGER IDENTITY(10,0))",
      "CREATE UNIQUE INDEX T_Clave ON [T] (a DESC)",
      "CREATE TABLE dbo.T (Codigo INTEGER DEFAULT 0)",
      "CREATE UNIQUE NONCLUSTERED INDEX T_Clave ON T (a)",
      "CREATE DATABASE ZEMEMP  COLLATE Modern_Spanish_CI_AI",
      "CREATE TABLE dbo.T (Nombre VARCHAR(20) DEFAULT '' NULL)",
      "CREATE TABLE dbo.RID (RowId INTEGER NULL, Valor INTEGER NULL)",
      "CREATE NONCLUSTERED INDEX HISTORIA_Texto ON dbo.HISTORIA (Texto)",
      "CREATE TABLE H (Id INTEGER IDENTITY(1,1), Texto VARCHAR(10) NULL)",
      "CREATE TABLE dbo.MAL (Codigo INTEGER DEFAULT 0 NULL, Activo NULL)",
      "CREATE TABLE dbo.MAL (Codigo INTEGER DEFAULT 0, Activo DEFAULT 0 NULL)",
      "CREATE TABLE dbo.MAL (Id INTEGER IDENTITY(1,1) NOT NULL, Otro INTEGER NULL)",
      "CREATE TABLE dbo.MAL (Codigo INTEGER DEFAULT 0, Id INTEGER IDENTITY(1,1) NULL)",
      "CREATE TABLE OCULTO (RowId INTEGER NULL, Oid INTEGER NULL, _RowId_ INTEGER NULL)",
      "CREATE TABLE dbo.MAL (Codigo INTEGER, CONSTRAINT ARTICULO_Clave1 PRIMARY KEY (Codigo))",
      "CREATE TABLE dbo.T (Codigo INTEGER DEFAULT 0, CONSTRAINT T_Clave1 PRIMARY KEY (Codigo))",
      "CREATE TABLE FICHA (Id INTEGER, Momento DATETIME NULL, CONSTRAINT FICHA_Clave1 PRIMARY KEY (Id))",
      "CREATE TABLE T (Codigo INTEGER DEFAULT 0, Fecha DATETIME NULL, CONSTRAINT T_Clave1 PRIMARY KEY (Codigo))",
      "CREATE TABLE TEMP000001_Unknown (Precio DECIMAL(28,8) DEFAULT 0 NULL, Nombre VARCHAR(20) DEFAULT '' NULL)",
      "CREATE TABLE dbo.CLIENTES2 (Codigo INTEGER DEFAULT '' NULL, Nombre CHAR(4) COLLATE Modern_Spanish_ci_ai"
       " NULL)",
      "CREATE TABLE TEMP000001_Unknown (A INTEGER DEFAULT 0 NULL, B INTEGER DEFAULT 0 NULL, C INTEGER DEFAULT 0"
       " NULL)",
      "CREATE TABLE dbo.FICHA (Codigo INTEGER, Numero INTEGER IDENTITY(1,1), CONSTRAINT FICHA_Clave1 PRIMARY KEY"
       " (Codigo))",
      "CREATE TABLE CLIENTES (Codigo INT NOT NULL, Nombre VARCHAR(20) NULL, CONSTRAINT CLIENTES_Clave1 PRIMARY KEY"
       " (Codigo))",
      "CREATE TABLE MONEDA (Codigo INT, Cambio FLOAT NULL, Decimales INT NULL, CONSTRAINT MONEDA_Clave1 PRIMARY"
       " KEY (Codigo))",
      "CREATE TABLE dbo.T (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(20) DEFAULT '' NULL, CONSTRAINT T_Clave1"
       " PRIMARY KEY (Codigo))",
      "CREATE TABLE FICHAJE (Id INT NOT NULL, HoraEntrada DATETIME NULL, Alta DATETIME NULL, CONSTRAINT"
       " FICHAJE_Clave1 PRIMARY KEY (Id))",
      "CREATE TABLE dbo.UNICO (Codigo INTEGER NOT NULL, Valor INTEGER NULL, Nombre VARCHAR(10) NULL, CONSTRAINT"
       " UNICO_Codigo UNIQUE (Codigo))",
      "CREATE TABLE dbo.TALON (Numero INTEGER IDENTITY (100, 5) NOT NULL, Texto VARCHAR(10) NULL, CONSTRAINT"
       " TALON_Clave1 PRIMARY KEY (Numero))",
      "CREATE TABLE dbo.SERIE (Numero INTEGER IDENTITY(1,1), Descripcion VARCHAR(40) DEFAULT '' NULL, CONSTRAINT"
       " SERIE_Clave1 PRIMARY KEY (Numero))",
      "CREATE TABLE dbo.HISTORIA (Id INTEGER IDENTITY(1,1), Texto VARCHAR(20) DEFAULT '' NULL, CONSTRAINT"
       " HISTORIA_Clave1 PRIMARY KEY CLUSTERED (Texto))",
      "CREATE TABLE TEXTO (Codigo VARCHAR(10), Descripcion VARCHAR(40) NULL, Texto TEXT NULL, Tipo VARCHAR(20)"
       " NULL, CONSTRAINT TEXTO_Clave1 PRIMARY KEY (Codigo))",
      "CREATE TABLE dbo.SALDO (Codigo INTEGER DEFAULT 0, Importe INTEGER NULL, Veces TINYINT NULL, Total BIGINT"
       " NULL, CONSTRAINT SALDO_Clave1 PRIMARY KEY (Codigo))",
      "CREATE TABLE dbo.ART (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, Familia VARCHAR(10)"
       " DEFAULT '' NULL, CONSTRAINT ART_Clave1 PRIMARY KEY (Codigo))",
      "CREATE TABLE dbo.ART (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, Precio DECIMAL(8,3)"
       " DEFAULT 0 NULL, Stock SMALLINT NULL, CONSTRAINT ART_Clave1 PRIMARY KEY (Codigo))",
      "CREATE TABLE dbo.TXIDIOMA (Idioma VARCHAR(10) DEFAULT '', ClaveTexto VARCHAR(250) DEFAULT '', Texto"
       " VARCHAR(250) DEFAULT '' NULL, CONSTRAINT TXIDIOMA_Clave1 PRIMARY KEY (Idioma, ClaveTexto))",
      "CREATE TABLE dbo.TEXTO (Codigo VARCHAR(10) DEFAULT '', Descripcion VARCHAR(40) DEFAULT '' NULL, Texto TEXT"
       " NULL, Tipo VARCHAR(10) DEFAULT '' NULL, CONSTRAINT TEXTO_Clave1 PRIMARY KEY (Codigo))",
      "CREATE TABLE dbo.LINEAS (Serie VARCHAR(2) DEFAULT '', Numero INTEGER DEFAULT 0, Fecha DATETIME DEFAULT"
       " '12/30/1899 00:00:00', Id INTEGER IDENTITY(1,1), CONSTRAINT LINEAS_Clave1 PRIMARY KEY (Serie,Numero))",
      "CREATE TABLE dbo.GRANTAB (NombreTabla VARCHAR(30) DEFAULT '', ClaveTabla VARCHAR(136) DEFAULT '',"
       " GrupoAnalisis VARCHAR(12) DEFAULT '', CONSTRAINT GRANTAB_Clave1 PRIMARY KEY (NombreTabla, ClaveTabla,"
       " GrupoAnalisis))",
      "CREATE TABLE dbo.PRECIOS (Codigo INTEGER DEFAULT 0, Precio DECIMAL(6,2) DEFAULT 0 NULL, Cantidad SMALLINT"
       " DEFAULT 0 NULL, Notas VARCHAR(MAX) NULL, Ref VARCHAR(10) NULL, CONSTRAINT PRECIOS_Clave1 PRIMARY KEY"
       " (Codigo), )",
      "CREATE TABLE dbo.STOCK (Almacen VARCHAR(4) DEFAULT '', Articulo VARCHAR(10) DEFAULT '', Cantidad INTEGER"
       " DEFAULT 0 NULL, Minimo SMALLINT NULL, Coste DECIMAL(8,3) NULL, CONSTRAINT STOCK_Clave1 PRIMARY KEY"
       " (Almacen, Articulo))",
      "CREATE TABLE ARTICULO (Codigo INT, Nombre VARCHAR(300) NULL, Precio FLOAT NULL, Alta DATETIME NULL,"
       " HoraEntrada DATETIME NULL, HorasExtra FLOAT NULL, Notas TEXT NULL, Oculto VARCHAR(5) NULL, CONSTRAINT"
       " ARTICULO_Clave1 PRIMARY KEY (Codigo))",
      "CREATE TABLE dbo.CUENTAS (Codigo INTEGER DEFAULT 0, Saldo MONEY DEFAULT 0 NULL, Resto SMALLMONEY DEFAULT 0"
       " NULL, Grande NUMERIC(38) DEFAULT 0 NULL, Alta DATETIME NULL, Corta SMALLDATETIME NULL, CONSTRAINT"
       " CUENTAS_Clave1 PRIMARY KEY (Codigo))",
      "CREATE TABLE dbo.[RA]]RO] (Codigo INTEGER DEFAULT 0, [_ INT);DELETE FROM CLIENTES--] INTEGER DEFAULT 0"
       " NULL, [a]]b] VARCHAR(10) DEFAULT '' NULL, [Año-ñ] DATETIME DEFAULT '12/30/1899 00:00:00' NULL, CONSTRAINT"
       " [RA]]RO_Clave1] PRIMARY KEY (Codigo))",
      "CREATE TABLE dbo.ARTICULO (Empresa INTEGER DEFAULT 0, Codigo VARCHAR(10) DEFAULT '', Descripcion"
       " VARCHAR(40) DEFAULT '' NULL, Fecha DATETIME DEFAULT '12/30/1899 00:00:00' NULL, Notas TEXT NULL,"
       " CONSTRAINT ARTICULO_Clave1 PRIMARY KEY (Empresa, Codigo))",
      "CREATE TABLE USUARIO (Codigo VARCHAR(10), Categoria VARCHAR(20) NULL, Configuracion TEXT NULL,"
       " ProgramasNoAccesibles TEXT NULL, ProgramasSoloLectura TEXT NULL, ProgramasActivos TEXT NULL, Empresas TEXT"
       " NULL, CONSTRAINT USUARIO_Clave1 PRIMARY KEY (Codigo))",
      "CREATE TABLE dbo.BLOBTAB (NombreTabla VARCHAR(20) DEFAULT '', ClaveTabla VARCHAR(250) DEFAULT '', IdObjeto"
       " VARCHAR(40) DEFAULT '', TipoObjeto VARCHAR(10) DEFAULT '' NULL, Objeto IMAGE NULL, CONSTRAINT"
       " BLOBTAB_Clave1 PRIMARY KEY (NombreTabla, ClaveTabla, IdObjeto))",
      "CREATE TABLE dbo.CAMPOUSR (NombreTabla VARCHAR(20) DEFAULT '', OrdenCampo INTEGER DEFAULT 0, NombreCampo"
       " VARCHAR(30) DEFAULT '' NULL, TipoCampo VARCHAR(20) DEFAULT '' NULL, LongitudCampo INTEGER DEFAULT 0 NULL,"
       " CONSTRAINT CAMPOUSR_Clave1 PRIMARY KEY (NombreTabla, OrdenCampo))",
      "CREATE TABLE dbo.INCAPLIC (NumeroIncidencia INTEGER DEFAULT 0, Fecha DATETIME DEFAULT '12/30/1899 00:00:00'"
       " NULL, CodigoEmpresa SMALLINT DEFAULT 0 NULL, Descripcion TEXT  NULL, Factor DECIMAL(28,12) DEFAULT 0 NULL,"
       " Foto IMAGE NULL, CONSTRAINT INCAPLIC_Clave1 PRIMARY KEY (NumeroIncidencia))",
      "CREATE TABLE dbo.CAMPOUSR (NombreTabla VARCHAR(30) DEFAULT '', OrdenCampo SMALLINT DEFAULT 0, NombreCampo"
       " VARCHAR(25) DEFAULT '' NULL, TipoCampo VARCHAR(15) DEFAULT '' NULL, LongitudCampo SMALLINT DEFAULT 0 NULL,"
       " NombreTablaConexion VARCHAR(30) DEFAULT '' NULL, CONSTRAINT CAMPOUSR_Clave1 PRIMARY KEY (NombreTabla,"
       " OrdenCampo))",
      "DELETE SECRETO",
      "DELETE FROM ART",
      "DELETE TOP (0) FROM [dbo].[LIN]",
      "DELETE TOP (10) PERCENT FROM LIN",
      "DELETE TEXTO   WHERE Codigo = 'T1'",
      "DELETE FROM CLIENTES WHERE Codigo = 0",
      "DELETE TOP (-1) FROM LIN WHERE Codigo = 1",
      "DELETE C FROM VCLIENTES C JOIN T ON T.x = C.Codigo",
      "DELETE HEAP FROM ART WHERE ART.Codigo = HEAP.Codigo AND ART.Stock > 10",
      "DELETE RID FROM RID r JOIN ART a ON a.Codigo = r.Valor WHERE a.Codigo = 1",
      "DELETE TOP (1 + 1) HEAP FROM ART WHERE ART.Codigo = HEAP.Codigo AND ART.Codigo = 2",
      "DELETE FROM t1 FROM LIN t1 JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t2.Precio > 2",
      "DELETE LIN FROM LIN INNER JOIN ART ON LIN.Codigo = ART.Codigo WHERE ART.Stock IS NULL",
      "DELETE TOP (1) LIN FROM LIN JOIN ART ON ART.Codigo = LIN.Codigo WHERE ART.Nombre = 'Dos'",
      "DELETE dbo.LIN FROM LIN t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t2.Codigo = 1",
      "DELETE HEAP FROM ART JOIN LIN ON LIN.Codigo = ART.Codigo WHERE HEAP.Codigo = LIN.Codigo AND LIN.Almacen ="
       " 'B'",
      "DELETE TOP (2) h FROM ART a JOIN HEAP h ON h.Codigo IN (a.Codigo * 20000, a.Codigo * 20000 + 1) WHERE"
       " a.Codigo > 1",
      "DELETE LIN FROM ART JOIN (LIN JOIN HEAP ON HEAP.Codigo = LIN.Codigo) ON ART.Codigo = LIN.Codigo WHERE"
       " HEAP.Valor = 9",
      "DELETE TOP (3) h FROM ART JOIN (HEAP h JOIN LIN ON LIN.Codigo = h.Codigo) ON ART.Codigo = h.Codigo WHERE"
       " LIN.Almacen = 'A'",
      "DELETE t1 FROM ART t2 JOIN (HEAP t1 JOIN LIN l ON l.Codigo = t1.Codigo) ON t2.Codigo = t1.Codigo WHERE"
       " l.Almacen = 'A' AND t1.Valor < 9",
      "DROP TABLE MAL",
      "DROP TABLE IF EXISTS dbo.T",
      "DROP INDEX [NOEXISTE] ON [dbo].[ARTICULO]",
      "EXEC sp_rename 'T', 'T2'",
      "INSERT INTO T (A) VALUES (1)",
      "INSERT T (a) SELECT a FROM U",
      "INSERT INTO HISTORIA (Texto) VALUES (NULL)",
      "INSERT INTO MOV (Id, Unidades) SELECT Id + 1, Unidades FROM MOV",
      "INSERT INTO PRECIOS (Codigo, Cantidad) SELECT Codigo, Codigo * 10000 FROM CLIENTES WHERE Codigo = 4",
      "INSERT INTO USUARIO (Codigo, Nombre, Categoria, ClaveAcceso, Configuracion) VALUES ('ANA', 'Ana', 'Normal',"
       " 'pw', 'CamposNoVisibles=Precio'), ('LUIS', 'Luis', 'JEFE', NULL, NULL), ('RAUL', 'Raul', 'Normal', NULL,"
       " NULL)",
      "RESTORE DATABASE ZEMEMP3  FROM DISK = '/tmp/test_core-XGLeyW/Copias/ajena.bak'WITH REPLACE",
      "ROLLBACK TRANSACTION",
      "SELECT 25/0",
      "SELECT C FROM T",
      "SELECT 1; SELECT 2",
      "SELECT SUM(A) FROM T",
      "SELECT LEFT(NULL, -2)",
      "SELECT COUNT(*) FROM T",
      "SELECT RIGHT(NULL, -1)",
      "SELECT COALESCE('a', 1)",
      "SELECT COALESCE(NULL, NULL)",
      "SELECT * INTO #COPIA FROM ART",
      "SELECT SUBSTRING(NULL, 1, -1)",
      "SELECT CAST(40000 AS SMALLINT)",
      "SELECT TOP (0) Codigo FROM ART",
      "SELECT * FROM LIN ORDER BY 1, 2",
      "SELECT AVG(Codigo) FROM CLIENTES",
      "SELECT CONVERT(INT, 3000000000.0)",
      "SELECT TOP (NULL) Codigo FROM ART",
      "SELECT MAX(Contador) FROM NOMBTTEM",
      "SELECT * FROM CLIENTES WITH(UPDLOCK)",
      "SELECT TOP 10 PERCENT * FROM CLIENTES",
      "SELECT SUM(ALL Importe + 0) FROM SALDO",
      "SELECT LEFT(NULL, 2), LEFT('abc', NULL)",
      "SELECT Precio % CAST(2 AS FLOAT) FROM ART",
      "SELECT TOP 1 Fecha FROM dbo.T WITH(NOLOCK)",
      "SELECT Tipo FROM TEXTO WHERE Codigo = 't2'",
      "SELECT COUNT(*) FROM CUENTAS WHERE Resto = 1",
      "SELECT SUM(Importe) FROM SALDO WHERE Codigo = 1",
      "SELECT (SELECT COUNT(*) FROM SALDO) + 2147483647",
      "SELECT TOP (?) Codigo FROM ART WHERE Familia = ?",
      "SELECT * INTO dbo.COPIA FROM ART WHERE Codigo = 1",
      "SELECT COUNT(*) FROM SALDO HAVING SUM(Importe) > 0",
      "SELECT Codigo FROM CLIENTES WHERE Codigo LIKE '1%'",
      "SELECT TOP (1 + 1) Codigo FROM ART ORDER BY Codigo",
      "SELECT COUNT(*) FROM NOMBRES WHERE Nombre LIKE 'b%'",
      "SELECT ISNULL(Stock, 'x') FROM ART WHERE Codigo = 2",
      "SELECT TOP (?) Codigo FROM ART ORDER BY Codigo DESC",
      "SELECT COUNT(*) FROM CLIENTES WHERE Codigo IN (1, 2)",
      "SELECT DISTINCT loginame FROM master.dbo.sysprocesses",
      "SELECT SUM(CAST(Unidades AS BIGINT)), COUNT(*) FROM MOV",
      "SELECT Precio, Nombre FROM ARTICULO ORDER BY Codigo DESC",
      "SELECT Codigo FROM CLIENTES  WHERE 1=1   AND Codigo = '4'",
      "SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET ? ROWS",
      "SELECT DISTINCT TOP (2) Nombre FROM [dbo].[CLIENTES] AS X",
      "SELECT CASE WHEN a = 1 THEN 'x' + b ELSE c END + 'z' FROM T",
      "SELECT COUNT(*) FROM CLIENTES WHERE ISNULL(Nombre, '') = ''",
      "SELECT TOP 1 WITH TIES Codigo FROM CLIENTES ORDER BY Codigo",
      "SELECT COALESCE(Nombre, Stock + 1) FROM ART WHERE Codigo = 1",
      "SELECT SUM(DISTINCT Importe), SUM(DISTINCT Veces) FROM SALDO",
      "SELECT COALESCE('7', 2) + '1', COALESCE(NULL, '2.5', 1.0) + 1",
      "SELECT LEFT(a, 2), RIGHT(a, 1) FROM T LEFT JOIN U ON T.x = U.x",
      "SELECT Nombre FROM CLIENTES WHERE Nombre <> '' ORDER BY Nombre",
      "SELECT * FROM CLIENTES WHERE Nombre = 'x' COLLATE Spanish_CI_AI",
      "SELECT A.Codigo FROM ART A JOIN #COPIA C ON C.Codigo = A.Codigo",
      "SELECT TOP 2 Codigo FROM CLIENTES ORDER BY Codigo OFFSET 1 ROWS",
      "SELECT CAST(Codigo AS INTEGER) FROM ARTICULO WHERE Codigo = 'A1'",
      "SELECT Codigo INTO COPIA FROM ART UNION SELECT Codigo FROM SALDO",
      "SELECT COUNT(*) FROM STOCK WHERE COALESCE(Cantidad, Coste) / 2 > 0",
      "SELECT DISTINCT TOP (3 - 1) Familia FROM ART ORDER BY Familia DESC",
      "SELECT COUNT(*) FROM CLIENTES WHERE (Nombre = '' OR Nombre IS NULL)",
      "SELECT Codigo AS Offset FROM CLIENTES ORDER BY Offset OFFSET 6 ROWS",
      "SELECT Codigo FROM CLIENTES WHERE Nombre LIKE '_v%' ORDER BY Codigo",
      "SELECT A.D AS A, B.D AS B, C.D AS C FROM DIGITO A, DIGITO B, DIGITO C",
      "SELECT Codigo FROM CLIENTES WHERE NOT Nombre LIKE '%b' AND Codigo >= 0",
      "SELECT LEN(''), LEN(NULL), LEN('ab  '), ISNUMERIC(''), CAST('' AS INTEGER)",
      "select Codigo from CLIENTES WITH(NOLOCK) order by Codigo desc offset 5 row",
      "SELECT name FROM sysdatabases   WHERE name LIKE 'ZEM%'     OR name = 'ZEMG'",
      "SELECT Nombre FROM CLIENTES WHERE Codigo IN (SELECT Codigo FROM dbo.SECRETO)",
      "SELECT SUM(CAST(Importe AS BIGINT)), SUM(Veces), SUM(Importe / 2) FROM SALDO",
      "SELECT CASE WHEN Codigo = 1 THEN 1 ELSE 2.5 END / 2 FROM ART WHERE Codigo = 1",
      "SELECT ISNULL(Precio, 0) / 2, ISNULL(Stock, Codigo) FROM ART WHERE Codigo = 3",
      "SELECT TOP 1 Texto FROM TXIDIOMA   WHERE Idioma = 'EN'    AND ClaveTexto = '%'",
      "SELECT Codigo FROM CLIENTES WHERE Codigo = 1 OR Nombre LIKE '%b' AND Codigo > 3",
      "SELECT TOP 1 Texto FROM TXIDIOMA   WHERE Idioma = 'EN' AND ClaveTexto LIKE '\t%'",
      "SELECT 'ZEM' + CONVERT(VARCHAR(4), Codigo) FROM ZEMG.dbo.EMPRESA ORDER BY Codigo",
      "SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET 0 ROWS FETCH FIRST 1 ROW ONLY",
      "SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET 0 ROWS FETCH NEXT 0 ROWS ONLY",
      "SELECT Codigo, Nombre FROM CLIENTES WHERE Codigo IN (1, 2, 3, 4) ORDER BY Codigo",
      "SELECT TOP 100 Codigo, Nombre FROM NOMBRES WITH(NOLOCK) WHERE (Nombre LIKE 'b%')",
      "SELECT Codigo FROM SALDO GROUP BY Codigo HAVING SUM(Importe) + Codigo > 2000000001",
      "SELECT COUNT(*) FROM CLIENTES WHERE Nombre = 'CASA PEÑA' COLLATE Modern_Spanish_CS_AS",
      "SELECT COUNT(*) FROM STOCK S WHERE COALESCE(S.Minimo, S.Coste) / 2 BETWEEN 1.2 AND 1.3",
      "SELECT T.Numero, C.Id FROM TALON T JOIN CUENTA C ON C.Texto = T.Texto ORDER BY T.Numero",
      "SELECT COALESCE(Nombre, 'x'), COALESCE(NULL, Nombre, 'y') FROM CLIENTES WHERE Codigo = 5",
      "SELECT COUNT(*) FROM ARTICULO A WHERE A.Fecha BETWEEN '01/01/2024' AND '1/31/2024 23:59'",
      "SELECT I.name FROM SYSINDEXES I JOIN SYSOBJECTS O ON O.id = I.id WHERE O.name = 'LINEAS'",
      "SELECT MAX(Codigo)  FROM CLIENTES WITH(NOLOCK)  WHERE  (Codigo >= 2)  AND  (Codigo <= 5)",
      "SELECT CAST('02/01/2024' AS DATETIME), CONVERT(DATETIME, '01/02/2024', 103), '05/03/2024'",
      "SELECT Nombre FROM ART WHERE Codigo = 1 UNION ALL SELECT Codigo FROM ART WHERE Codigo = 2",
      "SELECT TOP 1 Codigo AS Primero FROM ART WHERE Codigo = 4 INTERSECT SELECT Codigo FROM ART",
      "SELECT Codigo FROM ART WHERE Codigo IN (SELECT TOP (2 * 1) Codigo FROM ART ORDER BY Nombre)",
      "SELECT TOP ((SELECT COUNT(*) FROM ART WHERE Familia = 'F2')) Codigo FROM ART ORDER BY Nombre",
      "SELECT CAST(Codigo AS BIGINT) * CAST(4611686018427387904 AS BIGINT) FROM ART WHERE Codigo = 2",
      "SELECT COALESCE(Coste, Cantidad), COALESCE(Coste, 1234567) / 2 FROM STOCK WHERE Almacen = 'B'",
      "SELECT COUNT(*) FROM CLIENTES WHERE Nombre LIKE '%peña%' COLLATE SQL_Latin1_General_Cp1_CS_AS",
      "SELECT Codigo FROM CLIENTES ORDER BY Codigo OFFSET :desde ROWS FETCH FIRST :cuantos ROWS ONLY",
      "SELECT ISNULL(CAST(NULL AS VARCHAR(3)), 'abcdef'), ISNULL(CAST(NULL AS VARCHAR(3)), 12) + 'x'",
      "SELECT Codigo + 1 Siguiente, Codigo * 2 AS Doble, (Codigo - 1) Previo FROM ART WHERE Codigo = 1",
      "SELECT Codigo FROM CLIENTES ORDER BY Codigo DESC OFFSET (? + 1) ROWS FETCH NEXT ? * 2 ROWS ONLY",
      "SELECT Nombre FROM CLIENTES WHERE Codigo IN (1, 2, 4) ORDER BY Nombre COLLATE Latin1_General_BIN",
      "SELECT COALESCE(Stock, CASE WHEN Codigo = 2 THEN 1 ELSE 0 END + 0.5) / 2 FROM ART WHERE Codigo = 2",
      "SELECT * FROM CLIENTES WHERE ISNULL(Alta, '12/30/1899') = '12/30/1899' OR '' = COALESCE(Codigo, '')",
      "SELECT * FROM CLIENTES C WHERE '01/02/2024' < C.Alta OR C.Alta NOT BETWEEN '1/2/2024' AND '20240301'",
      "SELECT CAST(2.5 AS NUMERIC), CAST(1.4 AS DECIMAL), CAST(-2.5 AS NUMERIC), CAST(2.75 AS NUMERIC(5,1))",
      "SELECT Nombre, Codigo FROM ART WHERE Codigo = 1 EXCEPT SELECT 'Dos', Codigo FROM ART WHERE Codigo = 2",
      "SELECT TOP 1 Codigo FROM ART WHERE Codigo = 3 UNION ALL SELECT TOP 2 Codigo FROM ART WHERE Codigo > 4",
      "SELECT Codigo / 2 AS Mitad FROM ART WHERE Codigo = 3 UNION ALL SELECT Precio FROM ART WHERE Codigo = 2",
      "SELECT TOP 3 Codigo FROM ART WHERE Familia = 'F1' EXCEPT SELECT TOP 1 Codigo FROM ART WHERE Codigo = 1",
      "SELECT A.x FROM A, dbo.B AS b JOIN C c ON c.y = b.y, (SELECT z FROM D) d WHERE A.x IN (SELECT x FROM E)",
      "SELECT TOP 1 Texto FROM TXIDIOMA   WHERE Idioma = 'EN' AND ClaveTexto LIKE '%'  AND ClaveTexto LIKE '%%'",
      "SELECT CAST('2024-01-31 10:00:29.998' AS SMALLDATETIME), CAST('2024-01-31 10:00:29.999' AS SMALLDATETIME)",
      "SELECT ISNULL(a, ''), LEN(b), SUBSTRING(b, 1, 2), CHARINDEX('|', b), UPPER(b), LTRIM(RTRIM(b)), GETDATE()",
      "SELECT DISTINCT nt_username   FROM master.dbo.sysprocesses   WHERE nt_username <> ''  ORDER BY nt_username",
      "SELECT COALESCE(Codigo, (SELECT Codigo FROM SALDO WHERE Codigo = 9)) + 2147483647 FROM ART WHERE Codigo = 1",
      "SELECT Codigo FROM ART WHERE Codigo = 1 UNION SELECT TOP 1 Codigo FROM ART WHERE Codigo = 2 ORDER BY Codigo",
      "SELECT CONVERT( VARCHAR, Fecha, 103) + ' ' + CONVERT( VARCHAR, Fecha ,108) FROM ARTICULO WHERE Codigo = '12'",
      "SELECT '05/03/2024' FROM CLIENTES WHERE Nombre = '05/03/2024' AND Codigo IN ('1', '', 3) OR Codigo = '1' +"
       " '2'",
      "SELECT TOP 1 Texto FROM TXIDIOMA   WHERE Idioma = 'eng'    AND ClaveTexto = 'AÑO' COLLATE"
       " Modern_Spanish_CI_AI",
      "SELECT TipoObjeto FROM BLOBTAB   WHERE NombreTabla = 'CLIENTES'    AND ClaveTabla = '1;'    AND IdObjeto ="
       " '1'",
      "SELECT Codigo FROM ART WHERE Codigo IN (SELECT Importe / 1000000000 FROM SALDO UNION SELECT '3') ORDER BY"
       " Codigo",
      "SELECT Codigo, '7' FROM ART WHERE Codigo = 1 UNION SELECT Stock, Codigo / 2 FROM ART WHERE Codigo = 3 ORDER"
       " BY 1",
      "SELECT Codigo, Valor FROM HEAP WHERE Valor < 0 OR Codigo IN (33334, 66667, 99998, 100000, 100001) ORDER BY"
       " Codigo",
      "SELECT MAX(CAST(Codigo AS INTEGER))  FROM ARTICULO WITH(NOLOCK)  WHERE  (ISNUMERIC(Codigo) = 1)  AND "
       " (Empresa=1)",
      "SELECT CAST(Saldo AS INT), CONVERT(INT, Resto), CAST(CAST(1.56 AS MONEY) AS INTEGER) FROM CUENTAS WHERE"
       " Codigo = 1",
      "SELECT C.Name   FROM SYSCOLUMNS C JOIN SYSOBJECTS O        ON C.id = O.id   WHERE O.name = 'RA]RO' ORDER BY"
       " C.colid",
      "SELECT Codigo, Nombre, Alta, Saldo\n  FROM CLIENTES\n WHERE Alta >= :Desde AND Nombre <> ':Nombre' ORDER BY"
       " Codigo DESC",
      "SELECT ISNULL(CAST(NULL AS VARCHAR(3)), CAST('abcdef' AS VARCHAR(MAX))), ISNULL(Nombre, 'x') FROM ART WHERE"
       " Codigo = 1",
      "SELECT Stock * 200 FROM ART WHERE Codigo = 3 UNION SELECT NULL UNION SELECT Veces FROM SALDO WHERE Codigo ="
       " 1 ORDER BY 1",
      "SELECT TOP 1 Nombre FROM ART WHERE Codigo = 4 UNION ALL SELECT TOP (2) Nombre FROM ART WHERE Codigo = 1"
       " ORDER BY Nombre DESC",
      "SELECT Stock, (SELECT MAX(Precio) FROM ART AS A) / 2, (SELECT TOP 1 Codigo FROM SALDO) + 2147483646 FROM"
       " ART WHERE Codigo = 1",
      "SELECT TOP 1 Texto FROM TXIDIOMA   WHERE Idioma = 'EN' AND ClaveTexto LIKE '%'  AND ClaveTexto LIKE '%%' "
       " AND ClaveTexto LIKE '%.'",
      "SELECT CASE WHEN Codigo = 1 THEN NULL WHEN Codigo = 2 THEN 3 ELSE CASE WHEN Stock > 0 THEN 0.5 END END * 2"
       " FROM ART ORDER BY Codigo",
      "SELECT REPLACE(Nombre, 'PEÑA' COLLATE SQL_Latin1_General_Cp1_CS_AS, 'x'), REPLACE(Nombre, 'PENA', 'x') FROM"
       " CLIENTES WHERE Codigo = 7",
      "SELECT DISTINCT nt_username   FROM master.dbo.sysprocesses   WHERE (nt_username <> '' AND nt_username IS"
       " NOT NULL)  ORDER BY nt_username",
      "SELECT C.Name   FROM SYSCOLUMNS C JOIN SYSOBJECTS O        ON C.id = O.id   WHERE O.name = 'ARTICULO' AND"
       " C.xtype <> 35  ORDER BY C.colid",
      "SELECT C.name, C.collation FROM ZEMG.dbo.syscolumns C JOIN ZEMG.dbo.sysobjects O ON O.id = C.id WHERE"
       " O.name = 'EMPRESA' AND C.xtype = 167",
      "SELECT Codigo FROM CLIENTES ORDER BY Nombre, Codigo OFFSET 1 + 1 ROWS FETCH NEXT (SELECT COUNT(*) FROM"
       " CLIENTES WHERE Codigo < 3) ROWS ONLY",
      "SELECT CAST('1753-12-31 23:59:59.999' AS DATETIME), CAST('2024-01-31 10:00:00.998' AS DATETIME),"
       " CAST('2024-01-31 10:00:00.002' AS DATETIME)",
      "SELECT * FROM ((SELECT TOP 2 Nombre FROM ART ORDER BY Codigo DESC) UNION ALL SELECT TOP 1 Nombre FROM ART"
       " WHERE Codigo = 2) t ORDER BY Nombre",
      "SELECT '2016-12-21' AS Literal, MAX(Alta) AS Ultima, UPPER('2016-12-21 10:00:00') AS Mayus, '2016-12-21'"
       " Escrito FROM CLIENTES WHERE Codigo > 2",
      "SELECT Codigo FROM CLIENTES WHERE Codigo IN (SELECT Codigo FROM CLIENTES ORDER BY Nombre DESC OFFSET 1 ROWS"
       " FETCH NEXT 2 ROWS ONLY) ORDER BY Codigo",
      "SELECT Codigo FROM CLIENTES WHERE Codigo < 3 UNION ALL SELECT Codigo FROM CLIENTES WHERE Codigo > 5 ORDER"
       " BY Codigo OFFSET 1 ROWS FETCH NEXT 2 ROWS ONLY",
      "SELECT TOP 1 Texto FROM TXIDIOMA   WHERE Idioma = 'EN' AND ClaveTexto LIKE '%'  AND ClaveTexto LIKE '%.%' "
       " AND ClaveTexto LIKE '%%'  AND ClaveTexto LIKE '%\t'",
      "SELECT Codigo FROM CLIENTES WHERE Codigo IN (SELECT Codigo FROM CLIENTES ORDER BY Codigo DESC OFFSET ? ROWS"
       " FETCH NEXT ? ROWS ONLY) AND Codigo > ? ORDER BY Codigo",
      "SELECT TOP 1 CASE WHEN Codigo = 1 THEN Nombre ELSE 'x' END Valor FROM ART WHERE Codigo = 1 UNION ALL SELECT"
       " TOP 1 CASE WHEN Codigo = 1 THEN 1 ELSE 2.5 END FROM ART WHERE Codigo = 1",
      "SELECT TOP 1 Texto FROM TXIDIOMA   WHERE Idioma = 'EN' AND ClaveTexto LIKE '%'  AND ClaveTexto LIKE '%.%' "
       " AND ClaveTexto LIKE '%%'  AND ClaveTexto LIKE '%a%'  AND ClaveTexto LIKE '%.'",
      "SELECT C.Name   FROM SYSINDEXES I JOIN SYSINDEXKEYS K   ON I.id = K.id AND I.indid = K.indid   JOIN"
       " SYSCOLUMNS C ON I.id = C.id AND K.colid = C.colid   WHERE I.Name = 'RA]RO_a]b'  ORDER BY K.KeyNo",
      "SELECT T.GrupoAnalisis FROM GRANTAB T JOIN GRANALIS G   ON T.GrupoAnalisis = G.Codigo   WHERE T.NombreTabla"
       " = 'CLIENTES'  AND T.ClaveTabla = '1;'  AND G.CategoriaGrupo = 'OTRA'  ORDER BY T.GrupoAnalisis",
      "SELECT TOP 1 Texto FROM TXIDIOMA   WHERE Idioma = 'EN' AND ClaveTexto LIKE 'a%'  AND ClaveTexto LIKE '%%' "
       " AND ClaveTexto LIKE '%.%'  AND ClaveTexto LIKE '%b%'  AND ClaveTexto LIKE '%a%'  AND ClaveTexto LIKE '%b'",
      "SELECT COUNT(DISTINCT P.hostprocess + P.nt_username)   FROM master.dbo.sysprocesses P   JOIN"
       " master.dbo.sysdatabases D     ON D.dbid = P.dbid   WHERE P.nt_username <> ''    AND (D.name = 'ZEMG'      "
       "   OR D.name LIKE 'ZEM%')",
      "SELECT TOP 1 Texto FROM TXIDIOMA   WHERE Idioma = 'EN' AND ClaveTexto LIKE '%'  AND ClaveTexto LIKE '%a%' "
       " AND ClaveTexto LIKE '%.%'  AND ClaveTexto LIKE '%b%'  AND ClaveTexto LIKE '%_%'  AND ClaveTexto LIKE '%%' "
       " AND ClaveTexto LIKE '%''%'",
      "SELECT COUNT(DISTINCT P.hostprocess + P.nt_username)   FROM master.dbo.sysprocesses P   JOIN"
       " master.dbo.sysdatabases D     ON D.dbid = P.dbid   WHERE (P.nt_username <> '' AND P.nt_username IS NOT"
       " NULL)    AND (D.name = 'ZEMGENERAL'         OR D.name LIKE 'ZEMEMP%')",
      "SELECT TOP 1 Texto FROM TXIDIOMA   WHERE Idioma = 'EN' AND ClaveTexto LIKE '%'  AND ClaveTexto LIKE '%.%' "
       " AND ClaveTexto LIKE '%%'  AND ClaveTexto LIKE '%a%'  AND ClaveTexto LIKE '%b%'  AND ClaveTexto LIKE '%ha%'"
       "  AND ClaveTexto LIKE '%Se%'  AND ClaveTexto LIKE '%_%'",
      "SELECT COUNT(DISTINCT P.hostprocess + P.nt_username)   FROM master.dbo.sysprocesses P   JOIN"
       " master.dbo.sysdatabases D     ON D.dbid = P.dbid   WHERE (P.nt_username <> '' AND P.nt_username IS NOT"
       " NULL)    AND (D.name = 'ZEMGENERAL'         OR D.name LIKE 'ZEMEMP%') AND P.nt_username = 'OTRO'",
      "SELECT TOP 1 Texto FROM TXIDIOMA   WHERE Idioma = 'EN' AND ClaveTexto LIKE '%'  AND ClaveTexto LIKE '%.%' "
       " AND ClaveTexto LIKE '%%'  AND ClaveTexto LIKE '%a%'  AND ClaveTexto LIKE '%b%'  AND ClaveTexto LIKE '%=%' "
       " AND ClaveTexto LIKE '%el%'  AND ClaveTexto LIKE '%25%'  AND ClaveTexto LIKE '%_%'",
      "SELECT TOP 1 ClaveTexto FROM TXIDIOMA   WHERE Idioma = 'EN' AND ClaveTexto LIKE '%'  AND ClaveTexto LIKE"
       " '%.%'  AND ClaveTexto LIKE '%%'  AND ClaveTexto LIKE '%a%'  AND ClaveTexto LIKE '%b%'  AND ClaveTexto LIKE"
       " '%=%'  AND ClaveTexto LIKE '%el%'  AND ClaveTexto LIKE '%25%'  AND ClaveTexto LIKE '%_%'  AND ClaveTexto"
       " LIKE '%Abrir'",
      "SET TRANSACTION ISOLATION LEVEL READ UNCOMMITTED",
      "UPDATE #COPIA SET Codigo = 2",
      "UPDATE TOP (1) LIN SET Cantidad = 0",
      "UPDATE LIN SET Cantidad = 1 WHERE LIN.Codigo = 1",
      "UPDATE TEXTO  SET Texto = NULL  WHERE Codigo = 'T2'",
      "UPDATE SALDO SET Total = CAST(Codigo AS BIGINT) * 1500000000",
      "UPDATE o SET RowId = 2 FROM OCULTO o JOIN ART a ON a.Codigo = o.Oid",
      "UPDATE TOP (2) h SET Valor = 0 FROM HEAP h JOIN ART a ON a.Codigo = h.Codigo",
      "UPDATE STOCK SET Minimo = 5 FROM STOCK S, PEDIDOS P WHERE P.Cliente = S.Cantidad",
      "UPDATE HEAP SET Valor = 5 FROM ART WHERE ART.Codigo = HEAP.Codigo AND ART.Stock IS NULL",
      "UPDATE RID SET Valor = 0 FROM RID r JOIN ART a ON a.Codigo = r.Valor WHERE a.Codigo = 1",
      "UPDATE dbo.LIN SET Cantidad = 0 FROM [LIN] t1 INNER JOIN lin t2 ON t1.Codigo = t2.Codigo",
      "UPDATE STOCK SET Minimo = NULL FROM STOCK S INNER JOIN PEDIDOS P ON P.Cliente = S.Cantidad",
      "UPDATE stock SET Minimo = 2 FROM STOCK AS s INNER JOIN PEDIDOS P ON P.Cliente = s.Cantidad",
      "UPDATE a SET Valor = b.Valor FROM HEAP a JOIN HEAP b ON b.Codigo = a.Codigo + 1 AND b.Valor < 9",
      "UPDATE h SET Valor = 0 FROM ART a LEFT JOIN HEAP h ON h.Codigo = a.Codigo AND a.Stock IS NOT NULL",
      "UPDATE HEAP SET Valor = 7 FROM HEAP t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t1.Valor = 9",
      "UPDATE STOCK SET Minimo = 3 FROM STOCK S WITH (NOLOCK) INNER JOIN PEDIDOS P ON P.Cliente = S.Cantidad",
      "UPDATE CLIENTES SET Nombre = 'sin pedido' FROM PEDIDOS WHERE PEDIDOS.Cliente = CLIENTES.Codigo AND"
       " PEDIDOS.Numero = 3",
      "UPDATE [dbo].[lin] SET Cantidad = 0 FROM dbo.LIN AS t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE"
       " t2.Codigo = 3",
      "UPDATE LIN SET Cantidad = 99 FROM LIN FULL JOIN ART a ON a.Codigo = LIN.Codigo AND a.Codigo > 1 WHERE"
       " a.Codigo IS NULL",
      "UPDATE CLIENTES SET Nombre = 'z' FROM PEDIDOS P JOIN CLIENTES C ON C.Codigo = P.Cliente JOIN CLIENTES D ON"
       " D.Codigo = P.Numero",
      "UPDATE LIN SET Cantidad = ISNULL(h.Valor, -1) FROM LIN LEFT JOIN HEAP h ON h.Codigo = LIN.Codigo AND"
       " h.Valor > 1 AND h.Valor < 9",
      "UPDATE C SET Nombre = 'de ' + CAST(P.Numero AS VARCHAR) FROM CLIENTES C JOIN PEDIDOS P ON P.Cliente ="
       " C.Codigo WHERE P.Numero = 2",
      "UPDATE CLIENTES SET Nombre = 'con pedido' FROM PEDIDOS LEFT JOIN CLIENTES C ON C.Codigo = PEDIDOS.Cliente"
       " WHERE PEDIDOS.Numero = 1",
      "UPDATE HEAP SET Valor = -1 FROM HEAP FULL OUTER JOIN LIN ON LIN.Codigo = HEAP.Codigo AND LIN.Almacen = 'B'"
       " WHERE LIN.Codigo IS NULL",
      "UPDATE t1 SET Valor = 0 FROM ART t2 JOIN (HEAP t1 JOIN LIN l ON l.Codigo = t1.Codigo) ON t2.Codigo ="
       " t1.Codigo WHERE l.Almacen = 'B'",
      "UPDATE t1 SET Cantidad = (SELECT Stock FROM ART WHERE Codigo = 3) FROM LIN t1 JOIN ART t2 ON t2.Codigo ="
       " t1.Codigo WHERE t2.Codigo = 1",
      "UPDATE LIN SET Cantidad = LIN.Cantidad + ART.Stock FROM dbo.LIN INNER JOIN ART ON dbo.LIN.Codigo ="
       " ART.Codigo WHERE ART.Stock IS NOT NULL",
      "UPDATE CLIENTES SET Nombre = 'z' FROM PEDIDOS P JOIN CLIENTES C ON C.Codigo = P.Cliente JOIN CUENTAS K ON"
       " K.Codigo = P.Numero WHERE Codigo = 1",
      "UPDATE LIN SET Cantidad = (SELECT MAX(Stock) FROM ART WHERE ART.Codigo <= Cantidad / 10) FROM LIN JOIN ART"
       " a ON a.Codigo = LIN.Codigo WHERE a.Codigo = 2",
      "UPDATE CLIENTES  SET Nombre =        REPLACE(CAST (Nombre AS VARCHAR(MAX)), 'Peña' COLLATE"
       " SQL_Latin1_General_Cp1_CS_AS, 'Pena')   WHERE Nombre LIKE '%Peña%' COLLATE SQL_Latin1_General_Cp1_CS_AS",
      "UPDATE LIN SET Cantidad = (SELECT MAX(Stock) AS Cantidad FROM ART WHERE ART.Codigo < Cantidad) FROM LIN"
       " JOIN ART a ON a.Codigo = LIN.Codigo WHERE EXISTS (SELECT 1 FROM HEAP WHERE HEAP.Valor = Cantidad / 10)",
      "USE EMP3",
  };
  for (const char* statement : statements)
    EXPECT_EQ(Refusal(QString::fromUtf8(statement)).toStdString(), "") << statement;
}

TEST(SqlGrammar, RefusesWhatSqlServerDoesNotCompileInItsWords) {
  const struct {
    const char* batch;
    const char* error;
  } cases[] = {
      {"DELETE l FROM LIN l JOIN ART a WHERE a.Codigo = 2", "Incorrect syntax near the keyword 'WHERE'."},
      {"SELECT * FROM A JOIN B ON A.x = B.x JOIN C", "Incorrect syntax near 'C'."},
      {"SELECT * FROM A JOIN B JOIN C ON C.x = B.x WHERE 1 = 1", "Incorrect syntax near the keyword 'WHERE'."},
      {"DELETE FROM HEAP DELETE FROM LIN WHERE Codigo = 1 AND", "Incorrect syntax near the keyword 'AND'."},
      {"UPDATE LIN SET Cantidad = 1; DELETE FROM LIN WHERE", "Incorrect syntax near the keyword 'WHERE'."},
      {"SELECT Codigo FROM ART WHERE Codigo IN (1, 2", "Incorrect syntax near '2'."},
      {"SELECT Codigo, FROM ART", "Incorrect syntax near the keyword 'FROM'."},
      {"SELECT (Codigo FROM ART", "Incorrect syntax near the keyword 'FROM'."},
      {"SELECT Codigo FROM ART ORDER BY Codigo UNION SELECT 2", "Incorrect syntax near the keyword 'UNION'."},
      {"UPDATE LIN SET Cantidad += 1", "Incorrect syntax near '+'."},
      {"DELETE TOP 1 FROM LIN", "Incorrect syntax near '1'."},
      {"SELECT CAST(Codigo VARCHAR(10)) FROM ART", "Incorrect syntax near 'VARCHAR'."},
      {"SELECT CASE Codigo WHEN 1 THEN 'a' FROM ART", "Incorrect syntax near the keyword 'FROM'."},
      {"INSERT INTO LIN VALUES ('A', 1, 1", "Incorrect syntax near '1'."},
      {"SELECT 1 'a' 'b'", "Incorrect syntax near 'b'."},
      // Conditions that are no predicates: SQL Server's error 4145.
      {"DELETE FROM LIN WHERE Codigo = 2 OR 3",
       "An expression of non-boolean type specified in a context where a condition is expected, near '3'."},
      {"DELETE FROM LIN WHERE Codigo",
       "An expression of non-boolean type specified in a context where a condition is expected, near 'Codigo'."},
      {"SELECT * FROM LIN l JOIN ART a ON a.Codigo WHERE a.Codigo = 2",
       "An expression of non-boolean type specified in a context where a condition is expected, near 'WHERE'."},
      {"SELECT * FROM LIN WHERE (Codigo) ORDER BY 1",
       "An expression of non-boolean type specified in a context where a condition is expected, near 'ORDER'."},
      {"SELECT Almacen FROM LIN GROUP BY Almacen HAVING SUM(Cantidad)",
       "An expression of non-boolean type specified in a context where a condition is expected, near ')'."},
      {"SELECT CASE WHEN Cantidad THEN 1 END FROM LIN",
       "An expression of non-boolean type specified in a context where a condition is expected, near 'THEN'."},
      {"SELECT IIF(Cantidad + 1, 1, 0) FROM LIN",
       "An expression of non-boolean type specified in a context where a condition is expected, near ','."},
      {"SELECT * FROM LIN WHERE EXISTS (SELECT 1 FROM ART WHERE Stock)",
       "An expression of non-boolean type specified in a context where a condition is expected, near ')'."},
      // Statements the server does not run.
      {"TRUNCATE TABLE LIN", "'TRUNCATE TABLE' is not supported by the embedded server."},
      {"SELECT 1; CREATE VIEW V AS SELECT 1", "'CREATE VIEW' is not supported by the embedded server."},
      {"SET NOCOUNT ON", "'SET NOCOUNT ON' is not supported by the embedded server."},
      {"WITH n AS (SELECT 1 AS i) SELECT i FROM n", "'WITH n' is not supported by the embedded server."},
  };
  for (const auto& c : cases) EXPECT_EQ(Refusal(QString::fromUtf8(c.batch)).toStdString(), c.error) << c.batch;
}

// INTERSECT binds before UNION and EXCEPT, which go from left to right; a
// JOIN's right side may hold the joins its ON comes after.
TEST(SqlGrammar, ReadsSetOperationsAndJoinsInTSqlsOrder) {
  const SqlSyntax set = SqlParser::ParseStatement(u"SELECT 1 UNION SELECT 2 INTERSECT SELECT 3 EXCEPT SELECT 4");
  ASSERT_EQ(set.parts.size(), 1u);
  const SqlSyntax& except = set.parts[0];
  ASSERT_EQ(except.kind, SqlSyntaxKind::Except);
  ASSERT_EQ(except.parts[0].kind, SqlSyntaxKind::Union);
  EXPECT_EQ(except.parts[0].parts[0].kind, SqlSyntaxKind::SelectBlock);
  EXPECT_EQ(except.parts[0].parts[1].kind, SqlSyntaxKind::Intersect);
  EXPECT_EQ(except.parts[1].kind, SqlSyntaxKind::SelectBlock);

  const SqlSyntax select =
      SqlParser::ParseStatement(u"SELECT * FROM A, B JOIN C JOIN D ON D.x = C.x ON C.x = B.x LEFT JOIN (E JOIN F ON "
                                "F.x = E.x) ON E.x = B.x");
  const SqlSyntax* from = select.parts[0].Part(SqlSyntaxKind::From);
  ASSERT_NE(from, nullptr);
  ASSERT_EQ(from->parts.size(), 2u);
  EXPECT_EQ(from->parts[0].kind, SqlSyntaxKind::Table);
  // ((B JOIN (C JOIN D ON ...) ON ...) LEFT JOIN (E JOIN F ON ...) ON ...)
  const SqlSyntax& left = from->parts[1];
  ASSERT_EQ(left.kind, SqlSyntaxKind::Join);
  ASSERT_EQ(left.parts.size(), 3u);
  EXPECT_EQ(left.parts[1].kind, SqlSyntaxKind::Join);
  EXPECT_EQ(left.parts[2].kind, SqlSyntaxKind::On);
  const SqlSyntax& inner = left.parts[0];
  ASSERT_EQ(inner.kind, SqlSyntaxKind::Join);
  EXPECT_EQ(inner.parts[0].kind, SqlSyntaxKind::Table);
  EXPECT_EQ(inner.parts[1].kind, SqlSyntaxKind::Join);
}
