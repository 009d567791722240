#include "core/datamodule/RegistrosAsociados.h"

#include "core/connections/Conexiones.h"
#include "core/datamodule/CamposHora.h"
#include "core/datamodule/CatalogoClaves.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Geneinic.h"
#include "core/tables/NombresTablas.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

#include <QStringList>

#include <algorithm>
#include <utility>

QString ClaveAsociada(const Table& tabla) {
  QStringList piezas;
  // The primary key's fields, whichever index the table is sorted by.
  const int clave = NumeroCamposClaveTabla(tabla.TableName());
  const int n = std::min(clave > 0 ? clave : tabla.IndexFieldCount(), tabla.FieldCount());
  for (int i = 0; i < n; ++i) piezas.append(TextoCampoRegistro(tabla.Fields(i)));
  return piezas.join(u'|');
}

namespace {

// The warnings of the statements that failed; shown as each fails unless
// they are to wait.
QStringList eliminarAsociados(const Table& tabla, bool esperar) {
  const QString clave = ClaveAsociada(tabla);
  const QString k = LiteralSQL(clave);
  const QString t = LiteralSQL(QuitarPrefijoTabla(tabla.TableName()));
  const std::pair<QString, QString> sentencias[] = {
      {u"DELETE FROM RESPDOC   WHERE NombreTabla="_qs + t + u"    AND ((ClaveTabla = "_qs + k + u") "_qs +
           u"      OR (ClaveTabla = "_qs + LiteralSQL(clave + u'|') + u")) "_qs,
       u"¡El registro de Responsabilidad Documental asociado no ha sido eliminado! Motivo: "_qs},
      {u"DELETE FROM DOCUTRON   WHERE NombreTabla="_qs + t + u"  AND ClaveTabla="_qs + k,
       u"¡El registro de Documentación Electrónica asociado no ha sido eliminado! Motivo: "_qs},
      {u"DELETE FROM BLOBTAB   WHERE NombreTabla="_qs + t + u"  AND ClaveTabla="_qs + k,
       u"¡El registro de BLOB asociado no ha sido eliminado! Motivo: "_qs},
      {u"DELETE FROM GRANTAB   WHERE NombreTabla="_qs + t + u"  AND ClaveTabla="_qs + k,
       u"¡El registro de G.A. de Tablas asociado no ha sido eliminado! Motivo: "_qs},
      {u"DELETE FROM CONTACTO   WHERE NombreTabla="_qs + t + u"  AND CodigoTabla="_qs + k,
       u"¡El registro de Contactos asociado no ha sido eliminado! Motivo: "_qs},
      {u"DELETE FROM RELACION   WHERE (NombreTablaA="_qs + t + u"  AND ClaveTablaA="_qs + k + u") OR "_qs +
           u"      (NombreTablaB="_qs + t + u"       AND ClaveTablaB="_qs + k + u")"_qs,
       u"¡El registro de Relación asociado no ha sido eliminado! Motivo: "_qs},
  };
  QStringList avisos;
  for (const auto& [sql, aviso] : sentencias) {
    const QString resultado =
        EjecutarSQL(sql, QStringLiteral("Database"), esperar ? QStringLiteral("Silenciosa") : QString());
    if (resultado.isEmpty()) continue;
    if (esperar)
      avisos.append(aviso + resultado);
    else
      MensajeAviso(aviso + resultado);
  }
  return avisos;
}

}  // namespace

bool EliminarRegistrosAsociados(Table& tabla) {
  eliminarAsociados(tabla, false);
  return true;
}

void EliminarRegistroConAsociados(Table& tabla) {
  TConexiones* conexiones = fGENEINIC ? &Conexiones(*fGENEINIC) : nullptr;
  // The general database's records have nothing hanging off them.
  if (conexiones && tabla.DatabaseName() == conexiones->DatabaseGeneral->DatabaseName()) {
    tabla.Delete();
    return;
  }
  Database* database = conexiones ? conexiones->Database : nullptr;
  // A transaction already running belongs to the caller, who settles it.
  const bool propia = database && !database->InTransaction();
  if (propia) database->StartTransaction();
  // No message waits for the user while the transaction holds the write lock.
  QStringList avisos;
  try {
    avisos = eliminarAsociados(tabla, propia);
    tabla.Delete();
    if (propia) database->Commit();
  } catch (...) {
    if (propia && database->InTransaction()) database->Rollback();
    throw;
  }
  for (const QString& aviso : avisos) MensajeAviso(aviso);
}
