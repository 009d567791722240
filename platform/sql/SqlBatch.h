#pragma once

#include <QString>
#include <QStringList>

// A batch compiled whole before any of it runs, as SQL Server compiles it.
struct CompiledBatch {
  QStringList statements;  // as SplitSqlStatements gives them
  // Every statement a SELECT, INSERT, UPDATE or DELETE: none of them changes
  // the schema or the session the others are bound in.
  bool dataOnly = false;
};

// The batch when the grammar (SqlParser) takes every statement of it; else
// SqlError with the text of the first it refuses, and none of them is to
// run. What was taken is kept for texts sent again.
CompiledBatch CompileSqlBatch(const QString& batch);
