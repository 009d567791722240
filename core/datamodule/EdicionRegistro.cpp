#include "core/datamodule/EdicionRegistro.h"

#include "platform/data/Dataset.h"

bool EditarRegistro(Dataset& dataset) {
  const DataSetState estado = dataset.State();
  if (estado == dsEdit || estado == dsInsert) return true;
  try {
    dataset.Edit();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
