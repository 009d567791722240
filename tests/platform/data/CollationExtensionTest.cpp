#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

struct Salida {
  int code = -1;
  QString text;  // what it printed, errors included
};

// The sqlite3 command-line tool run on a data file, with the collations'
// extension loaded or not.
Salida Sqlite3(const QString& file, const QString& sql, bool withExtension) {
  QStringList arguments{u"-bail"_qs};
  if (withExtension) arguments << u"-cmd"_qs << u".load "_qs + QStringLiteral(ZEMWIN_COLLATION_EXTENSION);
  arguments << file << sql;
  QProcess tool;
  tool.setProcessChannelMode(QProcess::MergedChannels);
  tool.start(u"sqlite3"_qs, arguments);
  if (!tool.waitForFinished(-1) || tool.exitStatus() != QProcess::NormalExit) return {};
  return {tool.exitCode(), QString::fromUtf8(tool.readAll()).trimmed()};
}

}  // namespace

TEST(CollationExtension, TheSqliteToolReadsAndUpdatesACollatedIndexTheProgramThenReads) {
  if (QStandardPaths::findExecutable(u"sqlite3"_qs).isEmpty()) GTEST_SKIP() << "the sqlite3 tool is not installed";
  DataFixture data;
  CreateLines(data);
  AddLine(data, 1, 1, 0, u"Brida"_qs);
  AddLine(data, 1, 2, 0, u"arandela"_qs);
  AddLine(data, 2, 1, 0, u"Álamo"_qs);
  const QString update = u"UPDATE LINEAS SET Texto = 'Ñandú' WHERE CodigoTemporal = 1 AND Linea = 1;"_qs;

  const Salida without = Sqlite3(data.File(), update, false);
  EXPECT_NE(without.code, 0);
  EXPECT_TRUE(without.text.contains(u"collation"_qs)) << without.text.toStdString();

  const Salida read = Sqlite3(
      data.File(),
      u"SELECT Texto FROM LINEAS WHERE Texto = 'ALAMO' COLLATE \"SQL_Latin1_General_CP1_CI_AI\";"_qs, true);
  EXPECT_EQ(read.code, 0) << read.text.toStdString();
  EXPECT_EQ(read.text, u"Álamo"_qs);
  const Salida written = Sqlite3(
      data.File(), update + u"INSERT INTO LINEAS (CodigoTemporal, Linea, LineaMemo, Texto) VALUES (3, 1, 0, 'zarza');"
                            "PRAGMA integrity_check;"_qs,
      true);
  EXPECT_EQ(written.code, 0);
  EXPECT_EQ(written.text, u"ok"_qs);

  // The program walks the index the tool kept: accents and case do not count.
  auto table = data.OpenTable(u"LINEAS"_qs);
  table->SetIndexName(u"Clave2"_qs);
  EXPECT_EQ(Walk(*table, u"Texto"_qs), QStringList({u"Álamo"_qs, u"arandela"_qs, u"Ñandú"_qs, u"zarza"_qs}));
  table->SetIndexName(QString());
  ASSERT_TRUE(table->FindKey({Variant::Integer(3), Variant::Integer(1), Variant::Integer(0)}));
  EXPECT_EQ(table->FieldByName(u"Texto"_qs).AsString(), u"zarza"_qs);
}
