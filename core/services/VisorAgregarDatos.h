#pragma once

#include <QString>

// The mode the name/value grid form reads when it is shown.
extern QString ModoVisorGENEVLIS;

// The class name of the name/value grid form: a Form with a QTableWidget
// "StringGrid" of two columns (headings "Campo" and "Valor", a row per
// value) and the properties "ReglasFilas" (rule lines), "TextoMemos" and
// "OpcionesVisor"; it closes with modal result 1 when its rows pass their
// rules.
inline constexpr auto kFormularioVisorValores = "TfGENEVLIS";

// Asks for named values in the name/value grid: the option lines "Titulo",
// "Opciones" and "DefinicionCampos" (row definitions "name,type,length,,
// lookup table,allowed values,lookup options" joined by ";"), the initial
// values one per line. The rows as name=value lines each ended by CR LF, or
// empty when the user does not save.
QString VisorAgregarDatos(const QString& opciones, const QString& valores);
