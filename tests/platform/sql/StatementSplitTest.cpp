#include "platform/sql/SqlTokenizer.h"

#include <gtest/gtest.h>

TEST(StatementSplit, SplitsAtSemicolonsOutsideStringsNamesAndComments) {
  const struct {
    const char* batch;
    QStringList statements;
  } cases[] = {
      {"SELECT 1", {"SELECT 1"}},
      {"SELECT 1;", {"SELECT 1"}},
      {"DELETE T; INSERT INTO T VALUES ('a;b')", {"DELETE T", "INSERT INTO T VALUES ('a;b')"}},
      {"SELECT [a;b] FROM T;SELECT \"c;d\" FROM T", {"SELECT [a;b] FROM T", "SELECT \"c;d\" FROM T"}},
      {"UPDATE T SET A = 1 -- one; two\n; /* three; */ ;", {"UPDATE T SET A = 1 -- one; two"}},
      {" ; ;\n", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitSqlStatements(QString::fromUtf8(c.batch)), c.statements) << c.batch;
}
