#pragma once

#include <QString>
#include <QStringList>

// The class name of the list maintenance form: a Form with the DBGrid
// "DBGrid1" over its Table "Temporal" (no table of its own: the launcher
// creates it), the buttons "pbAceptar" (modal result 1), "pbRestablecer" and
// "pbCancelar", and the properties "FormulasCampos" and "BusquedasCampos"
// (string lists), "CamposTotalizadores" (text) and "NoRedimensionar".
inline constexpr auto kFormularioMantenimientoLista = "TfGENEMLIS";

// Lets the user maintain or consult a list of lines, each the values of
// "NumeroCampos" fields joined by "|", in a grid over a temporary table.
// Options: "Titulo", "Modo" (words "Consulta", "Eliminar", "Sin Seleccion";
// maintenance without them), "NumeroCampos", "DefinicionCampos" (one
// "name,type,length,options,formula,width,lookup table" per field, joined by
// ";"), "Formato", "CamposTotalizadores", "Opciones" ("NoRedimensionarGrid").
// Accepted: every row of the table ("Consulta" alone: the current row), each
// line ended by CR LF but the last, memo line breaks written as "·". Not
// accepted: the lines given ("Consulta" alone: empty), or in maintenance
// mode empty when the user wants the list blank. Nothing is shown, and that
// initial result comes back, without a usable "NumeroCampos" or when the
// temporary table cannot be made; the table is deleted on every way out.
QString MantenimientoLista(const QString& opciones, const QString& lista);

// The temporary table of the list for its field definitions: the line number
// "GENEMLISLinea" as primary key, then each field with its type name as the
// definitions write it ("ftUnknown" for a name they do not know) and its length.
QString DefinicionTablaLista(const QStringList& definiciones);
