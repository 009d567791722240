#include "dialogs/EstiloLineaLista.h"

#include "core/helpers/Estilos.h"
#include "core/helpers/Textos.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/DatasetModel.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"

namespace {

const QString kEstiloLinea = QStringLiteral("EstiloLinea");
const QColor kAzulCeleste = ColorSistema(0xF0CAA6);

}  // namespace

QColor ColorSistema(int color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

void VestirCeldaLista(const DBGrid& rejilla, const QModelIndex& celda, QStyleOptionViewItem& opcion) {
  QColor texto = ColorSistema(ColorPorNombre(QStringLiteral("Negro")));
  QColor resaltado = opcion.palette.color(QPalette::Highlight);
  if (rejilla.RowSelected(celda.row()) || (rejilla.ReadOnly() && celda.row() == rejilla.currentIndex().row())) {
    resaltado = kAzulCeleste;
    opcion.backgroundBrush = kAzulCeleste;
  } else if (const Field* campo = rejilla.ColumnField(celda.column()); campo && campo->ReadOnly()) {
    opcion.backgroundBrush = kFondoInformacion;
  }
  const int columnaEstilo = rejilla.Model()->FieldNames().indexOf(kEstiloLinea);
  const QString estilo = columnaEstilo < 0 ? QString() : celda.siblingAtColumn(columnaEstilo).data().toString();
  const QString colorTexto = ExtraerElemento(0, estilo, u","_qs);
  if (!colorTexto.isEmpty()) texto = ColorSistema(ColorDeTexto(colorTexto));
  switch (EstiloFuente(ExtraerElemento(1, estilo, u","_qs))) {
    case 0: opcion.font.setBold(true); break;
    case 1: opcion.font.setItalic(true); break;
    case 2: opcion.font.setUnderline(true); break;
    case 3: opcion.font.setStrikeOut(true); break;
    default: break;
  }
  const QString fondo = ExtraerElemento(2, estilo, u","_qs);
  if (!fondo.isEmpty()) opcion.backgroundBrush = ColorSistema(ColorDeTexto(fondo));
  opcion.palette.setColor(QPalette::Text, texto);
  opcion.palette.setColor(QPalette::HighlightedText, texto);
  opcion.palette.setColor(QPalette::Highlight, resaltado);
}

