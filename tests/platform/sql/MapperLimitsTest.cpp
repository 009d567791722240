#include "platform/sql/SqlDialect.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlMapper.h"
#include "platform/sqlite/Connection.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

QString Map(const QString& statement) {
  TemporaryFolder folder;
  SqlDialect::InstallOnEveryConnection();
  const std::shared_ptr<Connection> connection = OpenConnection(folder.File("DATOS.SQLITE"));
  return SqlMapper(SqlContext::ForConnection(*connection, QStringLiteral("mm/dd/yyyy"))).Map(statement);
}

QString Repeated(const QString& text, int times) {
  QString result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

}  // namespace

TEST(MapperLimits, DeepNestingIsRefusedWithAnError) {
  const QString kTooDeep = u"Some part of your SQL statement is nested too deeply. Rewrite the query or break it up "
                           "into smaller queries."_qs;
  const QString statements[] = {
      u"SELECT "_qs + Repeated(u"("_qs, 4400) + u"1"_qs + Repeated(u")"_qs, 4400),
      u"SELECT "_qs + Repeated(u"CASE WHEN 1 = 1 THEN "_qs, 4400) + u"1"_qs + Repeated(u" END"_qs, 4400),
      u"SELECT "_qs + Repeated(u"(CASE WHEN 1 = 1 THEN "_qs, 51) + u"1"_qs + Repeated(u" END)"_qs, 51),
  };
  for (const QString& statement : statements) {
    try {
      Map(statement);
      ADD_FAILURE() << statement.left(40).toStdString();
    } catch (const SqlError& error) {
      EXPECT_EQ(error.DriverMessage(), kTooDeep);
    }
  }
  EXPECT_EQ(Map(u"SELECT "_qs + Repeated(u"("_qs, 100) + u"1"_qs + Repeated(u")"_qs, 100)),
            u"SELECT "_qs + Repeated(u"("_qs, 100) + u"1"_qs + Repeated(u")"_qs, 100));
}

TEST(MapperLimits, LongChainsMapInLinearTime) {
  constexpr int kTerms = 40000;
  const QString statement = u"SELECT T.a"_qs + Repeated(u" + T.a"_qs, kTerms - 1) + u" - b + c FROM T"_qs;
  QElapsedTimer clock;
  clock.start();
  const QString mapped = Map(statement);
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_EQ(mapped, u"SELECT "_qs + Repeated(u"zem_add("_qs, kTerms) + u"T.a"_qs + Repeated(u", T.a)"_qs, kTerms - 1) +
                        u" - b, c) FROM main.T"_qs);
}
