#include "core/system/Archivos.h"

#include "core/system/CursorEspera.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/StringList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

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

// A mask split into its folder part (with its separator, or empty) and its
// file-name pattern.
struct Mascara {
  QString carpeta;
  QString patron;

  explicit Mascara(const QString& mascara) {
    const QString ruta = Paths::Internal(mascara);
    const qsizetype corte = ruta.lastIndexOf(u'/');
    carpeta = ruta.left(corte + 1);
    patron = ruta.mid(corte + 1);
  }

  QDir Directorio() const { return QDir(carpeta.isEmpty() ? QStringLiteral(".") : carpeta); }
};

// Sorted without regard to case, as the system lists paths; names that differ
// only in case are different files here and both stay.
QStringList ordenada(QStringList lista) {
  lista.removeDuplicates();
  std::sort(lista.begin(), lista.end(), [](const QString& a, const QString& b) {
    const int comparacion = a.compare(b, Qt::CaseInsensitive);
    return comparacion != 0 ? comparacion < 0 : a < b;
  });
  return lista;
}

// The entries of the mask's folder that match its pattern, of the kinds given.
QStringList entradas(const Mascara& mascara, QDir::Filters tipos) {
  QStringList coincidentes;
  for (const QString& entrada : mascara.Directorio().entryList(tipos | QDir::NoDotAndDotDot))
    if (CoincideConMascara(entrada, mascara.patron)) coincidentes.append(entrada);
  return coincidentes;
}

// The folders above a file, outermost first: "/a", "/a/b" for "/a/b/f.txt"
// (the root stands where a drive would and is not listed itself).
QStringList carpetasAntecesoras(const QString& archivo) {
  QStringList antecesoras;
  const QString carpeta = archivo.left(archivo.lastIndexOf(u'/'));
  QString camino;
  const QStringList piezas = carpeta.split(u'/');
  for (qsizetype i = 0; i < piezas.size(); ++i) {
    camino += i == 0 ? piezas[i] : u'/' + piezas[i];
    if (!camino.isEmpty()) antecesoras.append(camino);
  }
  return antecesoras;
}

}  // namespace

void CopiarArchivo(const QString& origen, const QString& destino) {
  QFile fuente(Paths::Internal(origen));
  if (!fuente.open(QIODevice::ReadOnly))
    throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(origen, fuente.errorString()));
  // Written beside the target and renamed over it: a failed copy leaves the
  // old target whole, and a file copied onto itself survives.
  QSaveFile copia(Paths::Internal(destino));
  if (!copia.open(QIODevice::WriteOnly))
    throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(destino, copia.errorString()));
  constexpr qint64 kBloque = 1 << 20;
  while (!fuente.atEnd()) {
    const QByteArray bloque = fuente.read(kBloque);
    if (bloque.isEmpty() && fuente.error() != QFileDevice::NoError)
      throw Exception(QStringLiteral("Cannot read file \"%1\". %2").arg(origen, fuente.errorString()));
    if (copia.write(bloque) != bloque.size())
      throw Exception(QStringLiteral("Cannot write file \"%1\". %2").arg(destino, copia.errorString()));
  }
  if (!copia.commit())
    throw Exception(QStringLiteral("Cannot write file \"%1\". %2").arg(destino, copia.errorString()));
}

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
  const Mascara partes(mascara);
  const QDir directorio = partes.Directorio();
  if (!directorio.exists()) return false;
  bool todos = true;
  const QStringList entradas =
      directorio.entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
  for (const QString& entrada : entradas) {
    if (!CoincideConMascara(entrada, partes.patron)) continue;
    const QString camino = partes.carpeta + entrada;
    if (QFileInfo(camino).isDir() || !QFile::remove(camino)) todos = false;
  }
  return todos;
}

QString BuscarArchivos(const QString& mascaras) {
  const CursorEspera cursor;
  StringList lineas;
  lineas.SetText(mascaras);
  QStringList pasada = ordenada(lineas.Lines());
  QStringList encontrados;
  while (!pasada.isEmpty()) {
    QStringList subcarpetas;
    for (const QString& linea : pasada) {
      const Mascara mascara(linea);
      for (const QString& archivo : entradas(mascara, QDir::Files)) encontrados.append(mascara.carpeta + archivo);
      // Linked folders are not followed: a link back up would never end.
      for (const QString& carpeta : entradas(mascara, QDir::Dirs | QDir::NoSymLinks))
        subcarpetas.append(mascara.carpeta + carpeta + QStringLiteral("/*.*"));
    }
    pasada = ordenada(subcarpetas);
  }
  QStringList resultado;
  for (const QString& archivo : encontrados) {
    resultado.append(carpetasAntecesoras(archivo));
    resultado.append(archivo);
  }
  return StringList(ordenada(resultado)).Text();
}

QString DirectorioTemporal() { return QDir::tempPath() + u'/'; }
