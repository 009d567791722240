#pragma once

#include "platform/StringList.h"

#include <QObject>
#include <QPointer>
#include <QString>

class Dataset;
class Table;

// How a batch move writes the records of its source into its destination:
// batAppend adds each one; batUpdate overwrites the destination's record of
// the same key (on the destination's current index) and adds nothing;
// batAppendUpdate overwrites where the key exists and adds elsewhere.
enum BatchMode { batAppend, batUpdate, batAppendUpdate };

// Moves the records a dataset shows (its filter, range and master link
// applied), from the first, into a table, through the fields mapped. A
// record the destination refuses for its key (a key violation) or cannot
// hold without losing data (a problem: a text too long, a number out of
// range, a value missing) is counted and skipped, or ends the move when it
// is to abort on it; any other failure (a record another program is
// editing, a closed file) ends the move with that error. The move is the
// destination's writes only: a caller that wants all or nothing runs it in
// a transaction of the destination's database.
class BatchMove : public QObject {
  Q_OBJECT

 public:
  explicit BatchMove(QObject* owner = nullptr);

  Dataset* Source() const { return source_; }
  void SetSource(Dataset* source) { source_ = source; }
  Table* Destination() const { return destination_; }
  void SetDestination(Table* destination) { destination_ = destination; }
  BatchMode Mode() const { return mode_; }
  void SetMode(BatchMode mode) { mode_ = mode; }

  // One line per destination field: "Destino=Origen", or a name both have.
  // Empty: every source field the destination has by that name.
  StringList& Mappings() { return mappings_; }
  const StringList& Mappings() const { return mappings_; }

  bool AbortOnKeyViol() const { return abortOnKeyViol_; }
  void SetAbortOnKeyViol(bool abort) { abortOnKeyViol_ = abort; }
  bool AbortOnProblem() const { return abortOnProblem_; }
  void SetAbortOnProblem(bool abort) { abortOnProblem_ = abort; }
  // At most this many source records are moved; 0: all of them.
  int RecordCount() const { return recordCount_; }
  void SetRecordCount(int count) { recordCount_ = count; }

  // Opens the source where closed, and reads the destination table by its
  // database and name (an open destination is refreshed at the end); raises
  // EDatabaseError for a missing source, destination or mapped field.
  void Execute();

  // Of the last Execute: the source records read, those written, those
  // that overwrote a record, and those skipped.
  int MovedCount() const { return movedCount_; }
  int ChangedCount() const { return changedCount_; }
  int KeyViolCount() const { return keyViolCount_; }
  int ProblemCount() const { return problemCount_; }

 private:
  QPointer<Dataset> source_;
  QPointer<Table> destination_;
  BatchMode mode_ = batAppend;
  StringList mappings_;
  bool abortOnKeyViol_ = true;
  bool abortOnProblem_ = true;
  int recordCount_ = 0;
  int movedCount_ = 0;
  int changedCount_ = 0;
  int keyViolCount_ = 0;
  int problemCount_ = 0;
};
