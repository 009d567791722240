#include "maintenance/actualizacion/ObjetosSQL.h"

#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Textos.h"
#include "maintenance/actualizacion/EjecucionActualizacion.h"
#include "maintenance/actualizacion/OpcionesActualizacion.h"
#include "platform/Exceptions.h"
#include "platform/TextFile.h"
#include "platform/data/Field.h"

namespace {

const QString kCRLF = QStringLiteral("\r\n");

const QStringList kInicios = {QStringLiteral("CREATE FUNCTION"), QStringLiteral("CREATE PROCEDURE"),
                              QStringLiteral("CREATE VIEW"), QStringLiteral("CREATE TRIGGER"),
                              QStringLiteral("CREATE NONCLUSTERED INDEX")};

// A file that cannot be read counts as empty.
QString leer(const QString& ruta) {
  if (ruta.isEmpty()) return {};
  try {
    return TextFile::Read(ruta);
  } catch (const Exception&) {
    return {};
  }
}

// The path of the script with its first `de` made `a`, as it stands without it.
QString rutaComandos(QString ruta, const QString& de, const QString& a) {
  const qsizetype posicion = ruta.indexOf(de);
  return posicion < 0 ? ruta : ruta.replace(posicion, de.size(), a);
}

struct Prefijo {
  const char* prefijo;
  const char* eliminar;  // followed by the name; an index's by " ON " and its table
};
constexpr Prefijo kPrefijos[] = {
    {"fnMirdal_", "DROP FUNCTION [dbo]."}, {"spMirdal_", "DROP PROCEDURE [dbo]."}, {"vwMirdal_", "DROP VIEW [dbo]."},
    {"tgMirdal_", "DROP TRIGGER [dbo]."},  {"ixMirdal_", "DROP INDEX "},
};

QString nombresObjetos(const QString& baseDatos) {
  return QStringLiteral("USE ") + NombreSQL(baseDatos) + QStringLiteral("; ") +
         QStringLiteral("SELECT Name, '' AS Tabla   FROM SYSOBJECTS   WHERE name LIKE 'fnMirdal_%'") +
         QStringLiteral("     OR name LIKE 'spMirdal_%'     OR name LIKE 'vwMirdal_%'     OR name LIKE 'tgMirdal_%'") +
         QStringLiteral(" UNION SELECT I.Name, O.Name AS Tabla   FROM SYSINDEXES I JOIN SYSOBJECTS O ON O.id = I.id") +
         QStringLiteral("   WHERE I.name LIKE 'ixMirdal_%'");
}

}  // namespace

QStringList SentenciasComandos(const QString& texto) {
  const QString marca = CaracterNoUsado(texto);
  QString unido = texto;
  unido.replace(kCRLF, marca).replace(u'\n', marca);
  for (const QString& inicio : kInicios) unido.replace(inicio, u'\n' + inicio);
  QStringList sentencias;
  for (QString sentencia : unido.split(u'\n')) {
    sentencia = sentencia.replace(marca, kCRLF).trimmed();
    if (!sentencia.isEmpty()) sentencias.append(sentencia);
  }
  return sentencias;
}

QStringList SentenciasEliminarObjeto(const QString& nombre, const QString& tablaIndice) {
  QStringList sentencias;
  for (const Prefijo& prefijo : kPrefijos) {
    if (!nombre.startsWith(QLatin1String(prefijo.prefijo))) continue;
    QString sentencia = QLatin1String(prefijo.eliminar) + NombreSQL(nombre, FormaNombreSQL::SiempreCorchetes);
    if (nombre.startsWith(QLatin1String("ixMirdal_")))
      sentencia += QStringLiteral(" ON [dbo].") + NombreSQL(tablaIndice, FormaNombreSQL::SiempreCorchetes);
    sentencias.append(sentencia);
  }
  return sentencias;
}

void RecrearObjetosSQL(EjecucionActualizacion& ejecucion, const OpcionesActualizacion& opciones,
                       const QString& baseDatos) {
  if (EjecucionActualizacion::ServidorSQL2000()) return;
  const QString cmm = leer(rutaComandos(opciones.nombreArchivoCfg, QStringLiteral("DATABASE.TXT"), QStringLiteral("DATABASE.CMM")));
  const QString cme = opciones.incluirArchivoCfgEspecial
                          ? leer(rutaComandos(opciones.nombreArchivoCfgEspecial, QStringLiteral("DATABASE.ESP"),
                                              QStringLiteral("DATABASE.CME")))
                          : QString();
  if (cmm.isEmpty() && cme.isEmpty()) return;
  const QStringList sentencias = SentenciasComandos(cmm + kCRLF + cme);

  ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Progreso,
                        QStringLiteral("...Eliminando Funciones de Usuario y Procedimientos Almacenados"));
  QStringList eliminar;
  QString error;
  if (ejecucion.ConsultarSentenciaActualizacion(nombresObjetos(baseDatos), QString(), error)) {
    Query& consulta = ejecucion.Consulta();
    for (consulta.First(); !consulta.Eof(); consulta.Next()) {
      const QString nombre = consulta.FieldByName(QStringLiteral("Name")).AsString();
      const QString tabla = consulta.FieldByName(QStringLiteral("Tabla")).AsString();
      // An index comes with its table; the other objects with none.
      QStringList nombres{nombre};
      if (!tabla.isEmpty()) nombres << tabla;
      bool validos = true;
      for (const QString& n : nombres)
        if (!NombreObjetoSQLValido(n)) {
          ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Error, MensajeNombreNoValido(n));
          validos = false;
        }
      if (validos) eliminar += SentenciasEliminarObjeto(nombre, tabla);
    }
    consulta.Close();
  }
  for (const QString& sentencia : eliminar)
    ejecucion.EjecutarSentenciaActualizacion(QStringLiteral("USE ") + NombreSQL(baseDatos) + QStringLiteral("; ") + sentencia,
                                             QString(), error);

  ejecucion.AnotarLinea(EjecucionActualizacion::Tipo::Progreso,
                        QStringLiteral("...Creando Funciones de Usuario y Procedimientos Almacenados"));
  ejecucion.EjecutarSentenciaActualizacion(QStringLiteral("USE ") + NombreSQL(baseDatos), QString(), error);
  for (const QString& sentencia : sentencias) ejecucion.EjecutarSentenciaActualizacion(sentencia, QString(), error);
}
