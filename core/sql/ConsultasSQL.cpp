#include "core/sql/ConsultasSQL.h"

#include "core/connections/NombresBaseDatos.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/sql/MensajesSQL.h"
#include "core/sql/TablasSentencia.h"
#include "core/tables/TablasTemporales.h"
#include "platform/data/Query.h"

namespace {

void abrirOEjecutar(Query& consulta, const QString& opciones) {
  if (opciones.contains(QLatin1String("Open")))
    consulta.Open();
  else
    consulta.ExecSQL();
}

// Once more after another running program made the missing table; a
// failure leaves the result of the first attempt.
bool reintentarSinFallo(Query& consulta, const QString& opciones) {
  try {
    abrirOEjecutar(consulta, opciones);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool abrirOEjecutarConsulta(Query& consulta, QString opciones, bool ado) {
  consulta.Close();
  QString baseDatos = consulta.DatabaseName();
  if (baseDatos.startsWith(u'?')) baseDatos = baseDatos.mid(1);
  if (baseDatos.isEmpty()) baseDatos = ado ? BaseDatosADO(QString(), QString()) : BaseDatosBDE(QString());
  consulta.SetDatabaseName(baseDatos);
  if (!opciones.contains(QLatin1String("Open")) && !opciones.contains(QLatin1String("ExecSQL"))) {
    const QString primera = consulta.SQL().Text().trimmed().section(u' ', 0, 0).toUpper();
    opciones += primera == u"SELECT" || primera == u"(SELECT" ? QStringLiteral(",Open") : QStringLiteral(",ExecSQL");
  }
  try {
    abrirOEjecutar(consulta, opciones);
    return true;
  } catch (const std::exception& fallo) {
    const QString error = TextoExcepcion(fallo);
    if (ErrorTablaInexistente(error)) {
      bool halladas = false;
      if (CrearTablasDeSentencia(consulta.SQL().Text(), consulta.DatabaseName(), &halladas)) {
        abrirOEjecutar(consulta, opciones);
        return true;
      }
      return halladas && reintentarSinFallo(consulta, opciones);
    }
    if (!opciones.contains(QLatin1String("Silencio"))) {
      MensajeAviso(QStringLiteral("¡No es posible ejecutar la sentencia SQL. Motivo: ") + error);
      MostrarMensaje(QStringLiteral("Hay un error en la siguiente Sentencia SQL: \r\n") + consulta.SQL().Text());
    }
    return false;
  }
}

}  // namespace

bool AbrirOEjecutarConsulta(Query& consulta, const QString& opciones) {
  if (!abrirOEjecutarConsulta(consulta, opciones, false)) return false;
  // Only an opened query has rows to copy.
  if (consulta.Active() && opciones.contains(QLatin1String("Temporal"))) return CopiarConsultaATablaTemporal(consulta);
  return true;
}

bool AbrirOEjecutarConsultaADO(Query& consulta, const QString& opciones) {
  return abrirOEjecutarConsulta(consulta, opciones, true);
}
