#include "platform/data/Field.h"
#include "platform/data/Session.h"
#include "platform/sqlite/Connection.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

TEST(SecondProcessWrites, AWriterWaitsTheBusyTimeoutThenFindsTheRecordLockedAndNoRowIsLost) {
  DataFixture data;
  auto mine = data.OpenTable(u"CLIENTES"_qs);
  auto connection = OpenConnection(data.File());
  connection->StartTransaction();
  AppendRecord(*mine, {{u"Codigo"_qs, Int(1)}, {u"Nombre"_qs, Text(u"Primer proceso"_qs)}});

  const int busyTimeout = 300;
  SecondProcess writer(u"post"_qs, {{u"ZEM_FOLDER"_qs, data.Folder()},
                                    {u"ZEM_KEY"_qs, u"2"_qs},
                                    {u"ZEM_BUSY"_qs, QString::number(busyTimeout)}});
  const QStringList report = writer.ReadReport().split(u' ');
  ASSERT_GE(report.size(), 3) << report.join(u' ').toStdString();
  EXPECT_EQ(report[0], u"locked"_qs);
  EXPECT_GE(report[1].toInt(), busyTimeout);
  EXPECT_EQ(report.mid(2).join(u' '), u"Record locked by another user"_qs);

  connection->Commit();
  writer.Send(u"retry"_qs);
  EXPECT_EQ(writer.ReadReport(), u"posted"_qs);
  EXPECT_EQ(writer.Finish(), 0);

  mine->Refresh();
  EXPECT_EQ(Walk(*mine, u"Nombre"_qs), (QStringList{u"Primer proceso"_qs, u"Segundo proceso"_qs}));
}

TEST(SecondProcessSessions, EachInstanceHasItsNumberUntilItEnds) {
  TemporaryFolder folder;
  SecondProcess other(u"session"_qs, {{u"ZEM_FOLDER"_qs, folder.Path()}});
  EXPECT_EQ(other.ReadReport(), u"session 1"_qs);
  {
    Session mine;
    mine.SetNetFileDir(folder.Path());
    EXPECT_EQ(mine.SessionNumber(), 2);
    ASSERT_EQ(mine.UserList().size(), 2);
  }
  // A killed instance leaves its lock file behind, but not its lock.
  other.Kill();
  Session next;
  next.SetNetFileDir(folder.Path());
  EXPECT_EQ(next.SessionNumber(), 1);
  EXPECT_EQ(next.UserList().size(), 1);
}
