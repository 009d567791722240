#include "printing/comandos/ImpresionMemo.h"

#include "core/messages/MensajeSistema.h"
#include "platform/Exceptions.h"
#include "platform/Variant.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"
#include "platform/data/IndexedDataset.h"
#include "platform/data/Session.h"
#include "platform/engine/EngineConnection.h"
#include "platform/engine/WriteTransaction.h"
#include "printing/comandos/ComandoCampo.h"
#include "printing/comandos/ComandoTexto.h"
#include "printing/comandos/DestinoComandos.h"
#include "printing/formlang/MarcasEstilo.h"
#include "printing/formlang/NumerosImpreso.h"

#include <QFontMetrics>
#include <QRegularExpression>

namespace {

QStringList Parrafos(const QString& texto) {
  static const QRegularExpression cortes(u"\r\n|\n|\r|\\|"_qs);
  return texto.split(cortes);
}

void PartirParrafo(const QString& parrafo, const QFontMetrics& medidas, int caja, const QString& prefijo,
                   QStringList& lineas) {
  QString texto = parrafo.isEmpty() ? u" "_qs : parrafo;
  if (!texto.endsWith(u' ')) texto += u' ';
  QStringList palabras = texto.split(u' ');
  palabras.removeLast();  // what follows the closing blank
  QString actual;
  for (const QString& palabra : palabras) {
    const QString conBlanco = palabra + u' ';
    if (medidas.horizontalAdvance(actual + conBlanco) > caja) {
      if (!actual.isEmpty()) lineas << prefijo + actual;
      actual = conBlanco;
    } else {
      actual += conBlanco;
    }
  }
  if (!actual.isEmpty()) lineas << prefijo + actual;
}

int PasoLinea(DestinoComandos& destino) {
  if (destino.Ejecucion().geometria.modoTexto) return 1;
  const int cien = destino.PixelesY(100);
  if (cien <= 0) return 0;
  const QFontMetrics medidas(FuenteMedida(destino), DispositivoMedida(destino));
  return medidas.boundingRect(u"Ay"_qs).height() * 100 / cien;
}

// The continuation row i of the line in print: found by the first k - 1 key
// values and `LineaMemo`, else appended. The reason when it cannot be
// written, the row cancelled.
std::optional<QString> GrabarContinuacion(Dataset& datos, const QList<std::pair<Field*, Variant>>& clave, Field& memo,
                                          int i, const QString& texto) {
  auto* indexado = dynamic_cast<IndexedDataset*>(&datos);
  try {
    const int k = static_cast<int>(clave.size());
    bool encontrada = false;
    if (indexado && k >= 2 && k <= 6) {
      QList<Variant> valores;
      for (int n = 0; n < k - 1; ++n) valores << clave[n].second;
      valores << Variant::Integer(i);
      encontrada = indexado->IndexFields(k - 1).FieldName().compare(u"LineaMemo", Qt::CaseInsensitive) == 0 &&
                   indexado->FindKey(valores);
    }
    if (encontrada)
      datos.Edit();
    else
      datos.Append();
    for (const auto& [campo, valor] : clave) campo->SetAsVariant(valor);
    datos.FieldByName(u"LineaMemo"_qs).SetAsInteger(i);
    memo.SetAsString(texto);
    datos.Post();
    return std::nullopt;
  } catch (const Exception& error) {
    if (datos.State() == dsEdit || datos.State() == dsInsert) datos.Cancel();
    return error.Message();
  }
}

// The rows of one memo are written in one transaction of their database, so
// a memo of thousands of lines commits once. The first row that cannot be
// written takes the memo's others back with it and ends the run, whose
// printout then goes nowhere: one warning, given once the transaction is
// undone (no message holds the database). False then.
bool GrabarContinuaciones(Dataset& datos, const QList<std::pair<Field*, Variant>>& clave, Field& memo,
                          const QStringList& lineas) {
  std::optional<QString> motivo;
  try {
    const std::shared_ptr<EngineConnection> conexion = Session::Default().OpenDatabase(datos.DatabaseName());
    WriteTransaction transaccion(*conexion);
    for (int i = 1; i < lineas.size() && !motivo; ++i) motivo = GrabarContinuacion(datos, clave, memo, i, lineas[i]);
    if (!motivo) transaccion.Commit();
  } catch (const Exception& error) {
    motivo = error.Message();
  }
  if (!motivo) return true;
  datos.Refresh();
  MensajeAviso(u"Imposible grabar el registro. Motivo: "_qs + *motivo);
  return false;
}

}  // namespace

QStringList LineasMemo(DestinoComandos& destino, const QString& texto, double ancho) {
  const int caja = destino.PixelesX(ancho);
  const QFont base = FuenteMedida(destino);
  QPaintDevice* dispositivo = DispositivoMedida(destino);
  QStringList lineas;
  MarcasExtraidas vigentes;
  for (const QString& parrafo : Parrafos(texto)) {
    const MarcasExtraidas marcas = ExtraerMarcas(parrafo);
    const QString resto = marcas.hayMarcas ? SepararMarcas(parrafo).texto : parrafo;
    if (marcas.hayMarcas) vigentes = marcas;
    QFont fuente = base;
    QColor color;
    if (vigentes.hayMarcas) AplicarMarcas(vigentes.marcas, fuente, color);
    PartirParrafo(resto, QFontMetrics(fuente, dispositivo), caja, vigentes.prefijo, lineas);
  }
  for (QString& linea : lineas) linea.remove(u'\t');
  return lineas;
}

void ImprimirMemo(DestinoComandos& destino, const LineaInstruccion& linea, const ReferenciaCampo& referencia,
                  Dataset& datos, const Field& campo, bool tablaReferida) {
  const bool enLineas = destino.Ejecucion().geometria.enSeccionLineas;
  qint64 cuantas = 0;
  if (!LeerEnteroImpreso(linea.Argumento(5), cuantas)) cuantas = 0;
  if (!enLineas && cuantas <= 0) return;
  if (campo.IsNull()) return;
  QString texto = campo.AsString();
  if (referencia.pieza > 0) {
    static const QRegularExpression saltos(u"\r\n|\n|\r"_qs);
    texto = texto.replace(saltos, u";"_qs).section(u';', referencia.pieza - 1, referencia.pieza - 1);
  }
  ArgumentosTexto argumentos = LeerArgumentosTexto(linea);
  argumentos.alineacion.clear();
  const QStringList lineas = LineasMemo(destino, texto, argumentos.ancho);
  if (lineas.isEmpty()) return;
  if (!enLineas) {
    const int paso = PasoLinea(destino);
    const double y = argumentos.y;
    for (qint64 i = 0; i < std::min<qint64>(cuantas, lineas.size()); ++i) {
      argumentos.texto = lineas[int(i)];
      argumentos.y = y + double(i * paso);
      ImprimirTexto(destino, argumentos);
    }
    return;
  }
  argumentos.texto = lineas.first();
  ImprimirTexto(destino, argumentos);
  if (tablaReferida || lineas.size() < 2) return;
  auto* indexado = dynamic_cast<IndexedDataset*>(&datos);
  const int k = indexado ? indexado->IndexFieldCount() : 0;
  QList<std::pair<Field*, Variant>> clave;
  for (int n = 0; n < k; ++n) clave.append({&indexado->IndexFields(n), indexado->IndexFields(n).AsVariant()});
  Field& memo = datos.FieldByName(campo.FieldName());
  const Bookmark fila = datos.GetBookmark();
  if (!GrabarContinuaciones(datos, clave, memo, lineas)) destino.Ejecucion().Abandonar();
  datos.GotoBookmark(fila);
}
