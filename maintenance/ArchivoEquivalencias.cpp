#include "maintenance/ArchivoEquivalencias.h"

#include "platform/TextFile.h"

#include <QRegularExpression>

QList<ParEquivalencia> LeerArchivoEquivalencias(const QString& archivo) {
  static const QRegularExpression finLinea(QStringLiteral("\r\n|\n|\r"));
  QList<ParEquivalencia> pares;
  for (const QString& linea : TextFile::Read(archivo).split(finLinea)) {
    if (linea.isEmpty() || pares.size() == kMaximoEquivalencias) break;
    const qsizetype separador = linea.indexOf(u';');
    if (separador < 0)
      pares.append({linea, QString()});
    else
      pares.append({linea.left(separador), linea.mid(separador + 1)});
  }
  return pares;
}

void EscribirArchivoEquivalencias(const QString& archivo, const QList<ParEquivalencia>& pares) {
  QString texto;
  for (const ParEquivalencia& par : pares) {
    if (par.Vacio()) break;
    texto += par.anterior + u';' + par.nuevo + QStringLiteral("\r\n");
  }
  TextFile::Write(archivo, texto);
}
