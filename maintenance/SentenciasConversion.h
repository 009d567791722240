#pragma once

#include "maintenance/ArchivoEquivalencias.h"

#include <QString>

// A text column as the server's catalogue names it: its table, its name and
// its type code (167 varchar, 35 text, 99 ntext, 175 char, 231 nvarchar,
// 239 nchar).
struct ColumnaTexto {
  QString tabla;
  QString nombre;
  int tipo = 0;
};

// The server a statement is written for: the SQL Server 2000 forms when its
// version text says so.
struct ServidorConversion {
  QString intercalacion;  // the installation's collation
  bool version2000 = false;
};

// "COLLATE " + the collation made case- and accent-sensitive.
QString ClausulaIntercalacion(const QString& intercalacion);

// The databases of the server; in mode "Aplicacion" only the general one and
// those whose names begin with the company prefix.
QString SentenciaBasesDatos(const QString& modo);
// The table's name as the catalogue keeps it and its text columns, in the
// server's order.
QString SentenciaColumnasTexto(const QString& baseDatos, const QString& tabla);
// One pair replaced in every value of a column that holds its old text. The
// value is worked on cast to a type that keeps every character of the
// column; on SQL Server 2000 a value longer than that type is left out.
QString SentenciaSustitucion(const QString& baseDatos, const ColumnaTexto& columna, const ParEquivalencia& par,
                             const ServidorConversion& servidor);
