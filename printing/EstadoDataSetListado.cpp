#include "printing/EstadoDataSetListado.h"

#include "core/messages/MensajeSistema.h"
#include "platform/data/Field.h"

EstadoDataSetListado::EstadoDataSetListado(Dataset& dataSet)
    : dataSet_(dataSet),
      filtro_(dataSet.Filter()),
      filtrado_(dataSet.Filtered()),
      campos_(dataSet.GetFieldNames()),
      registro_(dataSet.GetBookmark()) {
  for (int i = 0; i < dataSet.FieldCount(); ++i) marcas_.append(dataSet.Fields(i).Tag());
}

void EstadoDataSetListado::Devolver() {
  devolverFiltro();
  for (int i = 0; i < campos_.size(); ++i) {
    if (Field* campo = dataSet_.FindField(campos_[i])) {
      campo->SetIndex(i);
      campo->SetTag(marcas_[i]);
    }
  }
  if (dataSet_.Active() && dataSet_.BookmarkValid(registro_)) dataSet_.GotoBookmark(registro_);
}

void EstadoDataSetListado::devolverFiltro() {
  if (filtro_ == dataSet_.Filter() && filtrado_ == dataSet_.Filtered()) return;
  try {
    if (filtro_.isEmpty()) {
      dataSet_.SetFiltered(false);
      dataSet_.SetFilter(QString());
    } else {
      dataSet_.SetFilter(filtro_);
    }
    dataSet_.SetFiltered(filtrado_);
  } catch (const std::exception&) {
    MensajeAviso(QStringLiteral("¡No ha sido posible restaurar los filtros de la tabla!"));
  }
}
