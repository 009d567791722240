#pragma once

#include "platform/engine/EngineStatement.h"

#include <QString>
#include <QVariant>

#include <vector>

class Connection;
struct sqlite3;
struct sqlite3_stmt;

// A prepared SQLite statement, finalised when it goes out of scope. Values
// are QVariants: invalid for NULL, qint64, double, QString, QByteArray.
class Statement final : public EngineStatement {
 public:
  // Once: run and finalised; Kept: run again and again (a cache keeps it).
  enum Lifetime { Once, Kept };
  Statement(Connection& connection, const QString& sql, Lifetime lifetime = Once);  // raises EDatabaseError
  // The statement that starts at offset in a batch of statements; offset
  // moves past it. Only blanks or comments left give an empty statement,
  // which has no columns and no rows.
  Statement(Connection& connection, const QByteArray& batch, qsizetype& offset);
  ~Statement() override;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  int ParameterCount() const override;
  QString ParameterName(int index) const override;  // 1-based, with its ":" prefix
  void Bind(int index, const QVariant& value) override;

  // Advances to the next row: true while there is one.
  bool Step() override;
  // Back to before its first step, the bindings cleared: it runs anew.
  void Reset() override;

  int ColumnCount() const override;
  QString ColumnName(int column) const override;
  QString ColumnDeclaredType(int column) const override;  // empty for an expression
  QVariant Column(int column) const override;
  // The same into a value, whose text buffer is reused where it can be.
  void ColumnInto(int column, QVariant& value) const override;

  bool IsReadOnly() const override;  // changes nothing in the database
  // Rows this statement inserted, changed or deleted; 0 for one that changes
  // no rows (a table definition, say), whatever ran before it.
  int Changes() const override;
  std::optional<qint64> AllChanges() const override;
  std::optional<quint64> CompiledAt() const override { return compiledAt_; }

 private:
  bool undoesWork() const;

  Connection& connection_;
  sqlite3* db_;
  sqlite3_stmt* statement_ = nullptr;
  bool started_ = false;
  qint64 totalChangesBefore_;
  quint64 compiledAt_ = 0;
  int recompiled_ = 0;  // by the engine, after a change of the schema
  // The texts and bytes bound, by parameter: the engine reads them where
  // they are until they are bound anew or the bindings are cleared.
  std::vector<QByteArray> bound_;
};
