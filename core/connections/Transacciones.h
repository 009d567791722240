#pragma once

class Database;
class TfGENEINIC;

// A transaction on a company connection and its ADO twin together (no
// database given: the company's, `Database`). A running transaction is
// reused, never nested; these routines roll nothing back.

// True when a transaction is running afterwards; a failure is silent and
// leaves none begun.
bool IniciarTransaccion(TfGENEINIC& servicios, Database* database = nullptr);
// Commits the running transaction, whoever began it; true when none is
// left. A failure is warned of, the result is false and the transaction
// stays as the engine left it.
bool FinalizarTransaccion(TfGENEINIC& servicios, Database* database = nullptr);
