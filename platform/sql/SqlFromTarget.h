#pragma once

// How the target of an UPDATE or DELETE with a FROM of its own is bound to
// one of the FROM's tables, as SQL Server binds it; used by the mapper's
// UPDATE and DELETE passes only.

#include "platform/sql/SqlRewrite.h"

#include <optional>
#include <vector>

// A table of a FROM list: its name, the alias it goes by, and where both
// end, in the nodes of the statement or, inside parenthesised joins, in the
// children of the groups its path leads through.
struct FromItem {
  SqlChain chain;
  std::optional<SqlNode> alias;
  size_t end = 0;
  std::vector<size_t> path;

  // The nodes that hold the item.
  SqlNodes& In(SqlNodes& statement) const;
  const SqlNodes& In(const SqlNodes& statement) const;
  // The nodes of its table's name.
  SqlNodes TableNodes(const SqlNodes& statement) const;

  // The name SQLite knows the item by in the statement: its alias, else its
  // table's name.
  QString ExposedName() const;
};

FromItem FromItemAt(const SqlNodes& nodes, size_t at);
// The tables of the FROM list in nodes[from, end).
std::vector<FromItem> FromItemsOf(const SqlNodes& nodes, size_t from, size_t end);
// Which item the target names: the one that shows itself by that name, else
// the one instance of the target's table, whatever the spelling of either
// (brackets, owner, database, case); none when the table is not in the
// FROM. Two instances raise SQL Server's "is ambiguous".
std::optional<size_t> BoundItem(const SqlChain& target, const std::vector<FromItem>& items, const SqlObjects& objects);

// What tells one row of a table from another: its primary key, or SQLite's
// rowid in a table without one (every table SQLite keeps WITHOUT ROWID has
// a key). A view has neither and is refused.
struct RowIdentity {
  QStringList key;  // quoted; empty for the rowid
  // The name of SQLite's that reads the rowid: a column called "rowid"
  // hides that one, and its values are no row's own.
  QString rowId;

  static RowIdentity Of(const FromItem& item, const SqlObjects& objects);
  bool IsRowId() const { return key.isEmpty(); }
};

// SQLite reads no rowid of a table inside a join: the item becomes a table
// of its own that shows it under this name. Returns how many nodes fewer
// the item's holder has.
constexpr QLatin1String kRowIdColumn("zem_rowid");
size_t ShowRowId(SqlNodes& statement, const FromItem& item, const RowIdentity& identity, const SqlObjects& objects);
