#include "core/datamodule/PermisoTabla.h"

#include "core/datamodule/ClavesRegistro.h"
#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/startup/Configuracion.h"
#include "core/tables/NombresTablas.h"
#include "platform/Exceptions.h"
#include "platform/data/Dataset.h"

#include <QStringList>

void ComprobarPermisoTabla(Dataset& dataset) {
  if (!dataset.CanModify()) throw Abort();
  const QString tabla = QuitarPrefijoTabla(NombreTablaDataSet(dataset));
  if (tabla.isEmpty()) return;
  const QStringList vetadas = LeerConfigUsuario(CodigoUsuarioActual, QStringLiteral("TablasNoAccesibles")).split(u',');
  for (const QString& vetada : vetadas)
    if (vetada.trimmed().compare(tabla, Qt::CaseInsensitive) == 0) throw Abort();
}
