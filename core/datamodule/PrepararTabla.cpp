#include "core/datamodule/PrepararTabla.h"

#include "core/connections/AperturaTablas.h"
#include "core/connections/Conexiones.h"
#include "core/datamodule/Genemodu.h"
#include "core/startup/Geneinic.h"
#include "platform/data/Table.h"

bool PrepararTabla(Table& tabla) {
  const bool abierta = tabla.Active();
  try {
    if (tabla.Filtered()) tabla.SetFiltered(false);
  } catch (const std::exception&) {
  }
  try {
    if (!fGENEINIC) return false;
    QObject& llamador = ModuloDatos ? static_cast<QObject&>(*ModuloDatos) : tabla;
    if (!AbrirTabla(*fGENEINIC, llamador, tabla)) return false;
    if (tabla.IndexFieldCount() > 0) {
      if (!tabla.IndexName().isEmpty()) tabla.SetIndexName(QString());
      if (abierta) tabla.CancelRange();
      if (!EsSQLServer()) tabla.Refresh();
    }
  } catch (const std::exception&) {
    return false;
  }
  return true;
}
