#pragma once

#include <QString>

#include <functional>

// The server's queries and statements the report runs: EjecutarSQL on the
// company database in the program, a recording one in the tests.
using EjecucionServidor = std::function<QString(const QString& sql)>;

// The report of the blocked processes' rows and of their blockers' (one line
// per row, columns joined by "|"); empty when nothing is blocked.
QString TextoConflictosBloqueo(const QString& bloqueados, const QString& bloqueantes);

// Shows the lock conflicts in the detail viewer and, when the user agrees,
// ends the blocking processes.
void InformacionConflictosBloqueo(const EjecucionServidor& ejecutar);
