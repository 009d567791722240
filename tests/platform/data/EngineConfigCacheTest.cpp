// The engine configuration is kept between look-ups, and every change to the
// file or to the folder it is searched in is seen at the next one.

#include "platform/data/EngineConfigCache.h"
#include "platform/data/Session.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// Writes the text with the given modification time, so that two writes in
// the same clock tick still differ.
void WriteFile(const QString& path, const QByteArray& text, const QDateTime& modified) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(text);
  ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

const QDateTime kWritten = QDateTime::currentDateTimeUtc().addSecs(-3600);

TEST(EngineConfigCacheTest, AliasesFollowEveryChangeOfTheFile) {
  TemporaryFolder folder;
  const QString path = folder.File(u"MOTORBD.CFG"_qs);
  Session session;
  session.SetConfigFile(path);
  EXPECT_FALSE(session.IsAlias(u"VENTAS"_qs));

  struct Step {
    QByteArray text;
    int secondsLater;
    bool ventas, compras;
  };
  // Same size, later time; then a longer file at the same time.
  const Step steps[] = {
      {"[Databases\\VENTAS]\nPATH=/a\n", 0, true, false},
      {"[Databases\\COMPRA]\nPATH=/a\n", 1, false, false},
      {"[Databases\\COMPRAS]\nPATH=/a\n", 1, false, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.text.constData());
    WriteFile(path, step.text, kWritten.addSecs(step.secondsLater));
    EXPECT_EQ(session.IsAlias(u"VENTAS"_qs), step.ventas);
    EXPECT_EQ(session.IsAlias(u"COMPRAS"_qs), step.compras);
  }
  ASSERT_TRUE(QFile::remove(path));
  EXPECT_FALSE(session.IsAlias(u"COMPRAS"_qs));
}

TEST(EngineConfigCacheTest, AFileAddedOrRenamedInTheFolderIsFound) {
  TemporaryFolder folder;
  EngineConfigCache cache;
  const QString exact = folder.File(u"MOTORBD.CFG"_qs);
  EXPECT_EQ(cache.Find(folder.Path(), u"MOTORBD.CFG"_qs), exact);
  WriteFile(folder.File(u"motorbd.cfg"_qs), "x", kWritten);
  EXPECT_EQ(cache.Find(folder.Path(), u"MOTORBD.CFG"_qs), folder.File(u"motorbd.cfg"_qs));
  ASSERT_TRUE(QFile::rename(folder.File(u"motorbd.cfg"_qs), folder.File(u"Motorbd.Cfg"_qs)));
  EXPECT_EQ(cache.Find(folder.Path(), u"MOTORBD.CFG"_qs), folder.File(u"Motorbd.Cfg"_qs));
  ASSERT_TRUE(QFile::remove(folder.File(u"Motorbd.Cfg"_qs)));
  EXPECT_EQ(cache.Find(folder.Path(), u"MOTORBD.CFG"_qs), exact);
}

}  // namespace
