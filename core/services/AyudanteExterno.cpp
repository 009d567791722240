#include "core/services/AyudanteExterno.h"

#include "core/startup/Configuracion.h"
#include "core/system/Archivos.h"
#include "core/system/Procesos.h"
#include "platform/Cp1252.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <fcntl.h>
#include <unistd.h>

namespace {

const QString NombreAyudante = QStringLiteral("ZEMLEXT.EXE");

// Inside one line of the parameter file a line break is the middle dot.
QString enUnaLinea(const QString& texto) {
  QString linea = texto;
  return linea.replace(QStringLiteral("\r\n"), QStringLiteral("·")).replace(u'\r', u'·').replace(u'\n', u'·');
}

// Creates the file new (never through an existing file or link), readable by
// the user only, with the bytes; false when it cannot.
bool crearArchivoPrivado(const QString& ruta, const QByteArray& bytes) {
  const int fd = ::open(QFile::encodeName(ruta).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool escrito = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
  return ::close(fd) == 0 && escrito;
}

// Writes the parameter file and the batch file, runs the helper with the
// command word and deletes both files.
void ejecutarAyudante(const QString& orden, const QStringList& lineasParametros) {
  const QString guid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
  const QString archivoParametros = DirectorioTemporal() + guid + QStringLiteral(".INI");
  const QString archivoBat = DirectorioTemporal() + guid + QStringLiteral(".BAT");
  const QString ayudante = Paths::Join(CarpetaPrograma, NombreAyudante);
  const bool parametros =
      crearArchivoPrivado(archivoParametros, Cp1252::encode(lineasParametros.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
  // Written over an empty private file of its own, whose permissions it keeps.
  crearArchivoPrivado(archivoBat, {});
  const bool bat = CrearArchivoBat(archivoBat, ayudante + u' ' + orden + u' ' + archivoParametros) &&
                   QFile::setPermissions(archivoBat, QFile::ReadOwner | QFile::WriteOwner);
  if (parametros && bat) EjecutarYEsperarArgumentos(ayudante, {orden, archivoParametros});
  QDir::setCurrent(CarpetaPrograma);
  QFile::remove(archivoBat);
  QFile::remove(archivoParametros);
}

}  // namespace

int EnviarEMailMAPI(const QString& asunto, const QString& texto, const QString& adjuntos,
                    const QString& nombreRemitente, const QString& emailRemitente, const QString& nombreDestinatario,
                    const QString& emailDestinatario, const QString& nombreCopia, const QString& emailCopia,
                    const QString& opciones) {
  ejecutarAyudante(QStringLiteral("EnviarEMailMAPI"),
                   {QStringLiteral("Asunto=") + enUnaLinea(asunto), QStringLiteral("Texto=") + enUnaLinea(texto),
                    QStringLiteral("ArchivosAdjuntos=") + enUnaLinea(adjuntos),
                    QStringLiteral("NombreRemitente=") + enUnaLinea(nombreRemitente),
                    QStringLiteral("EMailRemitente=") + enUnaLinea(emailRemitente),
                    QStringLiteral("NombreDestinatario=") + enUnaLinea(nombreDestinatario),
                    QStringLiteral("EMailDestinatario=") + enUnaLinea(emailDestinatario),
                    QStringLiteral("NombreDestinatarioCC=") + enUnaLinea(nombreCopia),
                    QStringLiteral("EMailDestinatarioCC=") + enUnaLinea(emailCopia),
                    QStringLiteral("Opciones=") + enUnaLinea(opciones)});
  return 0;
}

void ImprimirDocumentoExterno(const QString& rutaDocumento, const QString& nombreImpresora, const QString& tipoDocumento) {
  QString orden;
  if (tipoDocumento == QLatin1String("DOC")) orden = QStringLiteral("ImprimirDocumentoWord");
  else if (tipoDocumento == QLatin1String("PDF")) orden = QStringLiteral("ImprimirDocumentoPDF");
  ejecutarAyudante(orden, {QStringLiteral("PathDocumento=") + enUnaLinea(rutaDocumento),
                           QStringLiteral("NombreImpresora=") + enUnaLinea(nombreImpresora)});
}
