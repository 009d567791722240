#include "core/startup/TraduccionFormulario.h"

#include "core/datamodule/Traduccion.h"
#include "core/startup/Configuracion.h"
#include "platform/report/ReportComponent.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMetaProperty>
#include <QTableView>
#include <QTreeView>
#include <QWidget>

#include <optional>

namespace {

// The name of the dynamic property that keeps what the last pass wrote.
QByteArray marca(const QString& propiedad) { return "zemTraducido" + propiedad.toLatin1(); }

// The system's text properties on Qt's widgets, where the component has no
// property of that very name.
std::optional<QString> leerTexto(const QObject* objeto, const QString& propiedad) {
  const QByteArray nombre = propiedad.toLatin1();
  const int indice = objeto->metaObject()->indexOfProperty(nombre.constData());
  if (indice >= 0) {
    const QMetaProperty meta = objeto->metaObject()->property(indice);
    if (meta.metaType().id() == QMetaType::QString) return meta.read(objeto).toString();
    return std::nullopt;
  }
  if (propiedad == QLatin1String("Caption")) {
    if (const auto* boton = qobject_cast<const QAbstractButton*>(objeto)) return boton->text();
    if (const auto* etiqueta = qobject_cast<const QLabel*>(objeto)) return etiqueta->text();
    if (const auto* grupo = qobject_cast<const QGroupBox*>(objeto)) return grupo->title();
    if (const auto* accion = qobject_cast<const QAction*>(objeto)) return accion->text();
    if (const auto* menu = qobject_cast<const QMenu*>(objeto)) return menu->title();
  } else if (propiedad == QLatin1String("Hint")) {
    if (const auto* widget = qobject_cast<const QWidget*>(objeto)) return widget->toolTip();
    if (const auto* accion = qobject_cast<const QAction*>(objeto)) return accion->toolTip();
  }
  return std::nullopt;
}

void escribirTexto(QObject* objeto, const QString& propiedad, const QString& texto) {
  const QByteArray nombre = propiedad.toLatin1();
  if (objeto->metaObject()->indexOfProperty(nombre.constData()) >= 0) {
    objeto->setProperty(nombre.constData(), texto);
  } else if (propiedad == QLatin1String("Caption")) {
    if (auto* boton = qobject_cast<QAbstractButton*>(objeto)) boton->setText(texto);
    else if (auto* etiqueta = qobject_cast<QLabel*>(objeto)) etiqueta->setText(texto);
    else if (auto* grupo = qobject_cast<QGroupBox*>(objeto)) grupo->setTitle(texto);
    else if (auto* accion = qobject_cast<QAction*>(objeto)) accion->setText(texto);
    else if (auto* menu = qobject_cast<QMenu*>(objeto)) menu->setTitle(texto);
  } else if (propiedad == QLatin1String("Hint")) {
    if (auto* widget = qobject_cast<QWidget*>(objeto)) widget->setToolTip(texto);
    else if (auto* accion = qobject_cast<QAction*>(objeto)) accion->setToolTip(texto);
  }
}

// A text the last pass wrote is left alone; any other is translated.
QString traducirUnaVez(QObject* objeto, const QByteArray& recuerdo, const QString& texto, const QString& idioma) {
  const QVariant escrito = objeto->property(recuerdo.constData());
  if (escrito.isValid() && escrito.toString() == texto) return texto;
  const QString traducido = Traducir(texto, QString(), idioma);
  objeto->setProperty(recuerdo.constData(), traducido);
  return traducido;
}

void traducirPropiedad(QObject* objeto, const QString& propiedad, const QString& idioma) {
  const std::optional<QString> texto = leerTexto(objeto, propiedad);
  if (!texto || texto->isEmpty()) return;
  const QString traducido = traducirUnaVez(objeto, marca(propiedad), *texto, idioma);
  if (traducido != *texto) escribirTexto(objeto, propiedad, traducido);
}

// Column titles of grids and list views: the horizontal header of their model.
void traducirTitulosColumnas(QAbstractItemView& vista) {
  QAbstractItemModel* modelo = vista.model();
  if (!modelo) return;
  for (int columna = 0; columna < modelo->columnCount(); ++columna) {
    const QString texto = modelo->headerData(columna, Qt::Horizontal, Qt::DisplayRole).toString();
    if (texto.isEmpty()) continue;
    const QByteArray recuerdo = marca(QStringLiteral("Columna") + QString::number(columna));
    const QString traducido = traducirUnaVez(&vista, recuerdo, texto, QString());
    if (traducido != texto) modelo->setHeaderData(columna, Qt::Horizontal, traducido, Qt::DisplayRole);
  }
}

QList<QObject*> componentes(QObject* formulario) { return formulario->findChildren<QObject*>(); }

// A report's labels and title are texts of its form, as a component's are.
void traducirInforme(ReportComponent& componente, const QString& propiedad) {
  const auto traducir = [&componente, &propiedad](const QString& nombre, QString& texto) {
    if (!texto.isEmpty()) texto = traducirUnaVez(&componente, marca(propiedad + u'.' + nombre), texto, QString());
  };
  ReportEngine& informe = componente.Report();
  if (propiedad == QLatin1String("ReportTitle")) traducir(QString(), informe.Title);
  if (propiedad != QLatin1String("Caption")) return;
  for (const auto& banda : informe.Bands())
    for (const auto& elemento : banda->Items())
      if (elemento->Kind == ItemKind::Label) traducir(elemento->Name, elemento->Caption);
}

}  // namespace

void TraducirComponente(QObject* formulario, const QString& propiedad) {
  if (!formulario) return;
  for (QObject* componente : componentes(formulario)) {
    traducirPropiedad(componente, propiedad, QString());
    if (auto* informe = qobject_cast<ReportComponent*>(componente)) traducirInforme(*informe, propiedad);
  }
}

void TraducirFormulario(QObject* formulario, const QString& idioma) {
  const QString lengua = idioma.isEmpty() ? IdiomaActual : idioma;
  if (!formulario || lengua.isEmpty()) return;
  if (auto* ventana = qobject_cast<QWidget*>(formulario); ventana && ventana->isWindow()) {
    const QString titulo = ventana->windowTitle();
    if (!titulo.isEmpty()) {
      const QString traducido = traducirUnaVez(ventana, marca(QStringLiteral("Titulo")), titulo, lengua);
      if (traducido != titulo) ventana->setWindowTitle(traducido);
    }
  }
  for (const char* propiedad : {"Caption", "Hint", "ReportTitle"})
    TraducirComponente(formulario, QLatin1String(propiedad));
  for (QObject* componente : componentes(formulario))
    if (qobject_cast<QTableView*>(componente) || qobject_cast<QTreeView*>(componente))
      traducirTitulosColumnas(*static_cast<QAbstractItemView*>(componente));
}
