#include "platform/sql/SqlTokenizer.h"

#include <gtest/gtest.h>

// At ";" outside strings, names and comments, and where a statement
// written right after another begins.
TEST(StatementSplit, SplitsWhereSqlServerSeesStatements) {
  const std::tuple<const char*, QStringList> cases[] = {
      {"SELECT 1", {"SELECT 1"}}, {"SELECT 1;", {"SELECT 1"}},
      {"DELETE T; INSERT INTO T VALUES ('a;b')", {"DELETE T", "INSERT INTO T VALUES ('a;b')"}},
      {"SELECT [a;b] FROM T;SELECT \"c;d\" FROM T", {"SELECT [a;b] FROM T", "SELECT \"c;d\" FROM T"}},
      {"UPDATE T SET A = 1 -- one; two\n; /* three; */ ;", {"UPDATE T SET A = 1 -- one; two"}}, {" ; ;\n", {}},
      {"USE master CREATE DATABASE ZEM1  COLLATE Modern_Spanish_CI_AI",
       {"USE master", "CREATE DATABASE ZEM1  COLLATE Modern_Spanish_CI_AI"}},
      {"BEGIN TRANSACTION UPDATE T SET a = 1 WHERE b IN (SELECT b FROM U) COMMIT TRANSACTION",
       {"BEGIN TRANSACTION", "UPDATE T SET a = 1 WHERE b IN (SELECT b FROM U)", "COMMIT TRANSACTION"}},
      {"INSERT INTO T (a) SELECT a FROM U UNION ALL SELECT a FROM V SELECT 1",
       {"INSERT INTO T (a) SELECT a FROM U UNION ALL SELECT a FROM V", "SELECT 1"}},
      {"CREATE TABLE T (a INT) CREATE NONCLUSTERED INDEX T_a ON T (a) DROP INDEX [T_a] ON [dbo].[T]",
       {"CREATE TABLE T (a INT)", "CREATE NONCLUSTERED INDEX T_a ON T (a)", "DROP INDEX [T_a] ON [dbo].[T]"}},
      {"ALTER TABLE T DROP COLUMN a ALTER DATABASE D SET RECOVERY SIMPLE",
       {"ALTER TABLE T DROP COLUMN a", "ALTER DATABASE D SET RECOVERY SIMPLE"}},
      {"ALTER TABLE T ADD CONSTRAINT F FOREIGN KEY (a) REFERENCES U (a) ON DELETE CASCADE SELECT U.[Update] FROM U",
       {"ALTER TABLE T ADD CONSTRAINT F FOREIGN KEY (a) REFERENCES U (a) ON DELETE CASCADE", "SELECT U.[Update] FROM U"}},
      {"CREATE VIEW V AS SELECT a FROM T", {"CREATE VIEW V AS SELECT a FROM T"}},
      {"USE Z; CREATE TRIGGER G AFTER DELETE ON T FOR EACH ROW BEGIN INSERT INTO L SELECT 1; END",
       {"USE Z", "CREATE TRIGGER G AFTER DELETE ON T FOR EACH ROW BEGIN INSERT INTO L SELECT 1; END"}},
  };
  for (const auto& [batch, statements] : cases)
    EXPECT_EQ(SplitSqlStatements(QString::fromUtf8(batch)), statements) << batch;
}
