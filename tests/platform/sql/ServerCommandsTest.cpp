#include "platform/sql/EmbeddedServer.h"
#include "platform/sql/SqlError.h"
#include "platform/sqlite/Connection.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/sql/ServerClient.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using Rows = QList<QStringList>;

class ServerCommandsTest : public ::testing::Test {
 protected:
  ServerCommandsTest() : client_(folder_.Path()) {}

  // The three statements that create a company database.
  void CreateDatabase(const QString& name, const QString& collation = u"SQL_Latin1_General_Cp1_CI_AI"_qs) {
    client_.Run(u"USE master CREATE DATABASE %1  COLLATE %2"_qs.arg(name, collation));
    client_.Run(u"EXEC sp_dbcmptlevel %1, 80"_qs.arg(name));
    client_.Run(u"ALTER DATABASE %1 SET RECOVERY SIMPLE"_qs.arg(name));
  }

  TemporaryFolder folder_;
  ServerClient client_;
};

TEST_F(ServerCommandsTest, CreatesBacksUpRestoresAndDropsADatabase) {
  CreateDatabase(u"emp3"_qs);
  EXPECT_TRUE(QFile::exists(folder_.File("EMP3.sqlite")));
  ASSERT_TRUE(client_.Server().Database(u"EMP3"_qs));

  client_.Run(u"USE EMP3"_qs);
  client_.Run(u"CREATE TABLE dbo.CLIENTES (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
              "CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"_qs);
  client_.Run(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('1', 'Antes')"_qs);

  QDir(folder_.Path()).mkdir(u"Copias"_qs);
  const QString backup = folder_.File("Copias/dbb_EMP3_20240131154500.bak");
  // As the system writes it: "\" separates folders.
  client_.Run(u"BACKUP DATABASE EMP3  TO DISK = '"_qs + folder_.Path() + u"\\Copias\\dbb_EMP3_20240131154500.bak'"
              u"  WITH FORMAT"_qs);
  ASSERT_TRUE(QFile::exists(backup));

  client_.Run(u"UPDATE CLIENTES SET Nombre = 'Después' WHERE Codigo = 1"_qs);
  client_.Run(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES ('2', 'Nuevo')"_qs);
  client_.Run(u"CREATE TABLE dbo.OTRA (Codigo INTEGER DEFAULT 0)"_qs);

  Connection* open = &client_.Connection();
  open->StartTransaction();
  for (const auto& [command, statement] :
       {std::pair{u"BACKUP DATABASE EMP3 TO DISK = '"_qs + backup + u"'"_qs, u"BACKUP"_qs},
        std::pair{u"RESTORE DATABASE EMP3 FROM DISK = '"_qs + backup + u"' WITH REPLACE"_qs, u"RESTORE"_qs}})
    EXPECT_EQ(client_.Error(command), u"Cannot perform a backup or restore operation within a transaction.\n"_qs +
                                          statement + u" DATABASE is terminating abnormally."_qs);
  open->Rollback();
  client_.Run(u"RESTORE DATABASE EMP3  FROM DISK = '"_qs + backup + u"'WITH REPLACE"_qs);
  EXPECT_EQ(&client_.Connection(), open);  // restored through the connection the process has open
  EXPECT_EQ(client_.Texts(u"SELECT Codigo, Nombre FROM CLIENTES"_qs), Rows({{"1", "Antes"}}));
  EXPECT_EQ(client_.Texts(u"SELECT COUNT(*) FROM SYSOBJECTS WHERE name = 'OTRA'"_qs), Rows({{"0"}}));
  // A database file copied as it is, whole but written by no BACKUP, is refused and the database kept.
  const QString copied = folder_.File("Copias/copiada.bak");
  ASSERT_TRUE(QFile::copy(folder_.File("EMP3.sqlite"), copied));
  client_.Run(u"UPDATE CLIENTES SET Nombre = 'Ajena' WHERE Codigo = 1"_qs);
  EXPECT_EQ(client_.Error(u"RESTORE DATABASE EMP3 FROM DISK = '"_qs + copied + u"' WITH REPLACE"_qs),
            u"The media family on device '"_qs + copied +
                u"' is incorrectly formed. SQL Server cannot process this media family.\nRESTORE DATABASE is "
                "terminating abnormally."_qs);
  EXPECT_EQ(client_.Texts(u"SELECT Nombre FROM CLIENTES"_qs), Rows({{"Ajena"}}));
  // A backup turned to the WAL kind is no longer as it was written, and
  // its reading leaves nothing beside it either.
  const QString walBackup = folder_.File("Copias/antigua.bak");
  ASSERT_TRUE(QFile::copy(backup, walBackup));
  OpenBackupFile(walBackup, FileAccess::Write)->Execute(u"PRAGMA journal_mode = WAL"_qs);
  EXPECT_EQ(client_.Error(u"RESTORE DATABASE EMP3 FROM DISK = '"_qs + walBackup + u"' WITH REPLACE"_qs),
            u"Damage to the backup set was detected.\nRESTORE DATABASE is terminating abnormally."_qs);
  EXPECT_EQ(QDir(folder_.File("Copias")).entryList(QDir::Files),
            QStringList({u"antigua.bak"_qs, u"copiada.bak"_qs, u"dbb_EMP3_20240131154500.bak"_qs}));
  client_.Run(u"RESTORE DATABASE EMP3  FROM DISK = '"_qs + backup + u"'WITH REPLACE"_qs);
  // The restored database is no backup: a copy of its file is refused too.
  client_.Connection().Execute(u"PRAGMA wal_checkpoint(TRUNCATE)"_qs);
  const QString restoredCopy = folder_.File("Copias/restaurada.bak");
  ASSERT_TRUE(QFile::copy(folder_.File("EMP3.sqlite"), restoredCopy));
  EXPECT_TRUE(client_.Error(u"RESTORE DATABASE EMP3 FROM DISK = '"_qs + restoredCopy + u"' WITH REPLACE"_qs)
                  .startsWith(u"The media family"_qs));
  QFile::remove(restoredCopy);

  client_.Run(u"USE master DROP DATABASE EMP3"_qs);
  EXPECT_FALSE(client_.Server().Database(u"EMP3"_qs));
  EXPECT_FALSE(QFile::exists(folder_.File("EMP3.sqlite")));
  EXPECT_EQ(client_.Error(u"USE EMP3"_qs),
            u"Database 'EMP3' does not exist. Make sure that the name is entered correctly."_qs);

  // A backup restores into a database that no longer exists, as on a server.
  client_.Run(u"USE msdb RESTORE DATABASE EMP3 FROM DISK = '"_qs + backup + u"' WITH REPLACE"_qs);
  client_.Run(u"USE EMP3"_qs);
  EXPECT_EQ(client_.Texts(u"SELECT Nombre FROM CLIENTES"_qs), Rows({{"Antes"}}));
}

// A backup keeps the checksum of its content: one byte changed anywhere
// after it was written (a value inside a page, an unused byte of its last
// page, the checksum itself) and it restores nothing, the database staying
// as it was; the backup as written restores.
TEST_F(ServerCommandsTest, ABackupWithAByteChangedIsRefusedAndTheDatabaseKept) {
  CreateDatabase(u"EMP3"_qs);
  client_.Run(u"USE EMP3 CREATE TABLE dbo.CLIENTES (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
              "CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"_qs);
  client_.Run(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (1, 'Guardado')"_qs);
  const QString backup = folder_.File("EMP3.bak");
  client_.Run(u"BACKUP DATABASE EMP3 TO DISK = '"_qs + backup + u"' WITH FORMAT"_qs);
  client_.Run(u"UPDATE CLIENTES SET Nombre = 'Actual'"_qs);
  client_.Run(u"USE master"_qs);
  QFile escrita(backup);
  ASSERT_TRUE(escrita.open(QIODevice::ReadOnly));
  const QByteArray bytes = escrita.readAll();
  escrita.close();
  const qsizetype valor = bytes.indexOf("Guardado");
  ASSERT_GT(valor, 100);

  const QString alterada = folder_.File("alterada.bak");
  const QString kRechazo = u"Damage to the backup set was detected.\nRESTORE DATABASE is terminating abnormally."_qs;
  for (const qsizetype en : {valor, bytes.size() - 1, qsizetype(60), qsizetype(63)}) {
    SCOPED_TRACE(en);
    QByteArray cambiados = bytes;
    cambiados[en] = char(cambiados[en] ^ 0x01);
    QFile archivo(alterada);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(archivo.write(cambiados), cambiados.size());
    archivo.close();
    EXPECT_EQ(client_.Error(u"RESTORE DATABASE EMP3 FROM DISK = '"_qs + alterada + u"' WITH REPLACE"_qs), kRechazo);
    EXPECT_EQ(client_.Texts(u"SELECT Nombre FROM EMP3.dbo.CLIENTES"_qs), Rows({{"Actual"}}));
  }
  client_.Run(u"RESTORE DATABASE EMP3 FROM DISK = '"_qs + backup + u"' WITH REPLACE"_qs);
  EXPECT_EQ(client_.Texts(u"SELECT Nombre FROM EMP3.dbo.CLIENTES"_qs), Rows({{"Guardado"}}));
}

TEST_F(ServerCommandsTest, AnswersAsAServer) {
  const Rows version = client_.Texts(u"SELECT @@VERSION"_qs);
  ASSERT_EQ(version.size(), 1);
  EXPECT_TRUE(version[0][0].startsWith(u"Microsoft SQL Server"_qs));
  // Table creation looks for this marker to choose the old column types.
  EXPECT_FALSE(version[0][0].contains(u"Microsoft SQL Server  2000"_qs));

  EXPECT_EQ(client_.Session().IsolationLevel(), u"READ COMMITTED"_qs);
  client_.Run(u"SET TRANSACTION ISOLATION LEVEL READ UNCOMMITTED"_qs);
  EXPECT_EQ(client_.Session().IsolationLevel(), u"READ UNCOMMITTED"_qs);
  client_.Run(u"SET TRANSACTION ISOLATION LEVEL serializable"_qs);
  EXPECT_EQ(client_.Session().IsolationLevel(), u"SERIALIZABLE"_qs);
}

TEST_F(ServerCommandsTest, RefusesWithTheServersTexts) {
  CreateDatabase(u"EMP1"_qs);
  const QString missing = folder_.File("no/existe.bak");
  const QString notABackup = folder_.File("texto.bak");
  QFile text(notABackup);
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("esto no es una copia");
  text.close();
  const std::tuple<QString, QString> refusals[] = {
      {u"CREATE DATABASE emp1"_qs, u"Database 'emp1' already exists. Choose a different database name."_qs},
      {u"CREATE DATABASE EMP9 COLLATE Modern_Spanish_CI"_qs, u"Invalid collation 'Modern_Spanish_CI'."_qs},
      {u"ALTER DATABASE EMP1 COLLATE Klingon_CI_AI"_qs, u"Invalid collation 'Klingon_CI_AI'."_qs},
      {u"DROP DATABASE EMP9"_qs,
       u"Cannot drop the database 'EMP9', because it does not exist or you do not have permission."_qs},
      {u"DROP DATABASE master"_qs, u"Cannot drop the database 'master' because it is a system database."_qs},
      {u"USE EMP1 DROP DATABASE EMP1"_qs, u"Cannot drop database \"EMP1\" because it is currently in use."_qs},
      {u"USE master BACKUP DATABASE EMP1 TO DISK = '"_qs + missing + u"'"_qs,
       u"Cannot open backup device '"_qs + missing +
           u"'. Operating system error 3(The system cannot find the path specified.).\n"
           "BACKUP DATABASE is terminating abnormally."_qs},
      {u"RESTORE DATABASE EMP1 FROM DISK = '"_qs + missing + u"' WITH REPLACE"_qs,
       u"Cannot open backup device '"_qs + missing +
           u"'. Operating system error 2(The system cannot find the file specified.).\n"
           "RESTORE DATABASE is terminating abnormally."_qs},
      {u"RESTORE DATABASE EMP1 FROM DISK = '"_qs + notABackup + u"' WITH REPLACE"_qs,
       u"The media family on device '"_qs + notABackup +
           u"' is incorrectly formed. SQL Server cannot process this media family.\n"
           "RESTORE DATABASE is terminating abnormally."_qs},
      {u"BACKUP LOG EMP1 TO DISK = 'x'"_qs, u"Incorrect syntax near 'LOG'."_qs},
      {u"EXEC sp_dbcmptlevel EMP9, 80"_qs,
       u"The database 'EMP9' does not exist. Supply a valid database name. To see available databases, use "
       "sys.databases."_qs},
      {u"EXEC sp_dbcmptlevel EMP1, 81"_qs,
       u"Valid values of database compatibility level are 60, 65, 70, 80, 90, 100, 110, 120, 130, 140, 150 or 160."_qs},
      {u"ALTER DATABASE EMP1 SET RECOVERY NINGUNA"_qs, u"Incorrect syntax near 'NINGUNA'."_qs},
      {u"SET TRANSACTION ISOLATION LEVEL DIRTY READ"_qs, u"Incorrect syntax near 'DIRTY'."_qs},
      {u"KILL "_qs + QString::number(client_.Session().Spid()), u"Cannot use KILL to kill your own process."_qs},
      {u"KILL 999"_qs, u"Process ID 999 is not an active process ID."_qs},
      {u"EXEC xp_cmdshell 'dir'"_qs, u"Could not find stored procedure 'xp_cmdshell'."_qs},
      {u"USE msdb EXEC sp_add_job @job_name = 'x'"_qs, u"Could not find stored procedure 'sp_add_job'."_qs},
  };
  for (const auto& [batch, error] : refusals) EXPECT_EQ(client_.Error(batch), error) << batch.toStdString();
}

TEST_F(ServerCommandsTest, RenamesTablesAndKeysAsTheRebuildDoes) {
  CreateDatabase(u"EMP1"_qs);
  client_.Run(u"USE EMP1"_qs);
  client_.Run(u"CREATE TABLE dbo.TEMP_ARTICULO (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
              "CONSTRAINT TEMP_ARTICULO_Clave1 PRIMARY KEY (Codigo))"_qs);
  client_.Run(u"CREATE INDEX TEMP_ARTICULO_Nombre ON TEMP_ARTICULO (Nombre)"_qs);
  client_.Run(u"INSERT INTO TEMP_ARTICULO (Codigo, Nombre) VALUES ('1', 'uno')"_qs);
  client_.Run(u"USE EMP1; EXEC sp_rename 'TEMP_ARTICULO', 'ARTICULO'"_qs);
  client_.Run(u"USE EMP1; EXEC sp_rename 'ARTICULO.TEMP_ARTICULO_Clave1', 'ARTICULO_Clave1'"_qs);
  client_.Run(u"EXEC sp_rename 'ARTICULO.TEMP_ARTICULO_Nombre', 'ARTICULO_Nombre'"_qs);
  client_.Run(u"EXEC sp_rename 'ARTICULO.Nombre', 'Descripcion', 'COLUMN'"_qs);

  const QString keys = u"SELECT C.Name   FROM SYSINDEXES I JOIN SYSINDEXKEYS K   ON I.id = K.id AND I.indid = K.indid   "
                       "JOIN SYSCOLUMNS C ON I.id = C.id AND K.colid = C.colid   WHERE I.Name = '%1'  ORDER BY K.KeyNo"_qs;
  EXPECT_EQ(client_.Texts(keys.arg(u"ARTICULO_Clave1"_qs)), Rows({{"Codigo"}}));
  EXPECT_EQ(client_.Texts(keys.arg(u"ARTICULO_Nombre"_qs)), Rows({{"Descripcion"}}));
  EXPECT_EQ(client_.Texts(keys.arg(u"TEMP_ARTICULO_Clave1"_qs)), Rows());
  EXPECT_EQ(client_.Texts(u"SELECT Codigo, Descripcion FROM ARTICULO"_qs), Rows({{"1", "uno"}}));
  // The table still keeps its key.
  EXPECT_EQ(client_.Error(u"INSERT INTO ARTICULO (Codigo) VALUES (1)"_qs),
            u"UNIQUE constraint failed: ARTICULO.Codigo"_qs);
  EXPECT_EQ(client_.Error(u"EXEC sp_rename 'ARTICULO.NOEXISTE', 'X'"_qs),
            u"Either the parameter @objname is ambiguous or the claimed @objtype (INDEX) is wrong."_qs);
}

// Columns made after ALTER DATABASE ... COLLATE take the new collation; older ones keep theirs.
TEST_F(ServerCommandsTest, ANewCollationReachesOnlyNewColumns) {
  CreateDatabase(u"LAT"_qs);
  client_.Run(u"USE LAT CREATE TABLE dbo.T (Nombre VARCHAR(20) DEFAULT '' NULL)"_qs);
  client_.Run(u"ALTER DATABASE LAT COLLATE Modern_Spanish_CI_AI"_qs);
  client_.Run(u"ALTER TABLE dbo.T ADD Ciudad VARCHAR(20) NULL"_qs);
  EXPECT_EQ(client_.Texts(u"SELECT column_name, collation_name FROM information_schema.columns WHERE table_name = 'T'"_qs),
            Rows({{"Nombre", "SQL_Latin1_General_CP1_CI_AI"}, {"Ciudad", "Modern_Spanish_CI_AI"}}));
}

// Names holding a double quote reach SQLite intact through every rewrite
// that writes a name: column collations, TOP's key order, sp_rename.
TEST_F(ServerCommandsTest, NamesWithQuotesSurviveEveryRewrite) {
  client_.Run(u"CREATE DATABASE EMP1"_qs);
  client_.Run(u"USE EMP1"_qs);
  client_.Run(u"CREATE TABLE [Ta\"bla] ([Co\"digo] INTEGER NOT NULL, Nombre VARCHAR(10) NULL, "
              "CONSTRAINT [Cla\"ve] PRIMARY KEY ([Co\"digo]))"_qs);
  client_.Run(u"INSERT INTO [Ta\"bla] ([Co\"digo], Nombre) VALUES (2, 'dos')"_qs);
  client_.Run(u"INSERT INTO [Ta\"bla] ([Co\"digo], Nombre) VALUES (1, 'UNO')"_qs);
  EXPECT_EQ(client_.Texts(u"SELECT TOP 1 Nombre FROM [Ta\"bla]"_qs), Rows({{"UNO"}}));
  EXPECT_EQ(client_.Texts(u"SELECT Nombre FROM [Ta\"bla] WHERE Nombre = 'uno'"_qs), Rows({{"UNO"}}));
  client_.Run(u"EXEC sp_rename 'Ta\"bla.Co\"digo', 'Nu\"mero', 'COLUMN'"_qs);
  client_.Run(u"EXEC sp_rename 'Ta\"bla.Cla\"ve', 'Lla\"ve'"_qs);
  client_.Run(u"EXEC sp_rename 'Ta\"bla', 'Ot\"ra'"_qs);
  EXPECT_EQ(client_.Texts(u"SELECT TOP 1 [Nu\"mero] FROM [Ot\"ra]"_qs), Rows({{"1"}}));
  EXPECT_EQ(client_.Texts(u"SELECT name FROM sysindexes WHERE indid = 1"_qs), Rows({{"Lla\"ve"}}));
}

// Two servers side by side: a database name of one never reaches the other.
TEST(EmbeddedServer, ANameLeadingOutOfTheServerFolderIsRefused) {
  TemporaryFolder folder;
  QDir(folder.Path()).mkdir(u"A"_qs);
  QDir(folder.Path()).mkdir(u"OTRO"_qs);
  ServerClient otro(folder.File("OTRO"));
  otro.Run(u"CREATE DATABASE EMP"_qs);
  otro.Run(u"USE EMP CREATE TABLE T (C INTEGER)"_qs);
  otro.Run(u"INSERT INTO T (C) VALUES (7)"_qs);
  ServerClient client(folder.File("A"));
  client.Run(u"CREATE DATABASE EMP"_qs);
  const QString backup = folder.File("EMP.bak");
  client.Run(u"BACKUP DATABASE EMP TO DISK = '"_qs + backup + u"'"_qs);

  const char16_t* const names[] = {u"../OTRO/EMP", u"..", u"a/b", u"a\\b", u"x\x01y"};
  for (const char16_t* raw : names) {
    const QString name = QString::fromUtf16(raw);
    const QString quoted = u'[' + name + u']';
    const QString restore = u"RESTORE DATABASE "_qs + quoted + u" FROM DISK = '"_qs + backup + u"'"_qs;
    for (const QString& batch : {u"CREATE DATABASE "_qs + quoted, u"DROP DATABASE "_qs + quoted, restore,
                                 u"USE EMP SELECT * FROM "_qs + quoted + u".dbo.T"_qs}) {
      // The first line: a RESTORE adds its own end.
      const QString error = client.Error(batch).section(u'\n', 0, 0);
      EXPECT_TRUE(error == u"Invalid database name '"_qs + name + u"'."_qs || error.contains(u"does not exist"_qs))
          << batch.toStdString() << ": " << error.toStdString();
    }
  }
  EXPECT_EQ(otro.Texts(u"USE EMP SELECT C FROM T"_qs), Rows{{u"7"_qs}});
  EXPECT_EQ(QDir(folder.Path()).entryList({u"*.sqlite*"_qs}, QDir::Files), QStringList());

  // A file the server does not list gives way to an empty database; its log is not replayed into it.
  for (const char* suffix : {"", "-wal"})
    QFile::copy(folder.File("OTRO/EMP.sqlite") + suffix, folder.File("A/NUEVA.sqlite") + suffix);
  client.Run(u"CREATE DATABASE NUEVA"_qs);
  client.Run(u"USE NUEVA"_qs);
  EXPECT_EQ(client.Connection().TableNames(), QStringList());
}

TEST(EmbeddedServer, CreatesItsMasterWithTheFirstLogin) {
  TemporaryFolder folder;
  EmbeddedServer server(folder.Path());
  server.Connect(u"sa"_qs, u"clave"_qs);
  EXPECT_TRUE(QFile::exists(folder.File("master.sqlite")));
  EXPECT_NO_THROW(EmbeddedServer(folder.Path()).Connect(u"SA"_qs, u"clave"_qs));
  for (const auto& [login, password] : {std::pair{u"sa"_qs, u"otra"_qs}, std::pair{u"pepe"_qs, u"clave"_qs}})
    EXPECT_EQ(MessageOf([&] { EmbeddedServer(folder.Path()).Connect(login, password); }),
              u"Unknown user name or password\nLogin failed for user '%1'."_qs.arg(login));
  for (const char* system : {"master", "tempdb", "model", "msdb"}) EXPECT_TRUE(server.Database(QString::fromLatin1(system)));
}

}  // namespace

// What DBCC CHECKTABLE finds goes to the server's log, where the newest line
// of a table tells how it is now.
TEST_F(ServerCommandsTest, ChecksATableAndLogsWhatItFound) {
  CreateDatabase(u"EMP1"_qs);
  client_.Run(u"USE EMP1 CREATE TABLE dbo.T (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(20) DEFAULT '' NULL, "
              "CONSTRAINT T_Clave1 PRIMARY KEY (Codigo)) CREATE INDEX T_Nombre ON T (Nombre)"_qs);
  client_.Run(u"INSERT INTO T (Codigo, Nombre) VALUES (1, 'b') INSERT INTO T (Codigo, Nombre) VALUES (2, 'a')"_qs);
  const QString read = u"EXEC xp_readerrorlog 0, 1, \"DBCC\", \"T)\", NULL, NULL, N'DESC'"_qs;
  client_.Run(u"DBCC CHECKTABLE ( 'T')"_qs);
  // An index that no longer says what it holds.
  Connection& file = client_.Connection();
  file.Execute(u"PRAGMA writable_schema = ON"_qs);
  file.Execute(u"UPDATE sqlite_schema SET sql = 'CREATE INDEX T_Nombre ON T (Codigo)' WHERE name = 'T_Nombre'"_qs);
  const int version = file.QueryRows(u"PRAGMA schema_version"_qs).rows[0][0].toInt();
  file.Execute(u"PRAGMA schema_version = %1"_qs.arg(version + 1));
  file.Execute(u"PRAGMA writable_schema = OFF"_qs);
  client_.Run(u"USE EMP1"_qs);
  client_.Run(u"DBCC CHECKTABLE ( T )"_qs);
  const Rows lines = client_.Texts(read);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].value(2).startsWith(u"DBCC CHECKTABLE (EMP1.dbo.T) found "_qs)) << lines[0].value(2).toStdString();
  EXPECT_FALSE(lines[0].value(2).contains(u"found 0 errors"_qs));
  EXPECT_EQ(lines[1].value(2), u"DBCC CHECKTABLE (EMP1.dbo.T) found 0 errors and repaired 0 errors."_qs);
  EXPECT_EQ(client_.Texts(read.left(read.size() - 7) + u"'ASC'"_qs).value(0).value(2), lines[1].value(2));
}

// WITH PHYSICAL_ONLY checks the pages and records alone, and its log line
// says so, as SQL Server's does.
TEST_F(ServerCommandsTest, ChecksATablesPagesAloneWithPhysicalOnly) {
  CreateDatabase(u"EMP1"_qs);
  client_.Run(u"USE EMP1 CREATE TABLE dbo.T (Codigo INTEGER DEFAULT 0, CONSTRAINT T_Clave1 PRIMARY KEY (Codigo))"_qs);
  client_.Run(u"DBCC CHECKTABLE ( 'T') WITH PHYSICAL_ONLY"_qs);
  client_.Run(u"DBCC CHECKTABLE (T) WITH NO_INFOMSGS, physical_only;"_qs);
  client_.Run(u"DBCC CHECKTABLE (T) WITH NO_INFOMSGS"_qs);
  const Rows lines = client_.Texts(u"EXEC xp_readerrorlog 0, 1, \"DBCC\", \"T)\", NULL, NULL, N'ASC'"_qs);
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0].value(2), u"DBCC CHECKTABLE (EMP1.dbo.T) WITH physical_only found 0 errors and repaired 0 errors."_qs);
  EXPECT_EQ(lines[1].value(2), lines[0].value(2));
  EXPECT_EQ(lines[2].value(2), u"DBCC CHECKTABLE (EMP1.dbo.T) found 0 errors and repaired 0 errors."_qs);
}

// The server's own row triggers are made and dropped by name in the session's database.
TEST_F(ServerCommandsTest, CreatesAndDropsRowTriggers) {
  CreateDatabase(u"EMP1"_qs);
  client_.Run(u"USE EMP1 CREATE TABLE dbo.T (Codigo INTEGER DEFAULT 0) CREATE TABLE dbo.L (Texto VARCHAR(20) NULL)"_qs);
  client_.Run(u"CREATE TRIGGER G AFTER INSERT ON T FOR EACH ROW BEGIN INSERT INTO L SELECT 'x' || NEW.Codigo; END"_qs);
  client_.Run(u"INSERT INTO T (Codigo) VALUES (7)"_qs);
  EXPECT_EQ(client_.Texts(u"SELECT Texto FROM L"_qs), (Rows{{u"x7"_qs}}));
  EXPECT_EQ(client_.Texts(u"SELECT name FROM sysobjects WHERE xtype = 'TR'"_qs), (Rows{{u"G"_qs}}));
  client_.Run(u"DROP TRIGGER [dbo].[G]"_qs);
  EXPECT_EQ(client_.Error(u"DROP TRIGGER G"_qs),
            u"Cannot drop the trigger 'G', because it does not exist or you do not have permission."_qs);
}
