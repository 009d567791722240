#include "shell/Geneuser.h"

#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/forms/GanchosFormulario.h"
#include "core/messages/MensajeSistema.h"
#include "core/progress/Geneprog.h"
#include "core/startup/Configuracion.h"
#include "platform/StringList.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "ui_GENEUSER.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

const QString kNoAccesibles = QStringLiteral("ProgramasNoAccesibles");
const QString kSoloLectura = QStringLiteral("ProgramasSoloLectura");
const QString kActivos = QStringLiteral("ProgramasActivos");
const QString kControlesNoVisibles = QStringLiteral("ControlesNoVisibles");

class DibujoProgramas : public QStyledItemDelegate {
 public:
  explicit DibujoProgramas(const TfGENEUSER& formulario) : QStyledItemDelegate(nullptr), formulario_(formulario) {}
  void paint(QPainter* lienzo, const QStyleOptionViewItem& opcion, const QModelIndex& fila) const override {
    formulario_.LBProgramasDrawItem(*lienzo, opcion, fila);
  }

 private:
  const TfGENEUSER& formulario_;
};

QStringList lineas(const QString& texto) {
  StringList lista;
  lista.SetText(texto);
  QStringList resultado;
  for (int i = 0; i < lista.Count(); ++i)
    if (!lista[i].isEmpty()) resultado << lista[i];
  return resultado;
}

void anadirSiFalta(QStringList& lista, const QString& programa) {
  if (!lista.contains(programa)) lista << programa;
}

// The configuration text without the item given in its ControlesNoVisibles
// line: only that whole item goes; every other byte of the text stays.
QString sinControl(const QString& configuracion, const QString& ruta) {
  const QString nombre = kControlesNoVisibles + u'=';
  for (qsizetype inicio = 0; inicio < configuracion.size();) {
    qsizetype fin = inicio;
    while (fin < configuracion.size() && configuracion[fin] != u'\r' && configuracion[fin] != u'\n') ++fin;
    if (QStringView(configuracion).mid(inicio, fin - inicio).startsWith(nombre, Qt::CaseInsensitive)) {
      const qsizetype valor = inicio + nombre.size();
      QStringList elementos = configuracion.mid(valor, fin - valor).split(u',');
      elementos.removeIf([&ruta](const QString& elemento) { return elemento.trimmed() == ruta; });
      return configuracion.left(valor) + elementos.join(u',') + configuracion.mid(fin);
    }
    inicio = fin + (configuracion.mid(fin, 2) == QLatin1String("\r\n") ? 2 : 1);
  }
  return configuracion;
}

}  // namespace

void TfGENEUSER::prepararPaginasDerechos() {
  ui_->LBProgramas->setItemDelegate(new DibujoProgramas(*this));
  ui_->LBProgramas->itemDelegate()->setParent(ui_->LBProgramas);
  const std::pair<QToolButton*, void (TfGENEUSER::*)()> botones[] = {
      {ui_->pbSelected, &TfGENEUSER::pbSelectedClick},
      {ui_->pbReadOnly, &TfGENEUSER::pbReadOnlyClick},
      {ui_->pbDeseleccionar, &TfGENEUSER::pbDeseleccionarClick},
      {ui_->pbOpenActive, &TfGENEUSER::pbOpenActiveClick},
      {ui_->pbDesmarcar, &TfGENEUSER::pbDesmarcarClick}};
  const QStyle::StandardPixmap dibujos[] = {QStyle::SP_DialogApplyButton, QStyle::SP_FileDialogInfoView,
                                            QStyle::SP_DialogCancelButton, QStyle::SP_MediaPlay,
                                            QStyle::SP_DialogResetButton};
  for (std::size_t i = 0; i < std::size(botones); ++i) {
    botones[i].first->setIcon(style()->standardIcon(dibujos[i]));
    connect(botones[i].first, &QToolButton::clicked, this, [this, orden = botones[i].second] { (this->*orden)(); });
  }

  auto* menu = new QMenu(ui_->TreeView1);
  menu->setObjectName(QStringLiteral("PopupMenu1"));
  const auto item = [this, menu](const char* nombre, const char* titulo, void (TfGENEUSER::*orden)()) {
    QAction* accion = menu->addAction(QString::fromUtf8(titulo));
    accion->setObjectName(QString::fromLatin1(nombre));
    connect(accion, &QAction::triggered, this, [this, orden] { (this->*orden)(); });
  };
  item("Expandirlalista1", "&Expandir todo el árbol de la lista", &TfGENEUSER::Expandirlalista1Click);
  item("Colapsarlalista1", "&Colapsar todo el árbol de la lista", &TfGENEUSER::Colapsarlalista1Click);
  menu->addSeparator();
  item("BuscarunControl1", "&Buscar un Control en la lista", &TfGENEUSER::BuscarunControl1Click);
  menu->addSeparator();
  item("Eliminardelalista1", "E&liminar el Control de la lista", &TfGENEUSER::Eliminardelalista1Click);
  connect(ui_->TreeView1, &QWidget::customContextMenuRequested, menu,
          [this, menu](QPoint punto) { menu->popup(ui_->TreeView1->viewport()->mapToGlobal(punto)); });
  CargarListaProgramas();
}

// ---- programs

void TfGENEUSER::CargarListaProgramas() {
  ui_->LBProgramas->clear();
  for (int i = 0; i < MapaAyuda.Count(); ++i) {
    const QString nombre = MapaAyuda.Names(i);
    bool numero = false;
    int contexto = MapaAyuda.ValueFromIndex(i).trimmed().toInt(&numero);
    if (!numero) contexto = -1;
    if (!nombre.isEmpty() && contexto >= 1 && contexto < 11000) ui_->LBProgramas->addItem(nombre);
  }
}

void TfGENEUSER::CargarListasProgramas() {
  const QString usuario = Table1->Active() && !Table1->IsEmpty() ? usuarioActual() : QString();
  ProgramasNoAccesibles_ = usuario.isEmpty() ? QStringList() : lineas(LeerConfigUsuario(usuario, kNoAccesibles));
  ProgramasSoloLectura_ = usuario.isEmpty() ? QStringList() : lineas(LeerConfigUsuario(usuario, kSoloLectura));
  ProgramasActivos_ = usuario.isEmpty() ? QStringList() : lineas(LeerConfigUsuario(usuario, kActivos));
  ui_->LBProgramas->viewport()->update();
}

bool TfGENEUSER::esCabecera(const QString& programa) const {
  if (programa == QLatin1String("Generales")) return true;
  QWidget* principal = Ganchos().VentanaPrincipal ? Ganchos().VentanaPrincipal() : nullptr;
  if (!principal) return false;
  if (programa == principal->windowTitle()) return true;
  for (const QAction* accion : principal->findChildren<QAction*>()) {
    const int tag = accion->property("Tag").toInt();
    if (tag >= 1 && tag <= 49 && QString(accion->text()).remove(u'&') == programa) return true;
  }
  return false;
}

void TfGENEUSER::LBProgramasDrawItem(QPainter& lienzo, const QStyleOptionViewItem& opcion,
                                     const QModelIndex& fila) const {
  const QString programa = fila.data().toString();
  const bool cabecera = esCabecera(programa);
  const bool elegida = opcion.state & QStyle::State_Selected;
  lienzo.save();
  lienzo.fillRect(opcion.rect, elegida    ? opcion.palette.highlight()
                               : cabecera ? QBrush(QColor(166, 202, 240))
                                          : opcion.palette.base());
  const QStyle::StandardPixmap estado = ProgramasSoloLectura_.contains(programa)    ? QStyle::SP_FileDialogInfoView
                                        : ProgramasNoAccesibles_.contains(programa) ? QStyle::SP_DialogCancelButton
                                                                                    : QStyle::SP_DialogApplyButton;
  const int alto = std::min(16, opcion.rect.height());
  const int y = opcion.rect.y() + (opcion.rect.height() - alto) / 2;
  lienzo.drawPixmap(opcion.rect.x() + 1, y, style()->standardIcon(estado).pixmap(alto, alto));
  if (ProgramasActivos_.contains(programa))
    lienzo.drawPixmap(opcion.rect.x() + 21, y, style()->standardIcon(QStyle::SP_MediaPlay).pixmap(alto, alto));
  QFont letra = opcion.font;
  letra.setBold(cabecera);
  lienzo.setFont(letra);
  lienzo.setPen(elegida ? opcion.palette.highlightedText().color() : opcion.palette.text().color());
  lienzo.drawText(opcion.rect.adjusted(42, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, programa);
  lienzo.restore();
}

void TfGENEUSER::marcarProgramas(const std::function<void(const QString& programa)>& cambio) {
  if (Table1->IsEmpty()) return;
  for (const QListWidgetItem* elegido : ui_->LBProgramas->selectedItems()) cambio(elegido->text());
  GrabarListasProgramas();
}

void TfGENEUSER::pbSelectedClick() {
  marcarProgramas([this](const QString& p) {
    ProgramasSoloLectura_.removeAll(p);
    ProgramasNoAccesibles_.removeAll(p);
  });
}

void TfGENEUSER::pbReadOnlyClick() {
  marcarProgramas([this](const QString& p) { anadirSiFalta(ProgramasSoloLectura_, p); });
}

void TfGENEUSER::pbDeseleccionarClick() {
  marcarProgramas([this](const QString& p) {
    anadirSiFalta(ProgramasNoAccesibles_, p);
    ProgramasSoloLectura_.removeAll(p);
  });
}

void TfGENEUSER::pbOpenActiveClick() {
  marcarProgramas([this](const QString& p) { anadirSiFalta(ProgramasActivos_, p); });
}

void TfGENEUSER::pbDesmarcarClick() {
  marcarProgramas([this](const QString& p) {
    ProgramasActivos_.removeAll(p);
    ProgramasSoloLectura_.removeAll(p);
    ProgramasNoAccesibles_.removeAll(p);
  });
}

void TfGENEUSER::GrabarListasProgramas() {
  for (const QString& programa : ProgramasSoloLectura_) ProgramasNoAccesibles_.removeAll(programa);
  // Saving the pending edit reloads the lists from storage: the marks are taken first.
  const QString fin = QStringLiteral("\r\n");
  const QString noAccesibles = ProgramasNoAccesibles_.join(fin);
  const QString soloLectura = ProgramasSoloLectura_.join(fin);
  const QString activos = ProgramasActivos_.join(fin);
  if (grabarEdicionPendiente()) {
    GrabarConfigUsuario(usuarioActual(),
                        {{kNoAccesibles, noAccesibles}, {kSoloLectura, soloLectura}, {kActivos, activos}});
  }
  // What is stored, whether or not the writes went through.
  CargarListasProgramas();
}

// ---- hidden controls

QString TfGENEUSER::RutaNodo(const QTreeWidgetItem* nodo) {
  QStringList partes;
  for (; nodo; nodo = nodo->parent()) partes.prepend(nodo->text(0));
  return partes.join(u'.');
}

void TfGENEUSER::CargarControlesNoVisibles() {
  MostrarProgreso(QStringLiteral("ON"), QStringLiteral("Carga de la Lista de Controles"), QStringLiteral("Procesando..."));
  ui_->TreeView1->clear();
  const QString usuario = Table1->Active() && !Table1->IsEmpty() ? usuarioActual() : QString();
  QStringList rutas;
  if (!usuario.isEmpty())
    for (const QString& nombre : LeerConfigUsuario(usuario, kControlesNoVisibles).split(u',', Qt::SkipEmptyParts)) {
      const QStringList partes = nombre.trimmed().split(u'.');
      for (int n = 1; n <= partes.size(); ++n) rutas << partes.mid(0, n).join(u'.');
    }
  rutas.sort();
  rutas.removeDuplicates();
  QHash<QString, QTreeWidgetItem*> nodos;
  for (const QString& ruta : rutas) {
    const int punto = ruta.lastIndexOf(u'.');
    QTreeWidgetItem* padre = punto < 0 ? nullptr : nodos.value(ruta.left(punto));
    auto* nodo = padre ? new QTreeWidgetItem(padre) : new QTreeWidgetItem(ui_->TreeView1);
    nodo->setText(0, ruta.mid(punto + 1));
    nodos.insert(ruta, nodo);
  }
  // The hidden controls themselves are the leaves, drawn in red.
  for (QTreeWidgetItem* nodo : nodos)
    if (nodo->childCount() == 0) nodo->setForeground(0, QColor(Qt::red));
  MostrarProgreso(QStringLiteral("OFF"), QString(), QString());
}

void TfGENEUSER::Expandirlalista1Click() {
  if (ui_->TreeView1->topLevelItemCount() > 0) ui_->TreeView1->expandAll();
}

void TfGENEUSER::Colapsarlalista1Click() {
  if (ui_->TreeView1->topLevelItemCount() > 0) ui_->TreeView1->collapseAll();
}

void TfGENEUSER::BuscarunControl1Click() {
  QString buscado;
  MensajePregunta(QStringLiteral("Introduzca el nombre del Control a buscar: "), buscado);
  if (buscado.isEmpty()) return;
  for (QTreeWidgetItemIterator nodo(ui_->TreeView1); *nodo; ++nodo)
    if ((*nodo)->text(0).toUpper().contains(buscado.toUpper())) {
      ui_->TreeView1->setCurrentItem(*nodo);
      return;
    }
}

void TfGENEUSER::Eliminardelalista1Click() {
  QTreeWidgetItem* nodo = ui_->TreeView1->currentItem();
  if (ui_->TreeView1->topLevelItemCount() == 0 || !nodo) return;
  if (nodo->childCount() > 0) {
    MensajeInformacion(QStringLiteral("No es posible eliminar un nodo cualificado"));
    return;
  }
  try {
    if (Table1->State() != dsEdit && Table1->State() != dsInsert) Table1->Edit();
    Field& configuracion = Table1->FieldByName(QStringLiteral("Configuracion"));
    configuracion.SetAsString(sinControl(configuracion.AsString(), RutaNodo(nodo)));
  } catch (const std::exception&) {
    MensajeAviso(QStringLiteral("¡No se puede editar el registro!"));
    return;
  }
  delete nodo;
}
