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

}  // namespace

TEST(MapperLimits, NestingBeyondAHundredLevelsIsRefused) {
  for (const auto& [open, close, levels] :
       {std::tuple(u"("_qs, u")"_qs, 4400), std::tuple(u"(CASE WHEN 1 = 1 THEN "_qs, u" END)"_qs, 51)}) {
    try {
      Map(u"SELECT "_qs + open.repeated(levels) + u"1"_qs + close.repeated(levels));
      ADD_FAILURE() << levels;
    } catch (const SqlError& error) {
      EXPECT_EQ(error.DriverMessage(), u"Some part of your SQL statement is nested too deeply. Rewrite the query or "
                                       "break it up into smaller queries."_qs);
    }
  }
  const QString hundred = u"SELECT "_qs + u"("_qs.repeated(100) + u"1"_qs + u")"_qs.repeated(100);
  EXPECT_EQ(Map(hundred), hundred);
}

TEST(MapperLimits, LongChainsMapInLinearTime) {
  constexpr int kTerms = 40000;
  QElapsedTimer clock;
  clock.start();
  const QString mapped = Map(u"SELECT T.a"_qs + u" + T.a"_qs.repeated(kTerms - 1) + u" - b + c FROM T"_qs);
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_EQ(mapped, u"SELECT "_qs + u"zem_add("_qs.repeated(kTerms) + u"T.a"_qs + u", T.a)"_qs.repeated(kTerms - 1) +
                        u" - b, c) FROM main.T"_qs);
}
