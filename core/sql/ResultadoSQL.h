#pragma once

#include <QString>

class Dataset;

// How the rows of a query become the result text of the SQL routines.
struct FormatoResultadoSQL {
  QString delimitadorMemo = QStringLiteral(" ");  // in place of each CR LF of a memo among several columns
  bool formatoINI = false;                        // name=value pairs joined by "·"
  bool rowguidVacio = false;                      // a "rowguid" column gives no value
  bool conservarUltimoCRLF = false;

  // The format the option words ask for; the engine's routine reads
  // "FormatoINI" and the "rowguid" rule, the ADO one does not.
  static FormatoResultadoSQL DeOpciones(const QString& opciones, bool motorBDE);
};

// One line per row from the first to the end, each ended by CR LF but the
// last unless kept: a single column as it is, several joined by "|".
QString TextoResultadoSQL(Dataset& consulta, const FormatoResultadoSQL& formato);
