#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The conditions of a programmable listing, as text. The same text serves the
// SELECT of query mode (date format FormatoFechaSQL) and the dataset filter of
// table mode ("dd/mm/yyyy"): both read a quote inside a literal as two quotes,
// so every typed value goes in doubled and can never end its literal.

struct CampoFiltrable {
  QString nombre;
  QString tipo;  // "ftString", "ftDate" ... as TextoDeTipoCampo writes it
};

struct RangoCampo {
  CampoFiltrable campo;
  QString desde;
  QString hasta;
};

// One condition line, "(" field " " operator " " literal ")". A float typed
// with "." and no "," gets its first "." turned into "," in valor, as the
// edit then shows it. Raises the conversion error of a value that is no date
// or number.
QString CondicionFiltro(const CampoFiltrable& campo, const QString& operador, QString& valor,
                        const QString& formatoFecha);

// The memo lines after the condition is added: " AND" ends the former last line.
QStringList AgregarCondicion(QStringList lineas, const QString& condicion);

// "((A >= 'x') AND (A <= 'y') ...)" over the ranges given; empty when none is.
QString CondicionRangos(const std::vector<RangoCampo>& rangos, const QString& formatoFecha);

// "(" memo ")" and the ranges, joined by " AND "; either may be missing.
// Raises when the memo could take the statement or the filter outside its
// group: a ";", a comment, a ")" closing more than it opened or a text left
// open (outside quotes).
QString CondicionListado(const QString& memo, const QString& rangos);

// The text of the reason a memo is refused.
extern const char* const kFiltroNoPermitido;
