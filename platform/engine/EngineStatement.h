#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// A prepared statement of whichever engine holds the data. Values are
// QVariants: invalid for NULL, qint64, double, QString, QByteArray.
class EngineStatement {
 public:
  virtual ~EngineStatement() = default;

  virtual int ParameterCount() const = 0;
  // 1-based, with its ":" prefix; empty for a "?" marker.
  virtual QString ParameterName(int index) const = 0;
  virtual void Bind(int index, const QVariant& value) = 0;

  // Runs the statement on its first call; true while there is a row.
  virtual bool Step() = 0;
  // Back to before its first Step, its bound values forgotten.
  virtual void Reset() = 0;

  virtual int ColumnCount() const = 0;
  virtual QString ColumnName(int column) const = 0;
  virtual QString ColumnDeclaredType(int column) const = 0;  // empty when the engine gives none
  virtual QVariant Column(int column) const = 0;
  // The same into a value, whose buffers the engine may reuse.
  virtual void ColumnInto(int column, QVariant& value) const { value = Column(column); }

  // Changes nothing in the database.
  virtual bool IsReadOnly() const = 0;
  // Rows this statement inserted, changed or deleted.
  virtual int Changes() const = 0;
  // The same with those its triggers and cascades changed; nullopt where
  // the engine cannot tell.
  virtual std::optional<qint64> AllChanges() const { return std::nullopt; }
  // When the engine last compiled it against the schema, as
  // EngineConnection::Compilations counts: compiled after something was
  // read of the schema, it may have found another one. nullopt where the
  // engine cannot tell.
  virtual std::optional<quint64> CompiledAt() const { return std::nullopt; }
};
