#pragma once

#include <QString>

#include <functional>

class DestinoComandos;

// The analysis groups of a record (table, category or "Todas", key text), one
// a line. The service belongs to the data module's analysis groups; until it
// is there the slot stays empty and a record has none.
using ConsultaGruposAnalisis = std::function<QString(const QString& tabla, const QString& categoria, const QString& clave)>;
ConsultaGruposAnalisis& GruposAnalisisRegistro();

// The groups of the row in print by the program's "GrupoAnalisisNN" line of
// that keyword (table, category, key field); empty when none defines it.
QString ValorGrupoAnalisis(DestinoComandos& destino, const QString& palabra);
