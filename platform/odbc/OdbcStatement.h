#pragma once

#include "platform/engine/EngineStatement.h"
#include "platform/odbc/OdbcHandle.h"
#include "platform/odbc/OdbcParameters.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <exception>
#include <optional>

class OdbcConnection;

// A statement on an ODBC connection, freed when it goes out of scope. Its
// first Step runs it (so the server's refusal comes there), and its columns
// are known from then on. A batch's results without columns (row counts) are
// passed over to the first that has some, and once its rows end every
// result left is read and its diagnostics checked.
class OdbcStatement final : public EngineStatement {
 public:
  // A statement run once goes directly, as ADO ran its commands; one kept to
  // run again and again is prepared on its first run only.
  enum Use { Once, Kept };
  OdbcStatement(OdbcConnection& connection, const QString& sql, Use use = Once);
  ~OdbcStatement() override;
  OdbcStatement(const OdbcStatement&) = delete;
  OdbcStatement& operator=(const OdbcStatement&) = delete;

  int ParameterCount() const override;
  QString ParameterName(int index) const override;
  void Bind(int index, const QVariant& value) override;

  bool Step() override;
  void Reset() override;

  int ColumnCount() const override { return static_cast<int>(columns_.size()); }
  QString ColumnName(int column) const override { return columns_.value(column); }
  QString ColumnDeclaredType(int column) const override { return declaredTypes_.value(column); }
  QVariant Column(int column) const override { return row_.value(column); }

  bool IsReadOnly() const override { return readOnly_; }
  int Changes() const override { return static_cast<int>(changes_); }
  // Whether running it may change what the connection's kept statements
  // were prepared on (a table created or dropped, another database used).
  bool ChangesSchema() const { return changesSchema_; }

 private:
  friend class OdbcConnection;
  enum class ValueKind { Integer, Real, Text, Bytes };

  // Runs it and settles on its first result with columns: false when none.
  bool execute();
  void prepare();
  // What the driver says of each marker, asked once where a text or a NULL
  // is bound, so they take their columns' types.
  void describeParameters();
  // The catalogue's tables of some kinds whose names match a pattern, in
  // place of a text.
  void runTables(const QString& pattern, const QString& types);
  // After a run, from the current result on.
  bool settle();
  // Moves on to the next result with columns; false, with nothing left to
  // read, when there is none.
  bool nextResultWithColumns();
  bool moreResults();
  void describeColumns();
  void finish();
  // The next row of the current result; false at its end.
  bool fetch();
  QVariant readColumn(int column);
  std::optional<QByteArray> readChunks(int column, short cType);
  void countChanges();
  void drain();
  // Keeps the current result's remaining rows, so another statement can run.
  void readOut();
  void check(short result) const;

  OdbcConnection& connection_;
  OdbcHandle handle_;
  QByteArray text_;
  bool readOnly_ = false;
  bool changesSchema_ = false;
  Use use_;
  bool prepared_ = false;
  std::optional<OdbcParameters::Descriptions> described_;
  int markers_ = 0;  // "?" outside strings and comments
  QStringList names_;  // of each marker, with its ":"; empty for a "?"
  OdbcParameters parameters_;
  bool executed_ = false;
  bool finished_ = false;
  QStringList columns_;
  QStringList declaredTypes_;
  QList<ValueKind> kinds_;
  QVariantList row_;
  std::deque<QVariantList> keptRows_;
  bool keptAll_ = false;
  std::exception_ptr keptFailure_;  // of a result left after the kept rows
  qint64 changes_ = 0;
};
