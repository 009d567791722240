#pragma once

#include <QString>

class QObject;
class Table;
class TfGENEINIC;

// The Paradox tables to rebuild while nobody uses the data: the program INI
// file's section "Reconstrucción Automática de Tablas", key "Tablas", a
// sorted list without duplicates of the current company's folder joined with
// the table's name, each followed by ",". A table is added when the engine's
// error speaks of an index or a corrupt table; without a table, or on
// another engine, nothing is recorded. The caller has no effect. A failure
// to read or write the INI file reaches the caller.
void RepararTablas(TfGENEINIC& servicios, const Table* tabla, const QString& error, QObject* llamador = nullptr);
