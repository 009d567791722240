#pragma once

#include <QString>

class TfGENEINIC;

// The class name under which the maintenance tools register the
// installation-diagnosis form. Its invokable method
// `int DiagnosticarInstalacion(QString grupo)` runs the diagnosis of a group.
inline constexpr auto kFormularioDiagnostico = "TfGENEDIAG";

// Creates the diagnosis form (kept by the services object until it goes),
// runs the group's diagnosis, closes the form and gives its result. While no
// diagnosis form is registered there is nothing to run and the result is 0;
// a registered form without the method raises.
int DiagnosticoInstalacion(TfGENEINIC& servicios, const QString& grupo);
