#pragma once

// The mapper's passes over a statement's tree; used by SqlMapper only.

#include "platform/sql/SqlMapper.h"
#include "platform/sql/SqlTree.h"

#include <QStringList>

// The databases and tables a statement names, looked up on its connection.
class SqlObjects {
 public:
  explicit SqlObjects(const SqlContext& context) : context_(context) {}

  // The schema under which the connection sees a database: "main" for its
  // own, the attached name for another, attaching it from the server folder
  // when it is not attached yet (never detaching one this statement names).
  QString SchemaOf(const QString& database) const;
  QStringList PrimaryKeyOf(const QString& schema, const QString& table) const;
  // Whether the connection has a temporary object of that name (the
  // catalogue views).
  bool IsTemporary(const QString& name) const;
  const SqlContext& Context() const { return context_; }

 private:
  const SqlContext& context_;
  mutable QStringList named_;  // the other databases the statement names
};

// A dotted name as written: T, dbo.T, db.dbo.T, db..T, alias.column, T.*.
struct SqlChain {
  size_t begin = 0, end = 0;  // nodes [begin, end)
  QStringList names;          // unquoted parts; empty for db..T's schema
  QStringList written;        // parts as written
};
// The chain starting at nodes[i] (a Word or QuotedName).
SqlChain ReadChain(const SqlNodes& nodes, size_t i);
// The chain in SQLite's terms: dbo dropped, the database as its schema.
QString RenderChain(const SqlChain& chain, const SqlObjects& objects);
// A chain naming a table, as schema and name in SQLite's text: an
// unqualified name is the connection's own file's ("main"), unless it is a
// temporary object, whose schema is left empty.
std::pair<QString, QString> QualifiedTable(const SqlChain& chain, const SqlObjects& objects);
// The same, joined.
QString RenderTableChain(const SqlChain& chain, const SqlObjects& objects);
// Schema and table of a chain naming a table, unquoted.
std::pair<QString, QString> TableOfChain(const SqlChain& chain, const SqlObjects& objects);

// Expressions at one level and below: names, literals, function calls,
// table hints, "+" and TOP.
void RewriteExpressions(SqlNodes& nodes, const SqlObjects& objects);
// A string literal: dates in `FormatoFechaSQL` become ISO, N'' loses its N.
QString RewriteLiteral(const SqlToken& token, const SqlContext& context);
// TOP n of every SELECT at this level becomes LIMIT n (ordered by the
// first table's primary key when the SELECT gives no order).
void RewriteTop(SqlNodes& nodes, const SqlObjects& objects);
// Binary "+" becomes zem_add(a, b), which joins texts and adds numbers.
void RewriteConcatenation(SqlNodes& nodes);

// The error for a construct of SQL Server the embedded server does not run.
[[noreturn]] void Unsupported(const QString& construct);
