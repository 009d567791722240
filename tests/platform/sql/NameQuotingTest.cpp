#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/sql/ServerClient.h"

#include <gtest/gtest.h>

// Names holding a double quote reach SQLite intact through every rewrite
// that writes a name: column collations, TOP's key order, sp_rename.
TEST(NameQuoting, NamesWithQuotesSurviveEveryRewrite) {
  TemporaryFolder folder;
  ServerClient client(folder.Path());
  client.Run(u"CREATE DATABASE EMP1"_qs);
  client.Run(u"USE EMP1"_qs);
  client.Run(u"CREATE TABLE [Ta\"bla] ([Co\"digo] INTEGER NOT NULL, Nombre VARCHAR(10) NULL, "
             "CONSTRAINT [Cla\"ve] PRIMARY KEY ([Co\"digo]))"_qs);
  client.Run(u"INSERT INTO [Ta\"bla] ([Co\"digo], Nombre) VALUES (2, 'dos')"_qs);
  client.Run(u"INSERT INTO [Ta\"bla] ([Co\"digo], Nombre) VALUES (1, 'UNO')"_qs);
  EXPECT_EQ(client.Texts(u"SELECT TOP 1 Nombre FROM [Ta\"bla]"_qs), QList<QStringList>({{"UNO"}}));
  EXPECT_EQ(client.Texts(u"SELECT Nombre FROM [Ta\"bla] WHERE Nombre = 'uno'"_qs), QList<QStringList>({{"UNO"}}));
  client.Run(u"EXEC sp_rename 'Ta\"bla.Co\"digo', 'Nu\"mero', 'COLUMN'"_qs);
  client.Run(u"EXEC sp_rename 'Ta\"bla.Cla\"ve', 'Lla\"ve'"_qs);
  client.Run(u"EXEC sp_rename 'Ta\"bla', 'Ot\"ra'"_qs);
  EXPECT_EQ(client.Texts(u"SELECT TOP 1 [Nu\"mero] FROM [Ot\"ra]"_qs), QList<QStringList>({{"1"}}));
  EXPECT_EQ(client.Texts(u"SELECT name FROM sysindexes WHERE indid = 1"_qs), QList<QStringList>({{"Lla\"ve"}}));
}
