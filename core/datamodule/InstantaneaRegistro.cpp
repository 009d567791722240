#include "core/datamodule/InstantaneaRegistro.h"

#include "core/datamodule/CamposHora.h"
#include "core/datamodule/ClavesRegistro.h"
#include "core/helpers/Textos.h"
#include "platform/data/Field.h"
#include "platform/data/IndexedDataset.h"
#include "platform/format/Format.h"

QString CamposHoraGuardados;

namespace {

bool esCampoIndice(const Dataset& dataset, const Field& campo) {
  const auto* indexado = qobject_cast<const IndexedDataset*>(&dataset);
  if (!indexado) return false;
  for (int i = 0; i < indexado->IndexFieldCount(); ++i)
    if (&indexado->IndexFields(i) == &campo) return true;
  return false;
}

}  // namespace

QString CamposHoraRegistro(Dataset& dataset) {
  CamposHoraGuardados.clear();
  if (!TablaVacia(dataset))
    for (int i = 0; i < dataset.FieldCount(); ++i) CamposHoraGuardados += TextoCampoRegistro(dataset.Fields(i)) + u'|';
  return CamposHoraGuardados;
}

void RestaurarCamposRegistro(Dataset& dataset, const QString& opciones) {
  const DataSetState estado = dataset.State();
  if (estado != dsEdit && estado != dsInsert && estado != dsSetKey) {
    try {
      dataset.Edit();
    } catch (const std::exception&) {
      return;
    }
  }
  const bool sinIndices = opciones.contains(QLatin1String("SinIndices"));
  for (int i = 0; i < dataset.FieldCount(); ++i) {
    Field& campo = dataset.Fields(i);
    if (sinIndices && esCampoIndice(dataset, campo)) continue;
    const QString valor = ExtraerElemento(i, CamposHoraGuardados, QStringLiteral("|"));
    try {
      campo.SetAsString(EsCampoHora(campo) ? TimeToStr(StrToTime(valor)) : valor);
    } catch (const std::exception&) {
    }
  }
}
