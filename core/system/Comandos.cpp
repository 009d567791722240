#include "core/system/Comandos.h"

QStringList SepararParametros(const QString& parametros) {
  QStringList palabras;
  QString palabra;
  bool enPalabra = false;
  bool entreComillas = false;
  for (const QChar caracter : parametros) {
    if (caracter == u'"') {
      entreComillas = !entreComillas;
      enPalabra = true;  // "" is an empty word
    } else if (!entreComillas && (caracter == u' ' || caracter == u'\t')) {
      if (enPalabra) palabras.append(palabra);
      palabra.clear();
      enPalabra = false;
    } else {
      palabra += caracter;
      enPalabra = true;
    }
  }
  if (enPalabra) palabras.append(palabra);
  return palabras;
}

Comando SepararComando(const QString& lineaComandos) {
  QStringList palabras = SepararParametros(lineaComandos);
  Comando comando;
  if (!palabras.isEmpty()) comando.programa = palabras.takeFirst();
  comando.parametros = palabras;
  return comando;
}
