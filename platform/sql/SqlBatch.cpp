#include "platform/sql/SqlBatch.h"

#include "platform/sql/SqlParser.h"
#include "platform/sql/SqlTokenizer.h"
#include "platform/sql/TextMemo.h"

namespace {

bool IsData(SqlSyntaxKind kind) {
  return kind == SqlSyntaxKind::Select || kind == SqlSyntaxKind::Insert || kind == SqlSyntaxKind::Update ||
         kind == SqlSyntaxKind::Delete;
}

}  // namespace

CompiledBatch CompileSqlBatch(const QString& batch) {
  thread_local TextMemo<SqlSyntaxKind> compiled;
  CompiledBatch result{SplitSqlStatements(batch), true};
  for (const QString& statement : result.statements) {
    const SqlSyntaxKind kind =
        compiled.Of(statement, [&] { return SqlParser::ParseStatement(statement).kind; });
    result.dataOnly = result.dataOnly && IsData(kind);
  }
  return result;
}
