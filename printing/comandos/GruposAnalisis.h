#pragma once

#include <QString>

#include <functional>

class DestinoComandos;

// The analysis groups of a record (table, category or "Todas", key text), as
// the data module gives them; a test may put its own in place.
using ConsultaGruposAnalisis = std::function<QString(const QString& tabla, const QString& categoria, const QString& clave)>;
ConsultaGruposAnalisis& GruposAnalisisRegistro();

// The groups of the row in print by the program's "GrupoAnalisisNN" line of
// that keyword (table, category, key field); empty when none defines it.
QString ValorGrupoAnalisis(DestinoComandos& destino, const QString& palabra);
