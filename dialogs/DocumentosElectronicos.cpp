#include "dialogs/DocumentosElectronicos.h"

#include "core/helpers/LiteralesSQL.h"
#include "core/tables/NombresTablas.h"

#include <QFileInfo>

namespace {

const QString kCRLF = QStringLiteral("\r\n");

// The condition, after the blanks the statement puts before it.
QString registro(const QString& tabla, const QString& clave, const QString& antes = QStringLiteral("   ")) {
  return antes + QStringLiteral("WHERE NombreTabla = ") + LiteralSQL(tabla) + QStringLiteral("    AND ClaveTabla = ") +
         LiteralSQL(clave);
}

QString documento(const QString& tabla, const QString& clave, const QString& titulo,
                  const QString& antes = QStringLiteral("   ")) {
  return registro(tabla, clave, antes) + QStringLiteral("    AND Nombre = ") + LiteralSQL(titulo);
}

// Title and location of a selected entry; a title may hold "|", a location not.
QString titulo(const QString& entrada) { return entrada.section(u'|', 0, -2); }
QString ubicacion(const QString& entrada) { return entrada.section(u'|', -1); }

bool esArchivo(const QString& ruta) { return !ruta.isEmpty() && QFileInfo(ruta).isFile(); }

}  // namespace

QString SentenciaDocumentos(const QString& tabla, const QString& clave) {
  return QStringLiteral("SELECT Nombre, Ubicacion, Descripcion FROM DOCUTRON") + registro(tabla, clave);
}

QString SentenciaDescripcion(const QString& tabla, const QString& clave, const QString& titulo) {
  return QStringLiteral("SELECT Descripcion FROM DOCUTRON") + documento(tabla, clave, titulo) +
         QStringLiteral("  ORDER BY NombreTabla, ClaveTabla DESC");
}

QString SentenciaActualizarDescripcion(const QString& tabla, const QString& clave, const QString& titulo,
                                       const QString& descripcion) {
  return QStringLiteral("UPDATE DOCUTRON   SET Descripcion = ") + LiteralSQL(descripcion) +
         documento(tabla, clave, titulo, QStringLiteral("  "));
}

QString SentenciaEliminarDocumento(const QString& tabla, const QString& clave, const QString& titulo) {
  return QStringLiteral("DELETE DOCUTRON") + documento(tabla, clave, titulo);
}

QString SentenciaInsertarDocumento(const QString& tabla, const QString& clave, const QString& titulo,
                                   const QString& ubicacion, const QString& descripcion) {
  const QStringList valores = {LiteralSQL(tabla), LiteralSQL(clave), LiteralSQL(titulo), LiteralSQL(ubicacion),
                               LiteralSQL(descripcion)};
  return QStringLiteral("INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre, Ubicacion, Descripcion)  VALUES (") +
         valores.join(QStringLiteral(", ")) + QStringLiteral(") ");
}

QString SentenciaPasoDocumentos(PasoDocumentos paso, const QString& tabla, const QString& clave) {
  QString sql = QStringLiteral("SELECT TOP 1 ClaveTabla FROM DOCUTRON   WHERE NombreTabla = ") + LiteralSQL(tabla);
  if (paso == PasoDocumentos::Siguiente) sql += QStringLiteral("    AND ClaveTabla > ") + LiteralSQL(clave);
  if (paso == PasoDocumentos::Anterior) sql += QStringLiteral("    AND ClaveTabla < ") + LiteralSQL(clave);
  sql += QStringLiteral("  ORDER BY NombreTabla, ClaveTabla");
  if (paso == PasoDocumentos::Anterior || paso == PasoDocumentos::Ultimo) sql += QStringLiteral(" DESC");
  return sql;
}

bool EsRuta(const QString& ubicacion) { return ubicacion.contains(u'\\') || ubicacion.startsWith(u'/'); }

CorreoDocumentos ComponerCorreoDocumentos(const QStringList& documentos) {
  CorreoDocumentos correo;
  for (const QString& entrada : documentos) correo.adjuntos += ubicacion(entrada) + u'|';
  if (documentos.size() == 1) {
    const QString& entrada = documentos.first();
    correo.asunto = titulo(entrada);
    correo.cuerpo = esArchivo(ubicacion(entrada))
                        ? QStringLiteral("Ver documentos adjuntos...")
                        : QStringLiteral("La referencia siguiente puede ser de su interés: ") + titulo(entrada) +
                              QStringLiteral(" (") + ubicacion(entrada) + u')';
    return correo;
  }
  correo.asunto = QStringLiteral("Documentos/referencias de su interés");
  correo.cuerpo = QStringLiteral("Adjunto le remitimos los siguientes documentos/referencias: ") + kCRLF;
  for (const QString& entrada : documentos) {
    const QString lugar = ubicacion(entrada);
    correo.cuerpo += titulo(entrada) + QStringLiteral(" (") + (esArchivo(lugar) ? QFileInfo(lugar).fileName() : lugar) +
                     u')' + kCRLF;
  }
  return correo;
}

QString SentenciaDestinatario(const QString& tabla, const QString& clave) {
  const QString nombre = QuitarPrefijoTabla(tabla).toUpper();
  if (nombre != QLatin1String("CLIENTE") && nombre != QLatin1String("PROVEEDR")) return {};
  const QString pieza = clave.section(u'|', 0, 0);
  bool numero = false;
  pieza.toLongLong(&numero);
  return QStringLiteral("SELECT DirecCorreoElectronico FROM ") + NombreSQLTabla(tabla) + QStringLiteral("  WHERE Codigo = ") +
         (numero ? pieza : LiteralSQL(pieza));
}
