#pragma once

#include <QList>
#include <QString>

// Who answers on the other side of the driver, which decides what its
// native error numbers mean.
enum class OdbcServer { SqlServer, Sqlite, Other };

// One diagnostic record of a handle.
struct OdbcDiagnostic {
  QString state;  // SQLSTATE
  int nativeError;
  QString text;   // the driver's own text
};

// Every diagnostic record the handle holds after its last call.
QList<OdbcDiagnostic> ReadDiagnostics(short handleType, void* handle);

// The original engine's text for the first diagnostic that is a failure
// the system knows ("Key violation", ...), else "General SQL error".
QString EngineTextOf(const QList<OdbcDiagnostic>& diagnostics, OdbcServer server);

// Raises EDatabaseError with the engine text and, after it, the text of
// every diagnostic.
[[noreturn]] void RaiseOdbcError(short handleType, void* handle, OdbcServer server);

// Raises unless result is a success. A success "with information" whose
// diagnostics hold an error, not only warnings, raises too, so a failure is
// never taken for a success.
void CheckOdbc(short result, short handleType, void* handle, OdbcServer server);
