#include "shell/Geneidma.h"

#include "platform/VirtualKeys.h"
#include "core/forms/TeclasFormulario.h"
#include "core/datamodule/ClavesRegistro.h"
#include "core/datamodule/CopiaPorClave.h"
#include "core/datamodule/PermisoTabla.h"
#include "core/datamodule/SiguienteCodigo.h"
#include "core/datamodule/TransaccionBasesDatos.h"
#include "core/forms/GanchosFormulario.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/RutinasBusqueda.h"
#include "core/services/SeleccionLista.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "platform/Exceptions.h"
#include "platform/controls/DBEdit.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "ui_GENEIDMA.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace {

const QString kIdioma = QStringLiteral("Idioma");
const QString kClaveTexto = QStringLiteral("ClaveTexto");
const QString kDuplicacion = QStringLiteral("&Agregar con Duplicación");

bool editando(const Table& tabla) {
  const DataSetState estado = tabla.State();
  return estado == dsEdit || estado == dsInsert || estado == dsSetKey;
}

}  // namespace

TfGENEIDMA::TfGENEIDMA(QWidget* owner) : MantenimientoRegistros(Ficha, owner), ui_(std::make_unique<Ui::TfGENEIDMA>()) {
  setObjectName(QStringLiteral("fGENEIDMA"));
  ui_->setupUi(Datos());
  resize(760, 480);
  Table1->SetTableName(QStringLiteral("IDIOMA"));
  Table2 = new Table(this);
  Table2->setObjectName(QStringLiteral("Table2"));
  Table2->SetTableName(QStringLiteral("TXIDIOMA"));
  DataSource2 = new DataSource(this);
  DataSource2->setObjectName(QStringLiteral("DataSource2"));
  DataSource2->SetDataSet(Table2);
  Table2->SetMasterSource(DataSource1);
  Table2->SetMasterFields(kIdioma);
  ui_->EditIdioma->SetSource(DataSource1);
  ui_->EditIdioma->SetDataField(kIdioma);
  ui_->DBGrid1->SetSource(DataSource2);
  ui_->DBGrid1->SetColumns({kClaveTexto, QStringLiteral("Texto")});
  ui_->DBGrid1->installEventFilter(this);
  ui_->DBGrid1->viewport()->installEventFilter(this);
  // The suite-wide keys; Enter stays the pattern's.
  OnKeyDown = [](Form& formulario, quint16& tecla, Qt::KeyboardModifiers estado) {
    if (tecla != VK::Return) TeclasFormulario(formulario, tecla, estado);
  };

  Table1->BeforeInsert = [this](Dataset&) {
    ClaveAnterior1 = TablaVacia(*Table1) ? QString() : ClaveRegistro(*Table1);
    ui_->EditIdioma->setFocus();
  };
  Table1->OnNewRecord = [this](Dataset&) { ponerDuplicado(*Table1, ClaveAnterior1); };
  Table1->BeforeDelete = [this](Dataset&) { Table1BeforeDelete(Table1); };
  Table2->BeforeInsert = [this](Dataset&) {
    ClaveAnterior2 = TablaVacia(*Table2) ? QString() : ClaveRegistro(*Table2);
    ui_->DBGrid1->SetSelectedIndex(0);
  };
  Table2->OnNewRecord = [this](Dataset&) {
    ponerDuplicado(*Table2, ClaveAnterior2);
    Table2->FieldByName(kClaveTexto).SetAsString(QString::number(SiguienteCodigo(*Table2)));
  };
  Table2->BeforePost = [this](Dataset&) { EstadoAnterior2 = Table2->State(); };
  Table2->AfterPost = [this](Dataset&) { Table2AfterPost(); };
  Table1->AfterPost = [](Dataset& tabla) {
    if (Ganchos().ComprobarResponsabilidadDocumental) Ganchos().ComprobarResponsabilidadDocumental(tabla);
  };
  const auto estado = DataSource1->OnStateChange;
  DataSource1->OnStateChange = [this, estado](DataSource& fuente) {
    estado(fuente);
    ActivarBotones(Editando());
  };
  DataSource2->OnStateChange = [this](DataSource&) { ActivarBotones(Editando()); };

  Iniciar(QStringLiteral("Configuración de Internacionalización"), kIdioma, ui_->EditIdioma);
  ui_->DBGrid1->SetColumnTitle(0, QStringLiteral("Texto Original"));
  ui_->DBGrid1->SetColumnWidth(0, 362);
  ui_->DBGrid1->SetColumnTitle(1, QStringLiteral("Texto Traducido"));
  ui_->DBGrid1->SetColumnWidth(1, 345);
  for (const char* nombre : {"ListadoProgramable1", "DocumentacionElectronica1"}) {
    QAction* accion = Accion(nombre);
    accion->setEnabled(false);
    disconnect(accion, &QAction::triggered, this, nullptr);
  }
  // A language goes with its texts.
  QAction* copia = Accion("CopiarRegistrosaOtrasEmpresas1");
  disconnect(copia, &QAction::triggered, this, nullptr);
  connect(copia, &QAction::triggered, this, [this] {
    if (Ganchos().CopiarRegistrosAOtrasEmpresasConDetalle) Ganchos().CopiarRegistrosAOtrasEmpresasConDetalle(*Table1, *Table2);
  });
  Table1->Refresh();
  Table2->Refresh();
}

TfGENEIDMA::~TfGENEIDMA() = default;

DBGrid* TfGENEIDMA::Rejilla() const { return ui_->DBGrid1; }

bool TfGENEIDMA::Editando() const { return editando(*Table1) || editando(*Table2); }

void TfGENEIDMA::ponerDuplicado(Table& tabla, const QString& clave) {
  if (Accion("Agregar")->text() == kDuplicacion && !clave.isEmpty()) CopiarRegistroClave(tabla, clave);
}

void TfGENEIDMA::Table1BeforeDelete(QObject*) {
  // Inside the deletion's transaction: the lines come back if the language stays.
  Query lineas;
  lineas.SetDatabaseName(Table2->DatabaseName());
  lineas.SQL().SetText(QStringLiteral("DELETE FROM TXIDIOMA WHERE Idioma = ") +
                       LiteralSQL(Table1->FieldByName(kIdioma).AsString()));
  lineas.ExecSQL();
  ComprobarPermisoTabla(*Table1);
}

void TfGENEIDMA::Eliminar1Click() {
  if (Editando() || !Table1->Active() || TablaVacia(*Table1)) return;
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("¿Está seguro de querer eliminar el registro y todas sus líneas?"), respuesta);
  if (respuesta != QLatin1String("SI")) return;
  Table2->DisableControls();
  try {
    TransaccionBasesDatos transaccion({Table1->DatabaseName(), Table2->DatabaseName()});
    Table1->Delete();
    transaccion.Confirmar();
  } catch (const Abort&) {
  } catch (const std::exception&) {
    MensajeAviso(QStringLiteral("¡ Se ha producido un error eliminando el registro !"));
  }
  Table2->EnableControls();
  Table2->Refresh();
}

bool TfGENEIDMA::GrabarDatos(Table& tabla) {
  const DataSetState estado = tabla.State();
  if (estado != dsEdit && estado != dsInsert) return true;
  try {
    tabla.Post();
  } catch (const Abort&) {
    return false;
  } catch (const std::exception&) {
    MensajeAviso(estado == dsEdit ? QStringLiteral("¡Imposible modificar el registro!. Es posible que esté siendo "
                                                   "modificado por otro usuario.")
                                  : QStringLiteral("¡ El registro no ha sido grabado !"));
    return false;
  }
  return true;
}

void TfGENEIDMA::pbConformeClick() {
  if (editando(*Table1) && !GrabarDatos(*Table1)) return;
  if (editando(*Table2)) GrabarDatos(*Table2);
}

void TfGENEIDMA::pbCancelarClick() {
  if (Table2->Active()) Table2->Cancel();
  if (Table1->Active()) Table1->Cancel();
}

void TfGENEIDMA::Table2AfterPost() {
  if (Ganchos().ComprobarResponsabilidadDocumental) Ganchos().ComprobarResponsabilidadDocumental(*Table2);
  if (EstadoAnterior2 != dsInsert) return;
  ui_->DBGrid1->setFocus();
  ui_->DBGrid1->ReadShownRows();
  Table2->Append();
}

void TfGENEIDMA::DBGrid1Enter() {
  const DataSetState estado = Table1->State();
  if (estado != dsEdit && estado != dsInsert) return;
  if (!GrabarDatos(*Table1)) return;
  ui_->DBGrid1->setFocus();
  ui_->DBGrid1->SetSelectedIndex(0);
}

bool TfGENEIDMA::nuevaLinea() {
  if (editando(*Table2) || !Table1->Active() || TablaVacia(*Table1) || !Table2->Active()) return false;
  if (editando(*Table1) && !GrabarDatos(*Table1)) return false;
  ui_->DBGrid1->ReadShownRows();
  Table2->Append();
  return true;
}

bool TfGENEIDMA::teclaRejilla(const QKeyEvent& tecla) {
  if (editando(*Table2)) return false;
  const bool sinModificador = (tecla.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (tecla.key() == Qt::Key_Insert && sinModificador) {
    nuevaLinea();
    return true;
  }
  if (tecla.key() == Qt::Key_Down && sinModificador) {
    if (!TablaVacia(*Table2)) Table2->Next();
    if (TablaVacia(*Table2) || Table2->Eof()) nuevaLinea();
    return true;
  }
  // The key itself then goes on to the new line's cell.
  const bool escrita = !tecla.text().isEmpty() && tecla.text().at(0).isPrint() &&
                       !(tecla.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (escrita && TablaVacia(*Table2)) nuevaLinea();
  return false;
}

void TfGENEIDMA::Buscar1Click() {
  const QStringList idiomas = EjecutarSQL(QStringLiteral("SELECT Idioma FROM IDIOMA"), QStringLiteral("DatabaseGeneral"))
                                  .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  QString idioma;
  if (idiomas.size() == 1) {
    idioma = idiomas.first();
  } else {
    QStringList lista = idiomas;
    for (QString& linea : lista)
      if (linea == IdiomaActual) linea.prepend(u'*');
    idioma = SeleccionarDeLista(
        QStringLiteral("Titulo=Selección de Idioma\r\nFormato=0,0,300,0\r\nOpciones=Ordenada"), lista.join(u"\r\n"));
  }
  if (idioma.isEmpty()) return;
  const Variant clave = BuscarDatoFiltrado(QStringLiteral("TXIDIOMA"), 0, kIdioma + u'=' + LiteralSQL(idioma));
  const QList<Variant>& valores = clave.Elements();
  if (valores.size() < 2) return;
  if (!Table1->Locate(kIdioma, Variant::String(idioma))) return;
  Table2->Locate(kIdioma + u';' + kClaveTexto, Variant::Array({Variant::String(idioma), valores.at(1)}));
}

bool TfGENEIDMA::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_->DBGrid1) {
    if (event->type() == QEvent::FocusIn) {
      DBGrid1Enter();
    } else if (event->type() == QEvent::KeyPress) {
      auto* tecla = static_cast<QKeyEvent*>(event);
      if (tecla->key() == Qt::Key_Delete && (tecla->modifiers() & Qt::ControlModifier)) {
        EliminarLinea(*Table2);
        return true;
      }
      if (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(ui_->DBGrid1, &tab);
        return true;
      }
      if (teclaRejilla(*tecla)) return true;
    }
  } else if (watched == ui_->DBGrid1->viewport() && event->type() == QEvent::MouseButtonDblClick &&
             !editando(*Table2) && TablaVacia(*Table2)) {
    nuevaLinea();
    return true;
  }
  return MantenimientoRegistros::eventFilter(watched, event);
}

