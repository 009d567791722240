#include "core/startup/RestosAvisados.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QFileInfo>
#include <QSet>

#include <sys/stat.h>

namespace {

QString archivoRegistro() {
  QString estado = qEnvironmentVariable("XDG_STATE_HOME");
  if (!QDir::isAbsolutePath(estado)) estado = QDir::homePath() + QStringLiteral("/.local/state");
  return estado + QStringLiteral("/zemwin/restos-avisados");
}

// One line of the record: the folder's identity on its disk and its path; empty
// when nothing is there any more.
QByteArray identidad(const QString& ruta) {
  struct stat estado;
  if (::lstat(QFile::encodeName(ruta).constData(), &estado) != 0) return {};
  return QByteArray::number(quint64(estado.st_dev)) + ' ' + QByteArray::number(quint64(estado.st_ino)) + ' ' +
         QByteArray::number(qint64(estado.st_ctim.tv_sec)) + '.' + QByteArray::number(qint64(estado.st_ctim.tv_nsec)) +
         ' ' + ruta.toUtf8().toPercentEncoding();
}

QString rutaDe(const QByteArray& linea) {
  return QString::fromUtf8(QByteArray::fromPercentEncoding(linea.mid(linea.lastIndexOf(' ') + 1)));
}

}  // namespace

QStringList RestosPorAvisar(const QStringList& restos) {
  const QString registro = archivoRegistro();
  QSet<QByteArray> avisados;
  QFile leido(registro);
  // Only what it could have written: a line per folder left, and short ones.
  if (leido.open(QIODevice::ReadOnly) && leido.size() < (qint64{1} << 20))
    for (const QByteArray& linea : leido.readAll().split('\n'))
      if (!linea.isEmpty()) avisados.insert(linea);

  QStringList porAvisar;
  QSet<QByteArray> quedan;
  for (const QString& resto : restos) {
    const QByteArray linea = identidad(resto);
    if (linea.isEmpty() || !avisados.contains(linea)) porAvisar.append(resto);
    if (!linea.isEmpty()) quedan.insert(linea);
  }
  // The folders of other installations stay while they are there as they were.
  for (const QByteArray& linea : avisados)
    if (identidad(rutaDe(linea)) == linea) quedan.insert(linea);
  if (quedan == avisados) return porAvisar;

  QDir().mkpath(QFileInfo(registro).path());
  QSaveFile nuevo(registro);
  if (nuevo.open(QIODevice::WriteOnly)) {
    for (const QByteArray& linea : quedan) nuevo.write(linea + '\n');
    nuevo.commit();
  }
  return porAvisar;
}
