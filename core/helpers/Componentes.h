#pragma once

#include <QObject>
#include <QString>

// Components found by name and event handlers called by name, so a shared
// routine can reach what only some forms have. A handler is a slot or
// invokable method taking one QObject* (the sender).

// The first component under the owner whose name equals the name without
// regard to case; none for an empty name.
QObject* BuscarComponente(const QObject* propietario, const QString& nombre);
bool TieneMetodo(const QObject* objeto, const QString& metodo);
// Calls the handler with the sender; false when there is none or it raised.
bool EjecutarMetodo(QObject* objeto, const QString& metodo, QObject* sender);
