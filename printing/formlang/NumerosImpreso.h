#pragma once

#include <QString>
#include <QVariant>

// Numbers of a printed-form program, read by the system's number reader
// ("10,5"; "10.5" is no number). Beyond 100,000 in size, NaN and infinities
// count as unreadable, so no program can make a run draw or loop without end.
inline constexpr double MayorNumeroImpreso = 100000;

bool LeerNumeroImpreso(const QString& texto, double& valor);
bool LeerEnteroImpreso(const QString& texto, qint64& valor);
// An unreadable number counts as 0, as the drawing commands take it.
double NumeroImpreso(const QString& texto);
// A field's value as a float field reads it; false when it is no number.
bool NumeroCampo(const QVariant& valor, double& numero);
