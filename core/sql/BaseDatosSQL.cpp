#include "core/sql/BaseDatosSQL.h"

#include "core/connections/Conexiones.h"
#include "core/connections/NombresBaseDatos.h"
#include "core/startup/Geneinic.h"
#include "platform/data/AdoConnection.h"
#include "platform/data/Database.h"

namespace {

QString servidorDeOpciones(const QString& opciones) {
  const QString clave = QStringLiteral("ServerName=");
  const qsizetype inicio = opciones.indexOf(clave);
  if (inicio < 0) return {};
  const QString resto = opciones.mid(inicio + clave.size());
  return resto.left(resto.indexOf(u','));
}

// A connection that names no database yet is refused by its logical name,
// never taken for the current folder.
QString conocida(const QString& nombre, const QString& nombreLogico) {
  if (!nombre.isEmpty()) return nombre;
  return nombreLogico.isEmpty() ? QStringLiteral("Database") : nombreLogico;
}

// The ADO twin of a connection is the same connection: without a connection
// string of its own (Paradox) it is the engine's database.
QString gemela(const AdoConnection& ado, const Database& database, const QString& nombreLogico) {
  return conocida(ado.ConnectionString().isEmpty() ? database.DatabaseName() : ado.ConnectionString(), nombreLogico);
}

}  // namespace

QString BaseDatosBDE(const QString& nombreLogico) {
  if (nombreLogico.startsWith(u'?')) return nombreLogico.mid(1);
  if (!fGENEINIC) return nombreLogico;
  const TConexiones& conexiones = Conexiones(*fGENEINIC);
  if (nombreLogico == u"Database" || nombreLogico.isEmpty())
    return conocida(conexiones.Database->DatabaseName(), nombreLogico);
  if (nombreLogico == u"DatabaseGeneral") return conocida(conexiones.DatabaseGeneral->DatabaseName(), nombreLogico);
  if (nombreLogico == u"DatabaseAlt") return conocida(conexiones.DatabaseAlt->DatabaseName(), nombreLogico);
  return nombreLogico;
}

QString BaseDatosADO(const QString& nombreLogico, const QString& opciones) {
  if (!fGENEINIC) return nombreLogico;
  const TConexiones& conexiones = Conexiones(*fGENEINIC);
  if (nombreLogico == u"Database" || nombreLogico.isEmpty())
    return gemela(*conexiones.ADOConnection, *conexiones.Database, nombreLogico);
  if (nombreLogico == u"DatabaseAlt")
    return gemela(*conexiones.ADOConnectionAlt, *conexiones.DatabaseAlt, nombreLogico);
  if (nombreLogico == u"DatabaseGeneral") return CadenaConexionADO(*fGENEINIC, nombreLogico, QString());
  return CadenaConexionADO(*fGENEINIC, nombreLogico, servidorDeOpciones(opciones));
}
