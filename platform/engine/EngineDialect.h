#pragma once

#include "platform/engine/AuditTrigger.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstddef>
#include <mutex>

// What the SQL of the layers above says differently on each engine, stated
// once per engine: the layers above ask the connection's dialect and never
// which engine they run on.
class EngineDialect {
 public:
  virtual ~EngineDialect() = default;

  // Our own SQLite files, whose text indexes keep the system's collation.
  static const EngineDialect& Sqlite();
  // SQLite through its ODBC driver: files without our collations.
  static const EngineDialect& SqliteDriver();
  static const EngineDialect& SqlServer();

  // A table of the connection's own database, its name quoted: SQLite says
  // "main." so that an attached database's table of that name is not taken.
  virtual QString OwnTable(const QString& tableName) const = 0;
  // A SELECT of at most rows rows: "tail" is what follows the table (its
  // WHERE and ORDER BY).
  virtual QString Window(const QString& columns, const QString& from, const QString& tail, std::size_t rows) const = 0;
  // A SELECT of the one row at a place of the order (from 0), bound as the
  // statement's last parameter: "tail" ends with its ORDER BY.
  virtual QString RowAtPlace(const QString& columns, const QString& from, const QString& tail) const = 0;

  // What a column holds, as far as comparing and binding its values differ.
  enum class ColumnKind { Text, LongText, Bytes, LongBytes, Number, Date };

  // "expression equals the parameter, NULL equal to NULL"; the value is
  // bound parameterUses times in a row.
  struct NullSafeTerm {
    QString text;
    int parameterUses;
  };
  virtual NullSafeTerm NullSafeEquals(const QString& expression) const = 0;
  // The same for a column of that kind, text compared byte for byte
  // whatever the column's collation: a record still holds what was read.
  virtual NullSafeTerm Unchanged(const QString& expression, ColumnKind kind) const = 0;

  // A column's stored value as the engine is given it: a NULL typed by the
  // column, so that a driver binds it as the column's own type, and a date
  // as a date where the engine reads text dates under the session's format.
  QVariant Bound(const QVariant& stored, ColumnKind kind) const;

  // What follows a text expression so that it sorts and compares as the
  // system's text indexes keep it (case and accents aside); empty where
  // the columns' own collation does.
  virtual QString TextCollation() const = 0;
  // Whether that collation takes case and accents aside as the system
  // does, so that the engine may find text the system finds equal.
  virtual bool SortsTextAsTheSystem() const = 0;

  // A condition true where the expression holds a number or NULL as
  // stored, false where text or bytes, never NULL; empty where the engine
  // cannot tell.
  virtual QString HoldsNumberOrNull(const QString& /*expression*/) const { return QString(); }
  // A condition true where the expression holds text as stored, false or
  // NULL elsewhere (NULL included); empty where the engine cannot tell.
  virtual QString HoldsText(const QString& /*expression*/) const { return QString(); }

  // The column that names a record of a table of those columns by itself
  // where the engine gives one ("rowid", or another of its names where a
  // column takes that one); empty where records are known by their key only.
  virtual QString RowId(const QStringList& columnNames) const = 0;
  // One row, one column: the row id or identity value the connection's
  // last insert gave.
  virtual QString LastInsertedId() const = 0;
  // An INSERT that leaves out an identity column for the engine to number,
  // followed by what answers the number given, in the same scope; empty
  // where the program numbers the column itself.
  virtual QString InsertNumbered(const QString& /*insert*/) const { return QString(); }

  // Whether a value written is kept as SQLite's affinity of the column's
  // declared type makes it, so that the row written is known without
  // reading it back; false where a driver binds the values its own way.
  virtual bool KeepsValuesByAffinity() const { return false; }

  // A row where a failed write of one record of the table may keep part of
  // its work (a trigger, a conflict clause of its own); the table's name is
  // its one parameter. Empty where the engine does not undo a failed
  // statement whole by itself.
  virtual QString TableWriteKeepsPartOnFailure() const { return QString(); }

  // A savepoint inside the running transaction: set, undo its work, let it
  // go (empty where nothing is to be done).
  struct SavepointTexts {
    QString set, undo, release;
  };
  virtual SavepointTexts Savepoint(const QString& name) const = 0;
  // The savepoint a write inside the running transaction takes, made once:
  // a Post runs it every time.
  const SavepointTexts& WriteSavepoint() const;

  // Written before the key's first field where an index carries the key
  // after its own fields (see Table).
  static constexpr auto kCarriedKeyMark = "/* key */ ";

  // The catalogue, each a statement with the table's name as its one
  // parameter. Columns: name, declared type, not null (0/1), position in
  // the primary key (0: none), in order. Indexes other than the primary key:
  // index name, unique (0/1), carries the key after its fields as Table
  // creates it (0/1), column name (NULL for an expression), descending
  // (0/1), ordered by index and position. Row ids: a row with 1 where the
  // table has them (empty where RowId is).
  virtual QString TableColumns() const = 0;
  virtual QString TableIndexes() const = 0;
  virtual QString TableHasRowIds() const = 0;
  // The primary key's columns with the collation the engine keeps each in:
  // name, collation name; nothing where the key is not asked.
  virtual QString KeyCollations() const { return {}; }

  // Whether two programs' edits of one record are kept apart by locks in
  // a side file beside the database; otherwise by the server's own locks.
  virtual bool LocksInSideFile() const = 0;

  // The statement that creates the trigger.
  virtual QString AuditTriggerText(const AuditTrigger& trigger) const = 0;

 protected:
  virtual bool BindsDatesAsDates() const { return false; }

 private:
  mutable std::once_flag writeSavepointMade_;
  mutable SavepointTexts writeSavepoint_;
};
