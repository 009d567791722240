#include "core/forms/AsociacionBusqueda.h"

#include "core/datamodule/TablaBusquedas.h"
#include "core/helpers/Letras.h"
#include "core/helpers/Valores.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/RutinasBusqueda.h"
#include "core/services/SeleccionLista.h"
#include "core/tables/DefinicionesEstructura.h"

#include <QLineEdit>

namespace {

// The table the user picks now among the company tables, kept for the
// control when asked; empty when none is picked.
QString localizarTabla(const QString& control) {
  const QString titulo = u'\'' + SepararPalabras(control) + u'\'';
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("No existe una Tabla de Búsqueda asociada al control ") + titulo +
                          QStringLiteral(". ¿Desea localizar una tabla adecuada ahora?"),
                      respuesta);
  if (respuesta != QLatin1String("SI")) return {};
  const QString tabla =
      SeleccionarDeLista(QStringLiteral("Titulo=Selección de Tabla\r\nFormato=0,0,300,0\r\nOpciones=Ordenada"),
                         ArchivoDefinicionesTabla(QStringLiteral("ExcluirTablasBDGeneral")))
          .trimmed();
  if (tabla.isEmpty()) return {};
  MensajeConfirmacion(QStringLiteral("¿Desea asociar el control ") + titulo + QStringLiteral(" con la tabla ") + tabla +
                          QStringLiteral(" de forma permanente?"),
                      respuesta);
  if (respuesta == QLatin1String("SI")) GrabarBusqueda(control, tabla);
  return tabla;
}

}  // namespace

void AsociarTablaBusqueda(QObject* sender) {
  if (!sender) return;
  const QString control = sender->objectName();
  QString tabla = LeerBusqueda(control);
  if (tabla.isEmpty()) tabla = localizarTabla(control);
  if (tabla.isEmpty()) return;
  const QString valor = VarianteATexto(BuscarDato(tabla, 0));
  if (auto* edit = qobject_cast<QLineEdit*>(sender); edit && !valor.isEmpty()) edit->setText(valor);
}
