#pragma once

#include "platform/Exceptions.h"

#include <QString>

struct sqlite3;

// The engine's English texts, which the system's handlers look for inside
// error messages.
namespace EngineText {
inline constexpr auto TableDoesNotExist = "Table does not exist";
inline constexpr auto KeyViolation = "Key violation";
inline constexpr auto FieldRequired = "Field '%1' must have a value";
inline constexpr auto RecordLocked = "Record locked by another user";
inline constexpr auto RecordDeleted = "Record/Key deleted";
inline constexpr auto TableIsBusy = "Table is busy";
inline constexpr auto TableIsReadOnly = "Table is read only";
inline constexpr auto PathNotFound = "Path not found";
inline constexpr auto DirectoryBusy = "Directory is busy";
inline constexpr auto UnknownDatabase = "Unknown database";
inline constexpr auto UnknownUserName = "Unknown user name or password";
inline constexpr auto InvalidFieldType = "Invalid field type";
inline constexpr auto GeneralSqlError = "General SQL error";
inline constexpr auto CapabilityNotSupported = "Capability not supported";
inline constexpr auto DatasetClosed = "Cannot perform this operation on a closed dataset";
inline constexpr auto DatasetOpen = "Cannot perform this operation on an open dataset";
inline constexpr auto DatasetEmpty = "Cannot perform this operation on an empty dataset";
inline constexpr auto NotEditing = "Dataset not in edit or insert mode";
inline constexpr auto DatasetReadOnly = "Cannot modify a read-only dataset";
inline constexpr auto FieldReadOnly = "Field '%1' cannot be modified";
inline constexpr auto FieldNotFound = "Field '%1' not found";
inline constexpr auto FieldAccess = "Cannot access field '%1' as type %2";
inline constexpr auto FieldRange = "%1 is not a valid value for field '%2'. The allowed range is %3 to %4";
inline constexpr auto InvalidBoolean = "'%1' is not a valid boolean value for field '%2'";
inline constexpr auto MissingTableName = "Missing TableName property";
inline constexpr auto NoSqlStatement = "No SQL statement available";
inline constexpr auto ParameterNotFound = "Parameter '%1' not found";
inline constexpr auto CorruptHeader = "Corrupt table/index header.";
inline constexpr auto AttachInTransaction = "Cannot attach database '%1' inside a transaction";
inline constexpr auto RecordLockedBySession = "Record already locked by this session";
inline constexpr auto RecordChanged = "Couldn't perform the edit because another user changed the record.";
inline constexpr auto InsufficientDiskSpace = "Insufficient disk space";
}  // namespace EngineText

// Added to the engine's failure that made it undo a whole transaction.
inline constexpr auto kTransactionUndoneText = "Se han deshecho todos los cambios de la transacción.";

// An error of the database engine: the engine's own text, then, on a new
// line, the driver's text when there is one. An error that SQLite reported
// keeps SQLite's extended result code; the others carry 0.
class EDatabaseError : public Exception {
 public:
  explicit EDatabaseError(const QString& engineText, const QString& driverText = QString(), int sqliteCode = 0);

  const QString& EngineMessage() const { return engineText_; }
  const QString& DriverMessage() const { return driverText_; }
  int SqliteCode() const { return sqliteCode_; }

 private:
  QString engineText_;
  QString driverText_;
  int sqliteCode_;
};

// Raises the engine error that stands for an SQLite failure result.
[[noreturn]] void RaiseSqliteError(sqlite3* db, int resultCode);
