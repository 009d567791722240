#include "core/services/SeleccionLista.h"

#include "core/helpers/Listas.h"
#include "core/helpers/Textos.h"
#include "core/services/PosicionFormulario.h"
#include "core/services/FormularioRegistrado.h"
#include "platform/StringList.h"

#include <QListWidget>


namespace {

struct Opcion {
  QString texto;
  bool marcada = false;
};

QList<Opcion> opcionesDe(const QString& lista) {
  StringList lineas;
  lineas.SetText(lista);
  QList<Opcion> opciones;
  for (const QString& linea : lineas.Lines()) {
    const qsizetype marca = linea.indexOf(u'*');
    opciones.append(marca < 0 ? Opcion{linea, false} : Opcion{QString(linea).remove(marca, 1), true});
  }
  return opciones;
}

// Sorted as OrdenarLineas sorts; equal texts keep their marks in order.
QList<Opcion> ordenadas(const QList<Opcion>& opciones) {
  QStringList textos;
  for (const Opcion& opcion : opciones) textos.append(opcion.texto);
  StringList orden;
  orden.SetText(OrdenarLineas(StringList(textos).Text()));
  QList<Opcion> pendientes = opciones;
  QList<Opcion> resultado;
  for (const QString& texto : orden.Lines())
    for (qsizetype i = 0; i < pendientes.size(); ++i)
      if (pendientes[i].texto == texto) {
        resultado.append(pendientes.takeAt(i));
        break;
      }
  return resultado;
}

void llenar(QListWidget& lista, const QList<Opcion>& opciones) {
  lista.clear();
  int ultimaMarcada = -1;
  for (const Opcion& opcion : opciones) {
    lista.addItem(opcion.texto);
    if (opcion.marcada) ultimaMarcada = lista.count() - 1;
  }
  const bool multiple = lista.selectionMode() != QAbstractItemView::SingleSelection;
  for (int i = 0; i < lista.count(); ++i)
    lista.item(i)->setSelected(multiple ? opciones[i].marcada : i == ultimaMarcada);
}

}  // namespace

QString SeleccionarDeLista(const QString& opciones, const QString& lista) {
  const bool multiple = ValorLista(QStringLiteral("Modo"), opciones).contains(QLatin1String("Multiple"));
  const bool ordenada = ValorLista(QStringLiteral("Opciones"), opciones).contains(QLatin1String("Ordenada"));
  AplicarFormato(ValorLista(QStringLiteral("Formato"), opciones), PosicionGENESELE);

  const QString clase = QLatin1String(kFormularioSeleccionLista);
  const std::unique_ptr<Form> formulario = CrearFormularioRegistrado(clase);
  auto& caja = ControlFormulario<QListWidget>(formulario, QStringLiteral("ListBox1"), clase);
  formulario->SetCaption(ValorLista(QStringLiteral("Titulo"), opciones));
  caja.setSelectionMode(multiple ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);

  const QList<Opcion> dadas = opcionesDe(lista);
  llenar(caja, ordenada ? ordenadas(dadas) : dadas);
  if (formulario->ShowModal() != mrOk) llenar(caja, dadas);

  QStringList elegidas;
  for (int i = 0; i < caja.count(); ++i)
    if (caja.item(i)->isSelected()) elegidas.append(caja.item(i)->text());
  return elegidas.join(QStringLiteral("\r\n"));
}
