#pragma once

#include "core/services/PosicionFormulario.h"

#include <QString>

// The placement of the name=value editor form.
extern PosicionFormulario PosicionGENERINI;

// The class name of the name=value editor form: a Form with the property
// "EstilosEdicion" (name=style lines) and a QTableWidget "StringGrid" of
// two columns, a row per name under the header of the column titles. A value cell carries its edit style: the
// role Qt::UserRole true for an ellipsis button, Qt::UserRole + 1 the pick
// list's items.
inline constexpr auto kFormularioRegistroINI = "TfGENERINI";

// The template's lines with the values the values text gives for their
// names (a name given empty shows empty); names the template lacks dropped.
QString MezclarRegistroINI(const QString& valores, const QString& plantilla);

// Lets the user edit the merged lines in the name=value editor and gives
// them back: edited after OK, as first shown after any other close. The
// column titles are two texts joined by ";"; the options' "Formato" gives
// left, top, width and height.
void EditorRegistroINI(const QString& valores, const QString& plantilla, const QString& titulo,
                       const QString& titulosColumnas, const QString& definiciones, const QString& opciones,
                       QString& resultado);
