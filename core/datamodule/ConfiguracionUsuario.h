#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <functional>

// Each user's rights and preferences, in the user's row of USUARIO (the data
// module's table Usuario): four keys are columns of their own, the others
// name=value lines of the memo Configuracion. A user whose Categoria names
// another user (the profile user) takes every key from that user's row but
// IndicesBusqueda, DatosBusqueda and ContadorAccesos.

// The code of the user whose rights apply: the profile user, or the user's
// own code for "Administrador", "Configurador", "Normal" and no category.
QString CategoriaUsuario(const QString& usuario);
// The key's value, or the default when the row, the line or its value is
// missing (a column gives its text even when empty).
QString LeerConfigUsuario(const QString& usuario, const QString& clave, const QString& defecto = QString());
// Writes the key in the row it is read from (an empty value removes a
// configuration line), warning when it cannot; the user table is read again.
void GrabarConfigUsuario(const QString& usuario, const QString& clave, const QString& valor);
// The keys as above, those of one row in one edit: a refused write is warned
// of once and writes none of the row's keys.
void GrabarConfigUsuario(const QString& usuario, const QList<QPair<QString, QString>>& valores);
// Changes the key from the value the row holds at that moment (read again as
// the row is put in edit mode, empty when missing) to the one the change
// gives. Nothing happens when the row is missing; a failure cancels the edit
// and reaches the caller.
void CambiarConfigUsuario(const QString& usuario, const QString& clave,
                          const std::function<QString(const QString& actual)>& cambio);
// False when the process's name occurs in the user's ProcesosNoAutorizados.
bool ProcesoAutorizado(const QString& usuario, const QString& proceso);
// The current user's preferred search index of the table, -1 when none.
int IndiceBusquedaTabla(const QString& tabla);
