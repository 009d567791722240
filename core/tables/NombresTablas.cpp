#include "core/tables/NombresTablas.h"

#include "core/connections/Conexiones.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Tablas.h"
#include "core/startup/Configuracion.h"
#include "platform/Cp1252.h"
#include "platform/data/Table.h"
#include "platform/sql/NombresSQL.h"

QString NombreTablaFisica(const QString& tabla) {
  if (!EsSQLServer() || tabla.contains(QLatin1String("dbo."))) return tabla;
  if (EsTablaTemporal(tabla) && (PathArchivosTemporales.contains(u'\\') || PathArchivosTemporales.contains(u'/') ||
                                 PathArchivosTemporales.contains(u':')))
    return tabla;
  return QStringLiteral("dbo.") + tabla;
}

QString SentenciaEliminarTabla(const QString& tabla) { return QStringLiteral("DROP TABLE ") + NombreSQL(tabla); }

QString QuitarPrefijoTabla(const QString& nombre) {
  if (!EsSQLServer() || nombre.count(u'.') != 1) return nombre;
  return nombre.section(u'.', 1);
}

QString MotorTabla(bool temporal) { return temporal && !ArchivosTemporalesEnBD ? QString(kParadox) : TipoBaseDatos; }

QString NombreIndicePrimario(const Table& tabla, const QString& indice) {
  if (tabla.Active() && tabla.IndexFieldCount() == 0) return indice;
  const QString motor = MotorTabla(EsTablaTemporal(tabla.TableName()));
  const bool primario = indice == u"<Primary>";
  if (motor == QLatin1String(kParadox)) return primario ? QStringLiteral("Clave1") : indice;
  if (motor == QLatin1String(kMicrosoftSQLServer) || motor == u"Microsoft Access") {
    const QString nombre = motor == QLatin1String(kMicrosoftSQLServer) ? QuitarPrefijoTabla(tabla.TableName())
                                                                       : tabla.TableName();
    return nombre + u'_' + (indice.isEmpty() || primario ? QStringLiteral("Clave1") : indice);
  }
  if (motor == u"SQL Generica") return tabla.TableName() + u'_' + indice;
  return indice;
}

QString MotivoNombreTablaNoValido(const QString& nombre, QStringView separadores) {
  if (!NombreObjetoSQLValido(nombre))
    return QStringLiteral("Debe tener entre 1 y %1 caracteres, ninguno de control.").arg(kLongitudMaximaNombreSQL);
  for (const QChar separador : separadores)
    if (nombre.contains(separador)) return QStringLiteral("No puede contener \"") + separador + QStringLiteral("\".");
  QString ajenos;
  for (const char32_t punto : nombre.toUcs4())
    if (const QString c = QString::fromUcs4(&punto, 1); !Cp1252::Holds(c) && !ajenos.contains(c)) ajenos += c;
  if (!ajenos.isEmpty()) return QStringLiteral("Contiene caracteres que el sistema no puede guardar: ") + ajenos + u'.';
  return {};
}

QString MensajeNombreTablaNoValido(const QString& nombre, const QString& motivo) {
  return QStringLiteral("¡El nombre de tabla no es válido! ") + motivo + QStringLiteral(" (") + NombreVisible(nombre) +
         u')';
}
