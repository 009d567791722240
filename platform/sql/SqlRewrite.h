#pragma once

// The mapper's passes over a statement's tree; used by SqlMapper only.

#include "platform/sql/SqlMapper.h"
#include "platform/sql/SqlTree.h"
#include "platform/sql/SqlTypes.h"

#include <QList>
#include <QStringList>

#include <map>
#include <optional>
#include <utility>

// A dotted name as written: T, dbo.T, db.dbo.T, db..T, alias.column, T.*.
struct SqlChain {
  size_t begin = 0, end = 0;  // nodes [begin, end)
  QStringList names;          // unquoted parts; empty for db..T's schema
  QStringList written;        // parts as written
};

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
  // The name of a catalogue view (sysobjects, syscolumns, ...) of a
  // database: the connection's own or, for another, one made over the
  // schema it is attached under.
  QString CatalogueView(const QString& database, const QString& schema, const QString& view) const;
  const SqlContext& Context() const { return context_; }
  // Whether the mapping rests on nothing but the schema of the connection's
  // own file and its temporary one (no other database attached for it).
  bool Reusable() const { return reusable_; }

  // The tables the statement names at every level, with their aliases, so
  // that a column's type can be found (CollectTables).
  void AddTable(const SqlChain& table, const QString& alias) { tables_.push_back({table, alias, std::nullopt}); }
  // A derived table, (SELECT ...) alias, with the columns its select list
  // shows.
  void AddDerivedTable(const QString& alias, QList<SqlColumn> columns);
  // The columns of a table as the statement names it, read from the
  // engine's parsed schema (no query runs); empty for an unknown table.
  const QList<SqlColumn>& ColumnsOf(const SqlChain& table) const;
  // The column a chain names among the statement's tables: alias.column,
  // table.column, [db.]dbo.table.column or a bare column of any of them.
  std::optional<SqlColumn> ColumnOf(const SqlChain& column) const;

 private:
  struct NamedTable {
    SqlChain chain;
    QString alias;
    std::optional<QList<SqlColumn>> derived;  // a derived table's columns
  };

  const SqlContext& context_;
  mutable QStringList named_;  // the other databases the statement names
  std::vector<NamedTable> tables_;
  mutable std::map<QString, QList<SqlColumn>> columns_;  // by the table's SQLite text, when not cached
  mutable bool reusable_ = true;
};

// A parenthesised SELECT.
bool IsSubquery(const SqlNode& node);

// Whether the node ends a FROM list: the clause after it starts.
bool EndsFromList(const SqlNode& node);

// Follows a statement's words at one level to tell where a table name
// stands: after FROM, JOIN, INTO, UPDATE or INSERT, after a comma of a FROM
// list (one that follows an ON condition too: a condition holds no comma
// outside parentheses), and first in a parenthesised join.
class TablePositions {
 public:
  // Whether the significant node stands where a table name goes.
  bool Next(const SqlNode& node) {
    const bool table = tableNext_;
    tableNext_ = false;
    if (node.IsWord(u"FROM") || node.IsWord(u"JOIN")) {
      fromList_ = tableNext_ = true;
    } else if (node.IsWord(u"INTO") || node.IsWord(u"UPDATE") || node.IsWord(u"INSERT")) {
      tableNext_ = true;
    } else if (node.Is(SqlTokenKind::Comma)) {
      tableNext_ = fromList_;
    } else if (EndsFromList(node)) {
      fromList_ = false;
    }
    return table;
  }

  // The positions inside a group the statement's level holds: a group
  // standing where a table goes, not a subquery, is a parenthesised join,
  // whose first table stands as after FROM.
  static TablePositions Inside(const SqlNode& group, bool atTable) {
    TablePositions inside;
    inside.fromList_ = inside.tableNext_ = atTable && group.IsGroup() && !IsSubquery(group);
    return inside;
  }

 private:
  bool tableNext_ = false;
  bool fromList_ = false;
};

// Every table the statement's tree names, at any level, into objects.
void CollectTables(const SqlNodes& nodes, SqlObjects& objects);
// A string compared with a typed column (=, <, ..., BETWEEN, IN), or given
// to ISNULL or COALESCE with one, becomes the value SQL Server converts it
// to: '' is 0 for a number, a date is read in the session's order; what SQL
// Server cannot convert raises its error.
void RewriteComparedLiterals(SqlNodes& nodes, const SqlObjects& objects);
// UPDATE T ... FROM ...: the FROM's item T names (its alias, or the one
// instance of its table, however either is written) becomes the row the
// UPDATE changes, as SQL Server binds it; two instances raise SQL Server's
// "is ambiguous".
void PlaceUpdateTarget(SqlNodes& nodes, size_t head, SqlObjects& objects);
// DELETE T FROM ... [WHERE ...], from the target's name at nodes[target]
// and the FROM at nodes[from]: the rows of T the FROM's item T names bring
// (the same binding), or, T not in the FROM, those the FROM brings joined
// to T; at most as many of those rows as the LIMIT that stands for a TOP
// (TakeTop) takes.
void PlaceDeleteTarget(SqlNodes& nodes, size_t target, size_t from, const SqlObjects& objects, const SqlNodes& limit);
// The values INSERT and UPDATE write are converted to their columns'
// types as SQL Server converts them (zem_store, or the literal converted
// here); an IDENTITY column is left to the table.
void RewriteAssignments(SqlNodes& nodes, size_t head, const SqlObjects& objects);
// The name chain that ends at nodes[last]; nothing when none does.
std::optional<SqlChain> ChainEndingAt(const SqlNodes& nodes, size_t last);
bool IsNameNode(const SqlNode& node);
bool IsComparison(const SqlNode& node);  // =, <, >, <=, >=, <>, !=, !<, !>

// The chain starting at nodes[i] (a Word or QuotedName).
SqlChain ReadChain(const SqlNodes& nodes, size_t i);
// A #name or ##name: SQL Server's temporary tables, which the embedded
// server does not keep, are refused.
void RefuseTemporaryTable(const SqlChain& chain);
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

// Names and literals only, for statements without expressions (DROP,
// CREATE INDEX) and for column definitions.
void RewriteNames(SqlNodes& nodes, const SqlObjects& objects);
// The table name at nodes[at] in SQLite's terms (QualifiedTable).
void RewriteTableName(SqlNodes& nodes, size_t at, const SqlObjects& objects);
// CREATE TABLE and ALTER TABLE, from the word TABLE at nodes[table].
void RewriteCreateTable(SqlNodes& nodes, size_t table, const SqlObjects& objects);
void RewriteAlterTable(SqlNodes& nodes, size_t table, const SqlObjects& objects);

// Expressions at one level and below: names, literals, function calls,
// table hints, "+" and TOP; positions follow the level's tables (a
// parenthesised join's own, inside one).
void RewriteExpressions(SqlNodes& nodes, const SqlObjects& objects, TablePositions positions = {});
// A string literal as SQLite writes it: N'' loses its N.
QString RewriteLiteral(const SqlToken& token);
// TOP n or TOP (expression) of the SELECT at this level becomes LIMIT,
// with no order the SELECT does not give; a branch of a UNION, EXCEPT or
// INTERSECT with a TOP, or in parentheses, becomes a query of its own.
void RewriteTop(SqlNodes& nodes);
// The TOP at nodes[top] and its count, taken out, as the LIMIT that
// stands for them; end is where the statement's level ends. PERCENT and
// WITH TIES are refused.
SqlNodes TakeTop(SqlNodes& nodes, size_t top, size_t end);
// A comma of a FROM list joins looser than JOIN in T-SQL, SQLite's joins go
// from left to right: a chain with a RIGHT or FULL join after a comma at
// this level becomes a parenthesised join.
void GroupJoinChains(SqlNodes& nodes);
// INTERSECT binds before UNION and EXCEPT in T-SQL, SQLite's set operators
// go from left to right: a run of INTERSECTs after the first branch at this
// level becomes a query of its own. Run last, on the generated level.
void GroupIntersections(SqlNodes& nodes);
// The result columns of a UNION, EXCEPT or INTERSECT at this level take
// the type of highest precedence among their branches': a branch's value of
// a lower type is converted to it, as SQL Server converts it.
void RewriteSetOperationTypes(SqlNodes& nodes, const SqlObjects& objects);
// ORDER BY ... OFFSET n ROW[S] [FETCH FIRST|NEXT m ROW[S] ONLY] at this
// level becomes LIMIT m OFFSET n (LIMIT -1 without FETCH); a count that is
// not a written whole number is checked as it runs.
void RewriteOffset(SqlNodes& nodes);
// Binary "+" becomes zem_add(a, b), which joins texts and adds numbers.
void RewriteConcatenation(SqlNodes& nodes);
// The runs of operands and operators at this level, as [begin, end)
// pairs: what lies between commas, keywords, comparisons and the mapper's
// own clauses.
std::vector<std::pair<size_t, size_t>> OperandSegments(const SqlNodes& nodes);
// Arithmetic at this level, read before it is rewritten, in the type SQL
// Server gives it: a division of a decimal or float is not a whole
// number's, though SQLite may hold its operands as whole numbers; a
// result in int, smallint, tinyint or bigint past the type's range raises
// SQL Server's overflow error (zem_arithmetic).
void RewriteArithmeticTypes(SqlNodes& nodes, const SqlObjects& objects);

// The operands and operators of an arithmetic expression in nodes[begin,
// end): operands without their signs, operators between them; end stops
// before a select item's bare alias.
struct ArithmeticTerms {
  std::vector<std::pair<size_t, size_t>> operands;
  std::vector<size_t> operators;
  size_t end = 0;
};
std::optional<ArithmeticTerms> ReadArithmetic(const SqlNodes& nodes, size_t begin, size_t end);
bool IsArithmeticOperator(const SqlNode& node);  // + - * / % & | ^
// Each operand's type; nothing where it is not known.
std::vector<std::optional<SqlType>> OperandTypes(const SqlNodes& nodes, const ArithmeticTerms& terms,
                                                 const SqlObjects& objects);
// The type SQL Server gives the expression in nodes[begin, end), as it is
// written (before any rewrite): literals, columns, CAST and CONVERT, the
// functions the mapper knows, CASE, parentheses and arithmetic, which takes
// the type of highest precedence; nothing when a part of it is not known.
std::optional<SqlType> ExpressionType(const SqlNodes& nodes, size_t begin, size_t end, const SqlObjects& objects);
// The type of a call of one of the functions the mapper knows, by name.
std::optional<SqlType> CallType(const QString& name, const SqlNodes& arguments, const SqlObjects& objects);
// The results of a CASE (its node's children): after each THEN and the ELSE.
std::vector<std::pair<size_t, size_t>> CaseResults(const SqlNodes& children);
std::vector<std::optional<SqlType>> CaseResultTypes(const SqlNodes& children, const SqlObjects& objects);
// The type of highest precedence among the known ones (SQL Server's order:
// DATETIME, ..., FLOAT, REAL, DECIMAL, MONEY, BIGINT, INT, SMALLINT,
// TINYINT, BIT, ..., NVARCHAR, VARCHAR); a decimal widened to hold every
// exact number among them.
std::optional<SqlType> HighestType(const std::vector<std::optional<SqlType>>& types);
// 1 text, 2 whole number, 3 exact decimal or money, 4 float, 5 date; 0 other.
int TypeFamily(const SqlType& type);
// Whether a value of one type is converted to the highest type of an
// expression it is a result of: a text takes any higher type; a number
// only a higher number's.
bool TakesHigherType(const SqlType& own, const SqlType& highest);
// The type as zem_convert reads it: DECIMAL(13,3), VARCHAR(MAX), INT.
QString TypeText(const SqlType& type);
// zem_convert(type, value) of an already rewritten value, a text read as a
// date in the session's order.
QString ConversionCall(const SqlType& type, const QString& value, const SqlObjects& objects);
// The divisor of "/" and "%" becomes zem_divisor(d), which raises SQL
// Server's error for zero where SQLite would answer NULL.
void RewriteDivisions(SqlNodes& nodes);

// COLLATE <name> at nodes[collate]: the name as SQL Server spells it;
// an unknown one raises "Invalid collation".
void RewriteCollation(SqlNodes& nodes, size_t collate);
// The collation named by a COLLATE clause in nodes (at this level), which
// the clause leaves; empty when there is none.
QString TakeCollation(SqlNodes& nodes);
// x [NOT] LIKE y COLLATE c: LIKE under that collation (zem_like).
void RewriteCollatedLike(SqlNodes& nodes);
// col LIKE 'abc%' on a text column: also bounded to the range of texts
// starting so under the statement's collation, so an index answers.
void RewritePrefixLike(SqlNodes& nodes, const SqlObjects& objects);

// The error for a construct of SQL Server the embedded server does not run.
[[noreturn]] void Unsupported(const QString& construct);
