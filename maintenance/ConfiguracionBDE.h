#pragma once

#include <QString>
#include <QStringList>

// The engine's persistent configuration, in the engine configuration file
// (MOTORBD.CFG): a parameter is its configuration path, ";" and its name
// ("\SYSTEM\INIT\;LOCAL SHARE"), and each path is a section ("SYSTEM\INIT").
// A path the file lacks raises the engine's EDatabaseError naming it; a
// text without ";" raises Exception.

// The value, up to 127 characters; empty when the entry is absent.
QString LeerParametroBDE(const QString& parametro);
// Replaces the value of an entry; an absent entry is left absent. The file
// is written whole or not at all.
void EscribirParametroBDE(const QString& parametro, const QString& valor);
// The aliases the file defines, in its order.
QStringList AliasConfiguracionBDE();
