#pragma once

#include <QString>
#include <QVariant>

class QObject;

// Published properties by their exact names; false for a null object.
bool TienePropiedad(const QObject* objeto, const QString& nombre);
// The value; an empty text when there is no such property or the read fails.
QVariant LeerPropiedad(const QObject* objeto, const QString& nombre);
// Writes only an existing property; a failure is swallowed.
void EscribirPropiedad(QObject* objeto, const QString& nombre, const QVariant& valor);
