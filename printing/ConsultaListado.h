#pragma once

#include "printing/CondicionesListado.h"

#include <QString>
#include <QStringList>

// The SELECT of a programmable listing in query mode, one clause a line.
struct ConsultaListado {
  QString tabla;                      // physical name
  QStringList campos;                 // selected, in listing order
  QStringList camposNoClasificables;  // memo, graphic and blob among them
  QString condicion;                  // CondicionListado
  bool clasificado = true;
};

// "SELECT", "FROM", "WHERE" when there is a condition, "ORDER BY" over the
// first ten selected fields that can be sorted when classified.
QStringList SentenciaListado(const ConsultaListado& consulta);
