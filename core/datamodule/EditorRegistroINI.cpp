#include "core/datamodule/EditorRegistroINI.h"

#include "core/helpers/Listas.h"
#include "core/helpers/Textos.h"
#include "platform/Exceptions.h"
#include "platform/Form.h"
#include "platform/FormRegistry.h"
#include "platform/StringList.h"

#include <QFontMetrics>
#include <QHash>
#include <QTableWidget>

#include <algorithm>
#include <memory>

PosicionFormulario PosicionGENERINI;

namespace {

const QString kNulo = QStringLiteral("NULL");

// "Formato=left,top,width,height"; a malformed value changes nothing.
void fijarPosicion(const QString& opciones) {
  const QString formato = ValorLista(QStringLiteral("Formato"), opciones);
  if (formato.isEmpty()) return;
  const QStringList piezas = formato.split(u',');
  if (piezas.size() != 4) return;
  std::array<int, 4> numeros{};
  for (int i = 0; i < 4; ++i) {
    bool bien = false;
    numeros[static_cast<std::size_t>(i)] = piezas[i].trimmed().toInt(&bien);
    if (!bien) return;
  }
  PosicionGENERINI = {numeros[0], numeros[1], numeros[3], numeros[2]};
}

QTableWidgetItem* celda(const QString& texto) { return new QTableWidgetItem(texto); }

void rellenarRejilla(QTableWidget& rejilla, const StringList& lineas, const QString& definiciones) {
  rejilla.setColumnCount(2);
  rejilla.setRowCount(lineas.Count());
  const QFontMetrics medidas(rejilla.font());
  int anchoNombres = 0;
  for (int fila = 0; fila < lineas.Count(); ++fila) {
    const QString nombre = lineas.Names(fila);
    rejilla.setItem(fila, 0, celda(nombre));
    QTableWidgetItem* valor = celda(lineas.ValueFromIndex(fila));
    const QString definicion = ValorLista(nombre, definiciones);
    if (definicion.contains(QLatin1String("ELLIPSIS")))
      valor->setData(Qt::UserRole, true);
    else if (!definicion.isEmpty())
      valor->setData(Qt::UserRole + 1, definicion.split(u','));
    rejilla.setItem(fila, 1, valor);
    anchoNombres = std::max(anchoNombres, medidas.horizontalAdvance(nombre));
  }
  rejilla.setColumnWidth(0, anchoNombres + 10);
}

QString textoCelda(const QTableWidget& rejilla, int fila, int columna) {
  const QTableWidgetItem* item = rejilla.item(fila, columna);
  return item ? item->text() : QString();
}

}  // namespace

QString MezclarRegistroINI(const QString& valores, const QString& plantilla) {
  // Names compare as the lists compare them, without regard to case; the first line of a name counts.
  StringList dados;
  dados.SetText(valores);
  QHash<QString, QString> valorDe;
  for (int i = 0; i < dados.Count(); ++i) {
    const QString nombre = dados.Names(i);
    if (!nombre.isEmpty() && !valorDe.contains(nombre.toCaseFolded())) valorDe.insert(nombre.toCaseFolded(), dados.ValueFromIndex(i));
  }
  StringList mezcla;
  mezcla.SetText(plantilla);
  QStringList lineas;
  lineas.reserve(mezcla.Count());
  for (int i = 0; i < mezcla.Count(); ++i) {
    const QString nombre = mezcla.Names(i);
    const auto dado = nombre.isEmpty() ? valorDe.cend() : valorDe.constFind(nombre.toCaseFolded());
    const QString valor = dado != valorDe.cend() ? *dado : mezcla.ValueFromIndex(i);
    // The marker stands for a value given empty, wherever it came from.
    lineas.append(dado == valorDe.cend() && valor != kNulo ? mezcla[i] : nombre + u'=' + (valor == kNulo ? QString() : valor));
  }
  return StringList(std::move(lineas)).Text();
}

void EditorRegistroINI(const QString& valores, const QString& plantilla, const QString& titulo,
                       const QString& titulosColumnas, const QString& definiciones, const QString& opciones,
                       QString& resultado) {
  resultado = valores;
  StringList lineas;
  lineas.SetText(MezclarRegistroINI(valores, plantilla));
  fijarPosicion(opciones);

  const QString clase = QLatin1String(kFormularioRegistroINI);
  const std::unique_ptr<QWidget> formulario(FormRegistry::Create(clase, nullptr));
  auto* editor = qobject_cast<Form*>(formulario.get());
  auto* rejilla = editor ? editor->findChild<QTableWidget*>(QStringLiteral("StringGrid")) : nullptr;
  if (!rejilla) throw Exception(QStringLiteral("El formulario ") + clase + QStringLiteral(" no está disponible."));

  editor->setProperty("EstilosEdicion", definiciones);
  rejilla->setColumnCount(2);
  rejilla->setHorizontalHeaderLabels({ExtraerElemento(0, titulosColumnas, QStringLiteral(";")),
                                      ExtraerElemento(1, titulosColumnas, QStringLiteral(";"))});
  rellenarRejilla(*rejilla, lineas, definiciones);
  editor->SetCaption(titulo.isEmpty() ? QStringLiteral("Editor de Registro INI") : titulo);

  if (editor->ShowModal() == mrOk) {
    lineas.Clear();
    for (int fila = 0; fila < rejilla->rowCount(); ++fila)
      lineas.Add(textoCelda(*rejilla, fila, 0) + u'=' + textoCelda(*rejilla, fila, 1));
  }
  resultado = lineas.Text();
}
