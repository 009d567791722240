#pragma once

#include <QString>

class TfGENEINIC;

// The class name under which the maintenance tools register the
// installation-diagnosis form. Its invokable method
// `bool DiagnosticarInstalacion(QString grupo)` runs the diagnosis of a group
// (true: nothing found).
inline constexpr auto kFormularioDiagnostico = "TfGENEDIAG";

// Creates the diagnosis form (owned by the services object), runs the
// group's diagnosis and closes the form, which frees itself; 1 when nothing
// was found, 0 otherwise. While no diagnosis form is registered there is
// nothing to run and the result is 0; a registered form without the method
// raises.
int DiagnosticoInstalacion(TfGENEINIC& servicios, const QString& grupo);
