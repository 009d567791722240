#include "dialogs/MantenimientoRegistros.h"

#include "core/datamodule/ClavesRegistro.h"
#include "core/datamodule/ExistenciaClave.h"
#include "core/datamodule/ServiciosDataSet.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/TablasFormulario.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/Ayuda.h"
#include "platform/Exceptions.h"
#include "platform/controls/DBEdit.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kNoGrabado = QStringLiteral("¡ El registro no ha sido grabado !");
const QString kYaExiste = QStringLiteral("¡ Ya existe el registro !");
const QString kClaveNoModificable = QStringLiteral("¡ No se puede modificar la clave del registro !");

struct BotonPanel {
  const char* nombre;
  const char* texto;
  const char* hint;
};

// The pictures are the system's own; plain signs stand in for them.
const BotonPanel kBotones[] = {
    {"pbPrimero", "|<", "Ir al primer registro"},
    {"pbAnterior", "<", "Ir al registro anterior"},
    {"pbSiguiente", ">", "Ir al registro siguiente"},
    {"pbUltimo", ">|", "Ir al ultimo registro"},
    {"pbEliminar", "-", "Eliminar el registro actual"},
    {"pbAgregar", "+", "Agregar registros"},
    {"pbCancelar", "X", "Cancelar la edicion sin grabar"},
    {"pbConforme", "\u2713", "Aceptar y grabar los datos actuales"},
    {"pbRefrescar", "\u21bb", "Refrescar todas las tablas"},
    {"pbSalir", "Salir", "Salir"},
};

}  // namespace

MantenimientoRegistros::MantenimientoRegistros(Variante variante, QWidget* owner)
    : Form(owner), variante_(variante) {
  auto* tabla = new Table(this);
  tabla->setObjectName(QStringLiteral("Table1"));
  Table1 = tabla;
  DataSource1 = new DataSource(this);
  DataSource1->setObjectName(QStringLiteral("DataSource1"));
  DataSource1->SetDataSet(Table1);

  auto* columna = new QVBoxLayout(this);
  columna->setContentsMargins(0, 0, 0, 0);
  columna->setSpacing(0);
  datos_ = new QWidget(this);
  datos_->setObjectName(QStringLiteral("PanelDatos"));
  columna->addWidget(datos_, 1);
  construirPanel();
  construirMenu();

  DataSource1->OnStateChange = [this](DataSource&) { DataSource1StateChange(); };
  Table1->BeforePost = [this](Dataset& dataset) { Table1BeforePost(dataset); };
}

MantenimientoRegistros::~MantenimientoRegistros() = default;

void MantenimientoRegistros::construirPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("PanelControl"));
  panel->setFocusPolicy(Qt::StrongFocus);
  auto* navegador = new QWidget(panel);
  navegador->setObjectName(QStringLiteral("PanelNavegador"));
  auto* fila = new QHBoxLayout(navegador);
  fila->setContentsMargins(2, 2, 2, 2);
  fila->setSpacing(2);
  for (const BotonPanel& datos : kBotones) {
    auto* boton = new QPushButton(QString::fromUtf8(datos.texto), navegador);
    boton->setObjectName(QString::fromLatin1(datos.nombre));
    boton->setToolTip(QString::fromUtf8(datos.hint));
    boton->setAutoDefault(false);
    fila->addWidget(boton);
  }
  fila->addStretch();
  auto* contenido = new QHBoxLayout(panel);
  contenido->setContentsMargins(0, 0, 0, 0);
  contenido->addWidget(navegador);
  layout()->addWidget(panel);

  const auto alPulsar = [this](const char* nombre, void (MantenimientoRegistros::*orden)()) {
    connect(Boton(nombre), &QPushButton::clicked, this, [this, orden] { (this->*orden)(); });
  };
  alPulsar("pbPrimero", &MantenimientoRegistros::pbPrimeroClick);
  alPulsar("pbAnterior", &MantenimientoRegistros::pbAnteriorClick);
  alPulsar("pbSiguiente", &MantenimientoRegistros::pbSiguienteClick);
  alPulsar("pbUltimo", &MantenimientoRegistros::pbUltimoClick);
  alPulsar("pbEliminar", &MantenimientoRegistros::Eliminar1Click);
  alPulsar("pbAgregar", &MantenimientoRegistros::AgregarClick);
  alPulsar("pbCancelar", &MantenimientoRegistros::pbCancelarClick);
  alPulsar("pbConforme", &MantenimientoRegistros::pbConformeClick);
  alPulsar("pbRefrescar", &MantenimientoRegistros::pbRefrescarClick);
  connect(Boton("pbSalir"), &QPushButton::clicked, this, [this] { close(); });
}

void MantenimientoRegistros::construirMenu() {
  MainMenu1_ = new QMenuBar(this);
  MainMenu1_->setObjectName(QStringLiteral("MainMenu1"));
  layout()->setMenuBar(MainMenu1_);
  QMenu* ficha = MainMenu1_->addMenu(QStringLiteral("&Ficha"));
  ficha->setObjectName(QStringLiteral("Ficha1"));
  ficha->menuAction()->setProperty("GroupIndex", 3);
  const auto item = [this, ficha](const char* nombre, const char* titulo, QKeySequence atajo,
                                  void (MantenimientoRegistros::*orden)()) {
    QAction* accion = ficha->addAction(QString::fromUtf8(titulo));
    accion->setObjectName(QString::fromLatin1(nombre));
    accion->setShortcut(atajo);
    accion->setShortcutContext(Qt::WindowShortcut);
    if (orden) connect(accion, &QAction::triggered, this, [this, orden] { (this->*orden)(); });
    return accion;
  };
  item("IralPaneldeControl1", "&Ir al Panel de Control", Qt::Key_F3, &MantenimientoRegistros::IralPaneldeControl1Click);
  ficha->addSeparator();
  item("Agregar", "&Agregar", Qt::Key_F5, &MantenimientoRegistros::AgregarClick);
  item("Eliminar1", "&Eliminar", {}, &MantenimientoRegistros::Eliminar1Click);
  item("EliminacionMultiple1", "Eliminación &Múltiple...", {}, &MantenimientoRegistros::EliminacionMultiple1Click);
  ficha->addSeparator();
  item("Buscar", "&Buscar Registro...", Qt::Key_F11, &MantenimientoRegistros::Buscar1Click);
  item("FiltrarRegistros1", "&Filtrar Registros...", Qt::Key_F12, &MantenimientoRegistros::FiltrarRegistros1Click);
  item("CopiarRegistrosaOtrasEmpresas1", "Copiar &Registros a Otras Empresas...", {},
       &MantenimientoRegistros::CopiarRegistrosaOtrasEmpresas1Click);
  ficha->addSeparator();
  if (variante_ == Rejilla) {
    QMenu* listar = ficha->addMenu(QStringLiteral("&Listar Ficha Actual"));
    listar->setObjectName(QStringLiteral("ListarFichaActual1"));
    listar->menuAction()->setObjectName(QStringLiteral("ListarFichaActual1"));
    listar->addAction(QStringLiteral("&Formato Original"))->setObjectName(QStringLiteral("FormatoOriginal1"));
    listar->addAction(QStringLiteral("&A Página Completa"))->setObjectName(QStringLiteral("APaginaCompleta1"));
    listar->menuAction()->setEnabled(false);
  }
  item("CancelarEdicion1", "&Cancelar Edición", Qt::Key_Escape, &MantenimientoRegistros::pbCancelarClick);
  item("ListadoProgramable1", "Listado &Programable...", {}, &MantenimientoRegistros::ListadoProgramable1Click);
  ficha->addSeparator();
  // Wired by the form services where the documentation exists.
  item("DocumentacionElectronica1", "&Documentación Electrónica...", {}, nullptr);
  ficha->addSeparator();
  item("Cerrar1", "C&errar", {}, nullptr);
  connect(Accion("Cerrar1"), &QAction::triggered, this, [this] { close(); });
}

void MantenimientoRegistros::Iniciar(const QString& titulo, const QString& nombreCampoClave, QWidget* campoClave) {
  SetCaption(titulo);
  NombreCampoClave = nombreCampoClave;
  CampoClave = campoClave;
  EstadoAnterior = dsInactive;
  if (CampoClave) CampoClave->installEventFilter(this);
  AbrirTablasFormulario(*this);
  // By name: reopening the table makes its fields again.
  connect(DataSource1, &DataSource::DataChange, this, [this](Field* campo) {
    if (campo && campo->FieldName().compare(NombreCampoClave, Qt::CaseInsensitive) == 0) CampoClaveChange();
  });
  ActivarBotones(false);
  ClaveModificada = false;
  Boton("pbSalir")->setFocus();
  iniciado_ = true;
}

void MantenimientoRegistros::AsignarRejilla(DBGrid* rejilla) {
  DBGrid1 = rejilla;
  DBGrid1->SetSource(DataSource1);
  DBGrid1->installEventFilter(this);
  columnaActual_ = DBGrid1->SelectedIndex();
  connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& actual, const QModelIndex&) {
            const int dejada = columnaActual_;
            columnaActual_ = actual.isValid() ? actual.column() : 0;
            if (comprobando_ || !actual.isValid() || actual.column() == dejada) return;
            // A new line made again for its key loses the column moved to.
            if (DBGrid1ColExit(dejada) && DBGrid1->SelectedIndex() != actual.column()) seleccionarColumna(actual.column());
          });
  Table1->BeforeEdit = [this](Dataset&) { Table1BeforeEdit(); };
}

QAction* MantenimientoRegistros::Accion(const char* nombre) const {
  return findChild<QAction*>(QString::fromLatin1(nombre));
}

QPushButton* MantenimientoRegistros::Boton(const char* nombre) const {
  return findChild<QPushButton*>(QString::fromLatin1(nombre));
}

QWidget* MantenimientoRegistros::ControlActivo() const { return focusWidget(); }

bool MantenimientoRegistros::Editando() const {
  const DataSetState estado = Table1->State();
  return estado == dsEdit || estado == dsInsert || estado == dsSetKey;
}

bool MantenimientoRegistros::NuevoRegistroIntacto() const {
  // The new record may wait in any of the form's tables; every other one browses.
  bool nuevo = false;
  for (const Table* tabla : findChildren<Table*>()) {
    const DataSetState estado = tabla->State();
    if (estado == dsEdit || estado == dsSetKey || (estado == dsInsert && tabla->Modified())) return false;
    nuevo = nuevo || estado == dsInsert;
  }
  if (!nuevo) return false;
  // A text typed and not yet stored in its field is a change too.
  if (const auto* control = dynamic_cast<const DataAwareControl*>(focusWidget()); control && control->Modified())
    return false;
  for (const DBGrid* rejilla : findChildren<DBGrid*>())
    if (rejilla->EditorModified()) return false;
  return true;
}

void MantenimientoRegistros::ActivarBotones(bool editando) {
  for (const char* nombre : {"pbRefrescar", "pbEliminar", "pbAgregar"}) Boton(nombre)->setEnabled(!editando);
  for (const char* nombre : {"Eliminar1", "Agregar", "EliminacionMultiple1", "Buscar", "FiltrarRegistros1",
                             "CopiarRegistrosaOtrasEmpresas1", "Cerrar1"})
    Accion(nombre)->setEnabled(!editando);
  for (const char* nombre : {"pbConforme", "pbCancelar"}) Boton(nombre)->setEnabled(editando);
  Accion("CancelarEdicion1")->setEnabled(editando);
}

void MantenimientoRegistros::DataSource1StateChange() {
  const DataSetState estado = Table1->State();
  if (estado == dsEdit || estado == dsInsert) {
    ActivarBotones(true);
    if (estado == dsInsert && DBGrid1) {
      seleccionarColumna(0);
      DBGrid1->setFocus();
    }
  } else if (estado != dsSetKey) {
    ActivarBotones(false);
  }
  // A saved key is not retyped on the card.
  if (auto* clave = qobject_cast<DBEdit*>(CampoClave)) {
    const bool insertando = estado == dsInsert;
    clave->SetReadOnly(!insertando);
    QPalette colores = clave->palette();
    colores.setColor(QPalette::Base, insertando ? palette().color(QPalette::Base) : palette().color(QPalette::Button));
    clave->setPalette(colores);
  }
}

void MantenimientoRegistros::CampoClaveChange() { ClaveModificada = Table1->State() == dsEdit; }

// ---- navigation and commands

void MantenimientoRegistros::pbPrimeroClick() { Table1->First(); }

void MantenimientoRegistros::pbUltimoClick() { Table1->Last(); }

void MantenimientoRegistros::pbAnteriorClick() {
  Table1->Prior();
  if (Table1->Bof()) MensajeInformacion(QStringLiteral("Está Vd. en el primer registro"));
}

void MantenimientoRegistros::pbSiguienteClick() {
  Table1->Next();
  if (Table1->Eof()) MensajeInformacion(QStringLiteral("Está Vd. en el último registro"));
}

void MantenimientoRegistros::Eliminar1Click() {
  if (Editando() || !Table1->Active() || TablaVacia(*Table1)) return;
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("¿ Está seguro de querer eliminar el registro ?"), respuesta);
  if (respuesta != QLatin1String("SI")) return;
  try {
    Table1->Delete();
  } catch (const std::exception&) {
    MensajeAviso(QStringLiteral("¡ Este registro no puede eliminarse !"));
  }
}

void MantenimientoRegistros::AgregarClick() { SiguienteNuevoRegistro(); }

void MantenimientoRegistros::SiguienteNuevoRegistro() {
  if (Table1->State() == dsInsert) return;  // already started after the post
  if (variante_ == Rejilla) {
    DBGrid1->setFocus();
    seleccionarColumna(0);
    // The grid moving onto the new line leaves no column of it: a column it
    // kept from a cancelled line would run its check and cancel this one.
    const QScopedValueRollback guarda(comprobando_, true);
    AnadirLinea();
  } else {
    Table1->Insert();
    mostrarPrimeraPagina();
    enfocarClave();
  }
}

void MantenimientoRegistros::AnadirLinea() {
  // The grid reads the lines it shows while it still can: a table being
  // inserted into is not moved to read them.
  DBGrid1->ReadShownRows();
  Table1->Append();
}

void MantenimientoRegistros::GrabarDatos() {
  const DataSetState estado = Table1->State();
  if (estado != dsEdit && estado != dsInsert) return;
  try {
    Table1->Post();
  } catch (const std::exception&) {
    Table1->Cancel();
    MensajeAviso(variante_ == Rejilla
                     ? QStringLiteral("¡ No se puede grabar el registro porque está bloqueado por otro usuario o porque el "
                                      "dato introducido no es válido !")
                     : QStringLiteral("¡Imposible modificar el registro!. Es posible que esté siendo modificado por otro "
                                      "usuario."));
    return;
  }
  if (estado == dsInsert) SiguienteNuevoRegistro();
}

void MantenimientoRegistros::pbConformeClick() {
  const DataSetState estado = Table1->State();
  if (estado == dsEdit) {
    GrabarDatos();
    return;
  }
  if (estado != dsInsert) return;
  try {
    Table1->Post();
  } catch (const std::exception&) {
    MensajeAviso(kNoGrabado);
    return;
  }
  SiguienteNuevoRegistro();
}

void MantenimientoRegistros::pbCancelarClick() {
  if (Table1->Active()) Table1->Cancel();
}

void MantenimientoRegistros::pbRefrescarClick() { RefrescarTablasFormulario(*this, QStringLiteral("Apertura/Cierre")); }

void MantenimientoRegistros::IralPaneldeControl1Click() { findChild<QWidget*>(QStringLiteral("PanelControl"))->setFocus(); }

void MantenimientoRegistros::Buscar1Click() {
  if (Ganchos().BuscarRegistro) Ganchos().BuscarRegistro(*Table1);
}

void MantenimientoRegistros::FiltrarRegistros1Click() {
  if (Ganchos().FiltrarTabla) Ganchos().FiltrarTabla(*Table1);
}

void MantenimientoRegistros::EliminacionMultiple1Click() { EliminarTodosRegistros(*Table1); }

void MantenimientoRegistros::ListadoProgramable1Click() { ListarDataSet(*Table1); }

void MantenimientoRegistros::CopiarRegistrosaOtrasEmpresas1Click() {
  if (Ganchos().CopiarRegistrosAOtrasEmpresas) Ganchos().CopiarRegistrosAOtrasEmpresas(*Table1);
}

void MantenimientoRegistros::Ayuda1Click() { MostrarAyuda(ContextoAyuda(Caption())); }

// ---- the key check

bool MantenimientoRegistros::ComprobarDatos(QWidget*) { return true; }

void MantenimientoRegistros::Table1BeforePost(Dataset&) {
  if (!Iniciado()) return;
  EstadoAnterior = Table1->State();
  if (!ComprobarDatos(ControlActivo())) throw Abort();
}

bool MantenimientoRegistros::ValidacionWinControl(QWidget* control) {
  if (ComprobarDatos(control)) return true;
  if (control) control->setFocus();
  return false;
}

void MantenimientoRegistros::mostrarPrimeraPagina() {
  if (paginas_) paginas_->setCurrentIndex(0);
}

void MantenimientoRegistros::enfocarClave() {
  if (CampoClave) CampoClave->setFocus();
}

bool MantenimientoRegistros::comprobarClaveNumerica() {
  const Field& clave = Table1->FieldByName(NombreCampoClave);
  const qint64 valor = clave.AsString().toLongLong();
  QString aviso;
  if (clave.DataType() == ftSmallint && (valor < 1 || valor > 9999))
    aviso = QStringLiteral("¡ El valor debe estar entre 1 y 9999 !");
  else if (clave.DataType() == ftInteger && (valor < 1 || valor > 99999999))
    aviso = QStringLiteral("¡ El valor debe estar entre 1 y 99999999 !");
  if (aviso.isEmpty()) return true;
  MensajeAviso(aviso);
  if (variante_ == Ficha) {
    mostrarPrimeraPagina();
    enfocarClave();
  }
  return false;
}

bool MantenimientoRegistros::comprobarUnicidadFicha() {
  const DataSetState estado = Table1->State();
  if (estado != dsInsert && !(estado == dsEdit && ClaveModificada)) return true;
  if (!ExisteClave(*Table1, Table1->FieldByName(NombreCampoClave).AsString() + u';')) return true;
  MensajeAviso(kYaExiste);
  if (estado == dsInsert) {
    mostrarPrimeraPagina();
    enfocarClave();
  }
  return false;
}

bool MantenimientoRegistros::comprobarUnicidadRejilla() {
  if (ColumnasClave > 1) {
    QString clave;
    for (int n = 0; n < ColumnasClave; ++n) clave += DBGrid1->ColumnField(n)->AsString() + u';';
    if (!ExisteClave(*Table1, clave)) return true;
    MensajeAviso(kYaExiste);
    return false;
  }
  const Variant tecleada = Table1->FieldByName(NombreCampoClave).AsVariant();
  const QScopedValueRollback guarda(comprobando_, true);
  Table1->Cancel();
  // The primary index answers, never a walk over the records.
  if (Table1->Locate(NombreCampoClave, tecleada)) {
    MensajeAviso(kYaExiste);
    return false;
  }
  AnadirLinea();
  Table1->FieldByName(NombreCampoClave).SetAsVariant(tecleada);
  return true;
}

bool MantenimientoRegistros::CampoClaveExit() {
  const DataSetState estado = Table1->State();
  if (estado != dsEdit && estado != dsInsert) return true;
  // The edit stores its text only after this check, as the key is left.
  if (auto* edit = qobject_cast<DBEdit*>(CampoClave)) edit->UpdateRecord();
  if (ControlActivo() == Boton("pbCancelar") || Table1->FieldByName(NombreCampoClave).AsString().isEmpty()) {
    Table1->Cancel();
    return true;
  }
  if (!comprobarClaveNumerica()) return false;
  if (!ComprobarDatos(CampoClave)) return false;
  return comprobarUnicidadFicha();
}

void MantenimientoRegistros::seleccionarColumna(int columna) {
  const QScopedValueRollback guarda(comprobando_, true);
  DBGrid1->SetSelectedIndex(columna);
  columnaActual_ = DBGrid1->SelectedIndex();
}

bool MantenimientoRegistros::DBGrid1ColExit(int columna) {
  const DataSetState estado = Table1->State();
  if (estado != dsEdit && estado != dsInsert) return true;
  if (ControlActivo() == Boton("pbCancelar") || Table1->FieldByName(NombreCampoClave).AsString().isEmpty()) {
    Table1->Cancel();
    return true;
  }
  const QScopedValueRollback dejada(columnaDejada_, columna);
  const auto volver = [this, columna] {
    seleccionarColumna(columna);
    return false;
  };
  if (!comprobarClaveNumerica()) return volver();
  if (columna != ColumnasClave - 1) return ComprobarDatos(DBGrid1) || volver();
  if (!ComprobarDatos(DBGrid1)) return volver();
  if (estado == dsInsert && !comprobarUnicidadRejilla()) return ColumnasClave > 1 ? volver() : false;
  return true;
}

// ---- grid extras and keys

void MantenimientoRegistros::EliminarLinea(Table& tabla) {
  const DataSetState estado = tabla.State();
  if (estado == dsEdit || estado == dsInsert || estado == dsSetKey || TablaVacia(tabla)) return;
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("¿ Está seguro de querer eliminar la linea ?"), respuesta);
  if (respuesta != QLatin1String("SI")) return;
  try {
    tabla.Delete();
  } catch (const std::exception&) {
    MensajeAviso(QStringLiteral("¡No ha sido posible eliminar la línea!"));
  }
}

void MantenimientoRegistros::Table1BeforeEdit() {
  if (DBGrid1 && DBGrid1->SelectedIndex() < ColumnasClave) {
    MensajeAviso(kClaveNoModificable);
    throw Abort();
  }
}

void MantenimientoRegistros::DBGrid1KeyDown(QKeyEvent* tecla, bool& tratada) {
  if (tecla->key() == Qt::Key_Delete && (tecla->modifiers() & Qt::ControlModifier)) {
    tratada = true;
    EliminarLinea(*Table1);
    return;
  }
  if (tecla->key() == Qt::Key_F2 && !(tecla->modifiers() & Qt::ShiftModifier)) {
    // The double-click of the grid: nothing in these masters.
    tratada = true;
    return;
  }
  if (DBGrid1->SelectedIndex() < ColumnasClave && Table1->State() == dsEdit && !tecla->text().isEmpty() &&
      tecla->text().at(0).isPrint()) {
    MensajeAviso(kClaveNoModificable);
    tratada = true;
  }
}

bool MantenimientoRegistros::eventFilter(QObject* watched, QEvent* event) {
  if (watched == CampoClave && event->type() == QEvent::FocusOut &&
      static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
    // A list key's own drop-down list does not leave the key.
    CampoClaveExit();
  } else if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
    auto* tecla = static_cast<QKeyEvent*>(event);
    if (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) {
      // Enter in the grid moves to the next column, as Tab does.
      QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
      QApplication::sendEvent(DBGrid1, &tab);
      return true;
    }
    bool tratada = false;
    DBGrid1KeyDown(tecla, tratada);
    if (tratada) return true;
  }
  return Form::eventFilter(watched, event);
}

void MantenimientoRegistros::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      focusNextChild();
      return;
    case Qt::Key_Escape:
      // Esc is "&Cancelar Edición": it has cancelled an edit through the
      // cancel button, and while browsing it does nothing.
      return;
    case Qt::Key_F1:
      if (variante_ == Ficha) Ayuda1Click();
      return;
    case Qt::Key_F11:
    case Qt::Key_F12:
      // Reached here only while the command is disabled: a new record the
      // user has not touched yet gives way to the search.
      if (event->modifiers() == Qt::NoModifier && NuevoRegistroIntacto()) {
        pbCancelarClick();
        if (QAction* orden = Accion(event->key() == Qt::Key_F11 ? "Buscar" : "FiltrarRegistros1"); orden->isEnabled())
          orden->trigger();
      }
      return;
    default:
      Form::keyPressEvent(event);
  }
}
