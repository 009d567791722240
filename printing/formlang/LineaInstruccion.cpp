#include "printing/formlang/LineaInstruccion.h"

QString Pieza(QStringView texto, QChar separador, int indice) {
  if (indice < 0) return QString();
  qsizetype inicio = 0;
  for (int n = 0; n < indice; ++n) {
    const qsizetype siguiente = texto.indexOf(separador, inicio);
    if (siguiente < 0) return QString();
    inicio = siguiente + 1;
  }
  const qsizetype fin = texto.indexOf(separador, inicio);
  return texto.mid(inicio, fin < 0 ? -1 : fin - inicio).toString();
}

QString LineaInstruccion::Argumento(int n) const { return Pieza(argumentos, u'|', n - 1); }

LineaInstruccion AnalizarLinea(const QString& linea, const QString& separadorLibre) {
  QString texto = linea;
  texto.replace(u'|', separadorLibre);
  texto.replace(u';', u'|');
  LineaInstruccion resultado;
  const qsizetype igual = texto.indexOf(u'=');
  if (igual < 0) {
    resultado.palabra = texto;
    return resultado;
  }
  resultado.palabra = texto.left(igual);
  const qsizetype segundo = texto.indexOf(u'=', igual + 1);
  resultado.argumentos = texto.mid(igual + 1, segundo < 0 ? -1 : segundo - igual - 1);
  return resultado;
}
