#include "printing/Geneimpr.h"

#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/datamodule/Genemodu.h"
#include "core/connections/ConexionEmpresa.h"
#include "core/forms/ContextoImpresos.h"
#include "core/forms/TablasFormulario.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/Ayuda.h"
#include "core/sql/EjecucionSQL.h"
#include "core/sql/InsercionSQL.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "core/tables/CreacionTabla.h"
#include "platform/CommonDialogs.h"
#include "platform/Exceptions.h"
#include "platform/FormRegistry.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/report/Printer.h"
#include "printing/Genelimp.h"
#include "ui_GENEIMPR.h"

#include <QAction>
#include <QPushButton>
#include <QFileDialog>
#include <QFontDialog>
#include <QKeyEvent>
#include <QTimer>

TfGENEIMPR* fGENEIMPR = nullptr;

namespace {

const QString Titulo = u"Configuración de Impresos"_qs;
const QString NombreFormulario = u"fGENEIMPR"_qs;

QString Campo(const Table& tabla, const QString& nombre) { return tabla.FieldByName(nombre).AsString(); }

}  // namespace

bool TfGENEIMPR::CopiaAOtrasEmpresas(const QString& ejecutable) {
  return ejecutable != QLatin1String("ZEMWIN.EXE") && ejecutable != QLatin1String("MASPWIN.EXE");
}

const QStringList& TfGENEIMPR::TiposDocumento() {
  static const QStringList tipos = [] {
    QStringList lista;
    for (const char* tipo :
         {"Albaran", "Albaran Web", "Bono Trabajo", "Certificado Calidad", "Cesta Web", "Etiqueta Adjunta OF",
          "Etiqueta Articulo", "Etiqueta Envio", "Etiqueta ODETTE", "Etiqueta Operacion", "Etiqueta Proveedor",
          "Etiqueta Recepcion", "Factura", "Factura E-Mail", "Factura Emitida", "Factura Recibida", "Factura Web",
          "Gama Control", "Hoja Ruta", "Hoja Ruta Auxiliar", "Inspeccion OF", "Inspeccion Recepcion",
          "Intrastat N-Exp", "Intrastat N-Imp", "Intrastat O-Exp", "Intrastat O-Imp", "Intrastat S-Exp",
          "Intrastat S-Imp", "Lista Empaque", "Lista Recambios", "Mailing", "Movimiento Almacen", "No Conformidad",
          "Nomina", "Notificacion AS Web", "Notificacion CD Web", "Notificacion RS Web", "Oferta Cliente",
          "Oferta Proveedor", "Orden Fabricacion", "Orden Trabajo", "Orden Transferencia", "Otros", "Pedido Cliente",
          "Pedido Cliente Web", "Pedido Proveedor", "Plan Mantenimiento", "Proyecto", "Recibo", "Registro Entrada",
          "Talon", "Ticket", "Transporte", "Visita"})
      lista << QString::fromLatin1(tipo);
    lista.sort();
    return lista;
  }();
  return tipos;
}

TfGENEIMPR::TfGENEIMPR(QWidget* owner) : MantenimientoRegistros(Ficha, owner), ui_(std::make_unique<Ui::TfGENEIMPR>()) {
  setObjectName(NombreFormulario);
  fGENEIMPR = this;
  ui_->setupUi(Datos());
  setWindowFlag(Qt::WindowStaysOnTopHint);
  resize(969, 609);
  for (DBEdit* edit : {ui_->EditCodigo, ui_->EditDescripcion}) edit->SetSource(DataSource1);
  for (DBComboBox* lista : {ui_->EditTipoDocumento, ui_->EditModo, ui_->EditFormato, ui_->EditImpresoraPorDefecto})
    lista->SetSource(DataSource1);
  ui_->EditInstrucciones->SetSource(DataSource1);
  ui_->EditTipoDocumento->addItems(TiposDocumento());
  ui_->EditModo->addItems({u"Grafico"_qs, u"Texto"_qs, u"ASCII"_qs, u"MSWord"_qs});
  ui_->EditFormato->addItems({u"A4"_qs, u"A4-Apaisado"_qs, u"A5"_qs, u"A5-Apaisado"_qs, u"Sin Formato"_qs});
  ui_->EditImpresoraPorDefecto->addItem(u"Predeterminada"_qs);
  ui_->EditImpresoraPorDefecto->addItems(PrinterSeam::Get().Printers());
  ui_->EditModo->installEventFilter(this);
  AsignarPaginas(ui_->PageControl1);

  Accion("DocumentacionElectronica1")->setEnabled(false);
  QAction* copia = Accion("CopiarRegistrosaOtrasEmpresas1");
  disconnect(copia, &QAction::triggered, this, nullptr);
  connect(copia, &QAction::triggered, this, [this] {
    if (CopiaAOtrasEmpresas(Paths::ExecutableName())) CopiarRegistrosaOtrasEmpresas1Click();
  });

  connect(ui_->pbSimular, &QToolButton::clicked, this, [this] { pbSimularClick(); });
  connect(ui_->pbImportar, &QToolButton::clicked, this, [this] { pbImportarClick(); });
  connect(ui_->pbExportar, &QToolButton::clicked, this, [this] { pbExportarClick(); });
  connect(ui_->pbCambiarFont, &QToolButton::clicked, this, [this] { pbCambiarFontClick(); });

  Table1->SetTableName(u"IMPRESO"_qs);
  Table1->OnNewRecord = [](Dataset& tabla) {
    tabla.FieldByName(u"TipoDocumento"_qs).SetAsString(u"Otro"_qs);
    tabla.FieldByName(u"Modo"_qs).SetAsString(u"Grafico"_qs);
    tabla.FieldByName(u"Formato"_qs).SetAsString(u"A4"_qs);
    tabla.FieldByName(u"ImpresoraPorDefecto"_qs).SetAsString(u"Predeterminada"_qs);
  };
  Table1->AfterPost = [this](Dataset&) {
    grabado_ = true;
    if (Iniciado()) SentenciaUpdate(*Table1);
  };
  if (!ElegirEmpresa()) {
    sinEmpresa_ = true;
    return;
  }
  const QString titulo = Caption();
  Iniciar(Titulo, u"Codigo"_qs, ui_->EditCodigo);
  if (!titulo.isEmpty()) SetCaption(titulo);
  if (!ProcesoAutorizado(CodigoUsuarioActual, u"Modificar Impresos"_qs)) SoloLecturaTablas(*this);
  ui_->PageControl1->setCurrentWidget(ui_->PaginaInstrucciones);
}

TfGENEIMPR::~TfGENEIMPR() {
  ContextoImpresos.clear();
  if (fGENEIMPR == this) fGENEIMPR = nullptr;
}

bool TfGENEIMPR::ElegirEmpresa() {
  if (ContextoImpresos == u"Contexto" || !fGENEINIC) return true;
  SeleccionarEmpresa(*fGENEINIC);
  if (EmpresaActual == 0) return false;
  const QString abreviatura =
      EjecutarSQL(u"SELECT Abreviatura FROM EMPRESA WHERE Codigo = %1"_qs.arg(EmpresaActual), u"DatabaseGeneral"_qs)
          .section(u"\r\n"_qs, 0, 0);
  SetCaption(Titulo + u": "_qs + abreviatura);
  return true;
}

void TfGENEIMPR::showEvent(QShowEvent* event) {
  MantenimientoRegistros::showEvent(event);
  // No company chosen: the form goes as soon as it is shown.
  if (sinEmpresa_) QTimer::singleShot(0, this, [this] { SetModalResult(mrCancel); });
}

void TfGENEIMPR::closeEvent(QCloseEvent* event) {
  MantenimientoRegistros::closeEvent(event);
  if (event->isAccepted()) ContextoImpresos.clear();
}

bool TfGENEIMPR::ComprobarDatos(QWidget* control) {
  if (!Editando() || ControlActivo() == Boton("pbCancelar")) return true;
  if ((!control || control == ui_->EditCodigo) && Campo(*Table1, u"Codigo"_qs).isEmpty()) {
    MensajeAviso(u"¡No es posible crear registros con el código en blanco!"_qs);
    return false;
  }
  if ((!control || control == ui_->EditModo) && Campo(*Table1, u"Modo"_qs) == u"ASCII")
    Table1->FieldByName(u"Formato"_qs).SetAsString(u"Sin Formato"_qs);
  return true;
}

void TfGENEIMPR::Table1BeforePost(Dataset&) {
  if (!Iniciado()) return;
  EstadoAnterior = Table1->State();
  if (!ComprobarDatos(nullptr)) throw Abort();
}

bool TfGENEIMPR::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_->EditModo && event->type() == QEvent::FocusOut) ValidacionWinControl(ui_->EditModo);
  return MantenimientoRegistros::eventFilter(watched, event);
}

void TfGENEIMPR::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_F1:
      MostrarAyuda(ContextoAyuda(Caption().section(u':', 0, 0)));
      return;
    case Qt::Key_F9:
      pbSimularClick();
      return;
    case Qt::Key_F2:
      if (!(event->modifiers() & Qt::ShiftModifier)) return;
      break;
    default:
      break;
  }
  MantenimientoRegistros::keyPressEvent(event);
}

void TfGENEIMPR::pbSimularClick() {
  if (!Table1->Active()) return;
  const DataSetState estado = Table1->State();
  const QString codigo = Campo(*Table1, u"Codigo"_qs);
  if (estado == dsEdit || estado == dsInsert) {
    grabado_ = false;
    GrabarDatos();
    if (!grabado_) return;
  }
  FormularioLlamador = NombreFormulario;
  VisualizarEnPantalla = true;
  CodigoImpresoActual = codigo;
  const auto motor = std::make_unique<TfGENELIMP>(this);
  try {
    CrearTabla(*motor->Temporal, u"Tabla Temporal\r\n/C/1/CodigoTemporal/ftInteger/0/*\r\n/I/1/<Primary>/CodigoTemporal"_qs, -1);
    CrearTabla(*motor->LTemporal,
               u"Tabla Temporal 1\r\n/C/1/CodigoTemporal/ftInteger/0/*\r\n/C/2/Linea/ftSmallint/0/*\r\n"
               "/C/3/LineaMemo/ftInteger/0/*\r\n/I/1/<Primary>/CodigoTemporal;Linea;LineaMemo"_qs,
               -1);
    motor->LTemporal->SetIndexFieldNames(u"CodigoTemporal;Linea;LineaMemo"_qs);
    motor->LTemporal->SetMasterFields(u"CodigoTemporal"_qs);
    for (Table* tabla : {motor->Temporal, motor->LTemporal}) {
      if (!tabla->Active()) tabla->Open();
      tabla->EmptyTable();
    }
    motor->Temporal->Append();
    motor->Temporal->FieldByName(u"CodigoTemporal"_qs).SetAsInteger(1);
    motor->Temporal->Post();
    motor->LTemporal->Append();
    for (const auto& [campo, valor] : {std::pair{"CodigoTemporal", 1}, {"Linea", 1}, {"LineaMemo", 0}})
      motor->LTemporal->FieldByName(QString::fromLatin1(campo)).SetAsInteger(valor);
    motor->LTemporal->Post();
  } catch (const Abort&) {
    return;
  } catch (const std::exception& error) {
    MensajeAviso(TextoExcepcion(error));
    return;
  }
  motor->ImprimirImpreso();
}

void TfGENEIMPR::pbImportarClick() {
  if (!ModuloDatos || !Table1->Active()) return;
  QFileDialog& dialogo = *ModuloDatos->OpenDialog1;
  dialogo.setWindowTitle(u"Importar desde un Archivo de Texto"_qs);
  if (!CommonDialogsSeam::Get().Execute(dialogo)) return;
  try {
    const QString texto = TextFile::Read(FileName(dialogo));
    if (Table1->State() == dsBrowse) Table1->Edit();
    Table1->FieldByName(u"Instrucciones"_qs).SetAsString(texto);
  } catch (const std::exception& error) {
    MensajeAviso(TextoExcepcion(error));
  }
}

void TfGENEIMPR::pbExportarClick() {
  if (!ModuloDatos || !Table1->Active()) return;
  QFileDialog& dialogo = *ModuloDatos->SaveDialog1;
  dialogo.setWindowTitle(u"Exportar a un Archivo de Texto"_qs);
  if (!CommonDialogsSeam::Get().Execute(dialogo)) return;
  try {
    TextFile::Write(FileName(dialogo), Campo(*Table1, u"Instrucciones"_qs));
  } catch (const std::exception& error) {
    MensajeAviso(TextoExcepcion(error));
  }
}

void TfGENEIMPR::pbCambiarFontClick() {
  if (!ModuloDatos) return;
  QFontDialog& dialogo = *ModuloDatos->FontDialog1;
  dialogo.setCurrentFont(ui_->EditInstrucciones->font());
  if (CommonDialogsSeam::Get().Execute(dialogo)) ui_->EditInstrucciones->setFont(dialogo.selectedFont());
}

void RegistrarGENEIMPR() {
  FormRegistry::Register(u"TfGENEIMPR"_qs, [](QWidget* owner) { return new TfGENEIMPR(owner); });
}
