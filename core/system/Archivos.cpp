#include "core/system/Archivos.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool coincide(QStringView nombre, QStringView patron) {
  // Iterative wildcard match with back-tracking to the last "*".
  qsizetype n = 0, p = 0, estrella = -1, desde = 0;
  while (n < nombre.size()) {
    if (p < patron.size() && (patron[p] == u'?' || patron[p].toCaseFolded() == nombre[n].toCaseFolded())) {
      ++n;
      ++p;
    } else if (p < patron.size() && patron[p] == u'*') {
      estrella = p++;
      desde = n;
    } else if (estrella >= 0) {
      p = estrella + 1;
      n = ++desde;
    } else {
      return false;
    }
  }
  while (p < patron.size() && patron[p] == u'*') ++p;
  return p == patron.size();
}

}  // namespace

bool CoincideConMascara(const QString& nombre, const QString& patron) {
  if (coincide(nombre, patron)) return true;
  // A name without an extension also answers to "X.*" and "X." as "X".
  if (!nombre.contains(u'.')) {
    if (patron.endsWith(QLatin1String(".*"))) return coincide(nombre, QStringView(patron).chopped(2));
    if (patron.endsWith(u'.')) return coincide(nombre, QStringView(patron).chopped(1));
  }
  return false;
}

bool BorrarArchivos(const QString& mascara) {
  const QString ruta = Paths::Internal(mascara);
  const qsizetype corte = ruta.lastIndexOf(u'/');
  const QString carpeta = ruta.left(corte + 1);  // with its separator, or empty
  const QString patron = ruta.mid(corte + 1);
  const QDir directorio(carpeta.isEmpty() ? QStringLiteral(".") : carpeta);
  if (!directorio.exists()) return false;
  bool todos = true;
  const QStringList entradas =
      directorio.entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
  for (const QString& entrada : entradas) {
    if (!CoincideConMascara(entrada, patron)) continue;
    const QString camino = carpeta + entrada;
    if (QFileInfo(camino).isDir() || !QFile::remove(camino)) todos = false;
  }
  return todos;
}

QString DirectorioTemporal() { return QDir::tempPath() + u'/'; }
