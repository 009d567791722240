#include "core/connections/Conexiones.h"

#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/data/AdoConnection.h"
#include "platform/data/Database.h"

namespace {

template <class Componente>
Componente* crear(QObject* owner, const char* nombre) {
  auto* componente = new Componente(owner);
  componente->setObjectName(QLatin1String(nombre));
  return componente;
}

}  // namespace

TConexiones::TConexiones(QObject* owner)
    : QObject(owner),
      Database(crear<::Database>(this, "Database")),
      DatabaseGeneral(crear<::Database>(this, "DatabaseGeneral")),
      DatabaseAlt(crear<::Database>(this, "DatabaseAlt")),
      ADOConnection(crear<AdoConnection>(this, "ADOConnection")),
      ADOConnectionAlt(crear<AdoConnection>(this, "ADOConnectionAlt")) {
  setObjectName(QStringLiteral("Conexiones"));
}

TConexiones& Conexiones(TfGENEINIC& servicios) {
  if (auto* conexiones = servicios.findChild<TConexiones*>(QStringLiteral("Conexiones"), Qt::FindDirectChildrenOnly))
    return *conexiones;
  return *new TConexiones(&servicios);
}

bool EsSQLServer() { return TipoBaseDatos == QLatin1String(kMicrosoftSQLServer); }

bool EsParadox() { return TipoBaseDatos == QLatin1String(kParadox); }
