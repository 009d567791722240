#pragma once

#include <QString>
#include <QStringList>

// Reads ParametroL, ParametroU, ParametroI and ParametroT from the program's
// parameters (without the program's own name): "L=", "U=", "I=" and "T=" with
// the prefix in any case; with no parameter having "=" as its second
// character, the first two are L and U.
void LeerLineaComandos(const QStringList& parametros);

// The four parameters as the suite's programs are started with them:
// " L=... U=<user logged in> I=... T=...".
QString ParametrosLlamada();
// The same four as the arguments of a program started directly: a value
// keeps its blanks.
QStringList ArgumentosLlamada();
