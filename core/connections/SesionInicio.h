#pragma once

#include <QString>

class TfGENEINIC;

// The engine session's network control folder from BDENetDir, as the
// program INI file is read: the temporary folder for "LOCAL" (on any engine
// but Paradox), the folder written otherwise (relative to the program
// folder); an empty value leaves the engine configuration's.
void FijarCarpetaRed(const QString& carpetaRed);

// The highest engine session number among the running sessions of this
// machine's user (the first 15 characters of the names compared); -1 when
// there is none.
int SesionBDEUsuario();

// The engine session of start-up, before any database opens: this
// instance's session and SesionBDE, the installation diagnosis unless
// switched off, and, with BDEPrivateDir "AUTO", the private folder PRIVDIR/n
// of the program folder for the highest n from SesionBDE down that no other
// running instance holds. When none can be had the conflict is warned of,
// the services object closed, the program asked to end, and the result is
// false. A failure raises.
bool PrepararSesionInicio(TfGENEINIC& servicios);
