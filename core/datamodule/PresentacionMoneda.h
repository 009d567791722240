#pragma once

#include <QString>

class Field;
struct ReportItem;

// Whether amounts show converted, as the user left it: the euro button
// ("pbEuro") of the active form, else of the main window's active MDI child,
// else the main window's item "VerDatosEnMonedaNacionalOEuro".
bool VerEnOtraMoneda();

// The shown text of a float amount field: converted while that switch is on,
// else formatted; its edit text is its plain value, so what is typed is
// stored as typed.
void VerEnMonedaNacionalOEuro(Field& campo, QString& texto, bool mostrar);
// The printed text of an amount item of a report, converted while that
// switch is on.
void ImprimirEnMonedaNacionalOEuro(ReportItem& elemento, QString& valor);
