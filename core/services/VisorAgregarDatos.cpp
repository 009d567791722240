#include "core/services/VisorAgregarDatos.h"

#include "core/helpers/Fechas.h"
#include "core/helpers/Listas.h"
#include "core/helpers/Textos.h"
#include "platform/StringList.h"
#include "platform/format/Format.h"

#include <QTableWidget>

#include <memory>

namespace {

const QString kCRLF = QStringLiteral("\r\n");

QString elemento(int indice, const QString& definicion) { return ExtraerElemento(indice, definicion, u","_qs); }

QString valorInicial(const QString& nombre, const QString& tipo, QString valor) {
  if (tipo == u"ftDateTime" && nombre.contains(QLatin1String("Hora"), Qt::CaseInsensitive))
    return TimeToStr(TextoAFechaHora(valor));
  return valor.replace(kCRLF, QStringLiteral(" "));
}

}  // namespace

QString VisorAgregarDatos(const QString& opciones, const QString& valores) {
  StringList lineasValores;
  lineasValores.SetText(valores);
  StringList definiciones;
  definiciones.SetText(ValorLista(QStringLiteral("DefinicionCampos"), opciones).replace(u';', kCRLF));
  while (lineasValores.Count() <= definiciones.Count()) lineasValores.Add(QString());

  const std::unique_ptr<Form> visor = CrearVisorValores(QStringLiteral("VisorAgregarDatos"));
  QTableWidget* rejilla = &RejillaVisorValores(visor, definiciones.Count());
  visor->SetCaption(ValorLista(QStringLiteral("Titulo"), opciones));
  visor->setProperty("OpcionesVisor", ValorLista(QStringLiteral("Opciones"), opciones));

  QStringList reglas;
  QString memos;
  for (int i = 0; i < definiciones.Count(); ++i) {
    const QString& definicion = definiciones[i];
    const QString nombre = elemento(0, definicion);
    const QString tipo = elemento(1, definicion);
    rejilla->setItem(i, 0, new QTableWidgetItem(nombre));
    rejilla->setItem(i, 1, new QTableWidgetItem(valorInicial(nombre, tipo, lineasValores[i])));
    if (tipo == u"ftMemo")
      memos += LineaContenidoMemo(nombre, lineasValores[i]);
    if (!elemento(4, definicion).isEmpty())
      reglas.append(elemento(4, definicion) + u'>' + nombre + u">>"_qs + elemento(6, definicion));
    if (!elemento(5, definicion).isEmpty())
      reglas.append(u'?' + nombre + u'>' + nombre + u'>' + elemento(5, definicion) + u'>' + elemento(4, definicion));
  }
  visor->setProperty("DefinicionesFilas", reglas);
  visor->setProperty("ContenidosMemo", memos);

  if (visor->ShowModal() != mrOk) return {};
  QString resultado;
  for (int fila = 0; fila < rejilla->rowCount(); ++fila) {
    const QTableWidgetItem* nombre = rejilla->item(fila, 0);
    const QTableWidgetItem* valor = rejilla->item(fila, 1);
    resultado += (nombre ? nombre->text() : QString()) + u'=' + (valor ? valor->text() : QString()) + kCRLF;
  }
  return resultado;
}
