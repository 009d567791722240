#include "core/datamodule/InstantaneaRegistro.h"

#include "core/datamodule/CamposHora.h"
#include "core/datamodule/ClavesRegistro.h"
#include "core/helpers/Textos.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"
#include "platform/format/Format.h"

QString CamposHoraGuardados;

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
    if (sinIndices && EsCampoIndice(dataset, campo)) continue;
    const QString valor = ExtraerElemento(i, CamposHoraGuardados, QStringLiteral("|"));
    try {
      campo.SetAsString(EsCampoHoraRegistro(campo) ? TimeToStr(StrToTime(valor)) : valor);
    } catch (const std::exception&) {
    }
  }
}
