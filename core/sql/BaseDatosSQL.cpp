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

}  // namespace

QString BaseDatosBDE(const QString& nombreLogico) {
  if (nombreLogico.startsWith(u'?')) return nombreLogico.mid(1);
  if (!fGENEINIC) return nombreLogico;
  const TConexiones& conexiones = Conexiones(*fGENEINIC);
  if (nombreLogico == u"Database" || nombreLogico.isEmpty()) return conexiones.Database->DatabaseName();
  if (nombreLogico == u"DatabaseGeneral") return conexiones.DatabaseGeneral->DatabaseName();
  if (nombreLogico == u"DatabaseAlt") return conexiones.DatabaseAlt->DatabaseName();
  return nombreLogico;
}

QString BaseDatosADO(const QString& nombreLogico, const QString& opciones) {
  if (!fGENEINIC) return nombreLogico;
  const TConexiones& conexiones = Conexiones(*fGENEINIC);
  if (nombreLogico == u"Database" || nombreLogico.isEmpty()) return conexiones.ADOConnection->ConnectionString();
  if (nombreLogico == u"DatabaseAlt") return conexiones.ADOConnectionAlt->ConnectionString();
  if (nombreLogico == u"DatabaseGeneral") return CadenaConexionADO(*fGENEINIC, nombreLogico, QString());
  return CadenaConexionADO(*fGENEINIC, nombreLogico, servidorDeOpciones(opciones));
}
