#pragma once

#include <QString>
#include <QStringList>

// A command line as the system writes it, one text: the program's name, then
// its parameters, separated by blanks. Double quotes keep blanks inside a
// word and are dropped, as Windows reads a command line.
struct Comando {
  QString programa;
  QStringList parametros;
};

Comando SepararComando(const QString& lineaComandos);
// The words of a text of parameters only, read the same way.
QStringList SepararParametros(const QString& parametros);
