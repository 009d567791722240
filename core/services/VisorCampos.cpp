#include "core/services/VisorCampos.h"

#include "core/datamodule/CamposNoVisibles.h"
#include "core/services/VisorValores.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"
#include "platform/format/Format.h"

#include <QTableWidget>

namespace {

bool esHora(const Field& campo) {
  return campo.DataType() == ftDateTime && campo.FieldName().contains(QLatin1String("Hora"), Qt::CaseInsensitive);
}

bool esMemo(const Field& campo) { return campo.DataType() == ftMemo || campo.DataType() == ftFmtMemo; }

}  // namespace

void VisorCampos(Dataset& dataset) {
  try {
    dataset.Refresh();
  } catch (const std::exception&) {
    // The record is shown as it was read.
  }
  const std::unique_ptr<Form> visor = CrearVisorValores(QStringLiteral("VisorCampos"));
  QTableWidget& rejilla = RejillaVisorValores(visor, dataset.FieldCount());
  QString memos;
  for (int i = 0; i < dataset.FieldCount(); ++i) {
    const Field& campo = dataset.Fields(i);
    if (CampoNoVisible(campo.FieldName())) continue;
    QString valor;
    if (esHora(campo))
      valor = campo.IsNull() ? QString() : TimeToStr(campo.AsDateTime());
    else
      valor = campo.Text().replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    if (esMemo(campo)) memos += LineaContenidoMemo(campo.FieldName(), campo.Text());
    rejilla.setItem(i, 0, new QTableWidgetItem(campo.FieldName()));
    rejilla.setItem(i, 1, new QTableWidgetItem(valor));
  }
  visor->setProperty("ContenidosMemo", memos);
  visor->ShowModal();
}
