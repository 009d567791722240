#include "platform/sql/SqlError.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/sql/ServerClient.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

// Two servers side by side: a database name of one never reaches the other.
TEST(DatabaseNames, ANameLeadingOutOfTheServerFolderIsRefused) {
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
      try {
        client.Run(batch);
        ADD_FAILURE() << batch.toStdString();
      } catch (const SqlError& error) {
        const bool refused = error.DriverMessage() == u"Invalid database name '"_qs + name + u"'."_qs ||
                             error.DriverMessage().contains(u"does not exist"_qs);
        EXPECT_TRUE(refused) << batch.toStdString() << ": " << error.DriverMessage().toStdString();
      }
    }
  }
  EXPECT_EQ(otro.Texts(u"USE EMP SELECT C FROM T"_qs), QList<QStringList>{{u"7"_qs}});
  EXPECT_EQ(QDir(folder.Path()).entryList({u"*.sqlite*"_qs}, QDir::Files), QStringList());

  // A file the server does not list gives way to an empty database; its log is not replayed into it.
  for (const char* suffix : {"", "-wal"})
    QFile::copy(folder.File("OTRO/EMP.sqlite") + suffix, folder.File("A/NUEVA.sqlite") + suffix);
  client.Run(u"CREATE DATABASE NUEVA"_qs);
  client.Run(u"USE NUEVA"_qs);
  EXPECT_EQ(client.Connection().TableNames(), QStringList());
}
