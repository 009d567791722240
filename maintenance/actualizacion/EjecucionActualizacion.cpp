#include "maintenance/actualizacion/EjecucionActualizacion.h"

#include "core/connections/VariablesConexion.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"

#include <QCoreApplication>

namespace {

const QString kCRLF = QStringLiteral("\r\n");

void anadirLinea(QString& texto, const QString& linea) { texto += linea + kCRLF; }

}  // namespace

EjecucionActualizacion::EjecucionActualizacion(Vista vista) : vista_(std::move(vista)) {
  query_.setObjectName(QStringLiteral("Query"));
}

void EjecucionActualizacion::AnotarLinea(const QString& tipo, const QString& texto) {
  AnotarLinea(tipo == u"Error" ? Tipo::Error : Tipo::Progreso, texto);
}

void EjecucionActualizacion::AnotarLinea(Tipo tipo, const QString& texto) {
  anadirLinea(tipo == Tipo::Error ? errores_ : progreso_, texto);
  if (vista_) vista_(tipo, texto);
}

void EjecucionActualizacion::Limpiar() {
  progreso_.clear();
  errores_.clear();
}

bool EjecucionActualizacion::EjecutarSentenciaActualizacion(const QString& sql, const QString& opciones,
                                                            QString& error) {
  const bool hecho = ejecutar(sql, opciones, error, false);
  query_.Close();
  return hecho;
}

bool EjecucionActualizacion::ConsultarSentenciaActualizacion(const QString& sql, const QString& opciones,
                                                             QString& error) {
  return ejecutar(sql, opciones, error, !opciones.contains(QLatin1String("Comando")));
}

bool EjecucionActualizacion::ejecutar(const QString& sql, const QString& opciones, QString& error, bool abrir) {
  error.clear();
  if (AlEjecutar) AlEjecutar(sql);
  try {
    query_.Close();
    query_.SetDatabaseName(AliasBaseDatosGeneral);
    query_.SQL().SetText(sql);
    abrir ? query_.Open() : query_.ExecSQL();
    return true;
  } catch (const std::exception& excepcion) {
    query_.Close();
    if (opciones.contains(QLatin1String("Silenciosa"))) return false;
    error = TextoExcepcion(excepcion);
    if (!opciones.contains(QLatin1String("SinMensaje")))
      AnotarLinea(Tipo::Error,
                  QStringLiteral("Error: ") + error + kCRLF + QStringLiteral("en la siguiente sentencia SQL: ") + sql);
    return false;
  }
}

void EjecucionActualizacion::ProcesarMensajes() { QCoreApplication::processEvents(); }

bool EjecucionActualizacion::ServidorSQL2000() {
  return VersionServidorSQL.contains(QLatin1String("Microsoft SQL Server  2000"));
}
