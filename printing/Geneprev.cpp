#include "printing/Geneprev.h"

#include "core/datamodule/ExportacionExcel.h"
#include "core/datamodule/Genemodu.h"
#include "core/datamodule/SalidaInforme.h"
#include "core/forms/CabeceraListado.h"
#include "core/forms/PreparacionFormulario.h"
#include "core/helpers/Tablas.h"
#include "core/messages/MensajeSistema.h"
#include "core/progress/Geneprog.h"
#include "core/services/Ayuda.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/TraduccionFormulario.h"
#include "platform/CommonDialogs.h"
#include "platform/VirtualKeys.h"
#include "platform/data/Table.h"
#include "platform/report/PageExport.h"
#include "platform/report/PrinterSink.h"
#include "platform/report/RecordedPages.h"
#include "platform/report/ReportEngine.h"
#include "printing/ParametrosListado.h"
#include "printing/VistaPagina.h"
#include "ui_GENEPREV.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>

TfGENEPREV* fGENEPREV = nullptr;

namespace {

const QString kEnProgreso = QStringLiteral("En Progreso");
const QString kFinalizada = QStringLiteral("Finalizada");

// The module's save dialog with a name, filter and title of ours; its
// filters and title are put back afterwards.
class DialogoGuardar {
 public:
  DialogoGuardar(const QString& nombre, const QString& filtro, const QString& titulo)
      : dialogo_(ModuloDatos ? *ModuloDatos->SaveDialog1 : sinModulo_),
        filtros_(dialogo_.nameFilters()),
        indice_(FilterIndex(dialogo_)),
        titulo_(dialogo_.windowTitle()) {
    SetFileName(dialogo_, nombre);
    SetFilter(dialogo_, filtro);
    SetFilterIndex(dialogo_, 1);
    dialogo_.setWindowTitle(titulo);
  }
  ~DialogoGuardar() {
    dialogo_.setNameFilters(filtros_);
    SetFilterIndex(dialogo_, indice_);
    dialogo_.setWindowTitle(titulo_);
  }
  DialogoGuardar(const DialogoGuardar&) = delete;
  DialogoGuardar& operator=(const DialogoGuardar&) = delete;

  bool Ejecutar() { return CommonDialogsSeam::Get().Execute(dialogo_); }
  QString Archivo() const { return FileName(dialogo_); }
  int Filtro() const { return FilterIndex(dialogo_); }

 private:
  QFileDialog sinModulo_;
  QFileDialog& dialogo_;
  QStringList filtros_;
  int indice_;
  QString titulo_;
};

struct FormatoExportacion {
  ExportFormat formato;
  QString extension;
};

// The kinds of the export dialog's filters, in their order.
const FormatoExportacion kFormatosExportacion[] = {{ExportFormat::Text, QStringLiteral(".TXT")},
                                                   {ExportFormat::Csv, QStringLiteral(".CSV")},
                                                   {ExportFormat::Html, QStringLiteral(".HTM")}};

// The name as typed when it already ends in the extension, in any case.
QString conExtension(const QString& archivo, const QString& extension) {
  return archivo.endsWith(extension, Qt::CaseInsensitive) ? archivo : archivo + extension;
}

}  // namespace

TfGENEPREV::TfGENEPREV(QWidget* owner)
    : Form(owner), ui_(std::make_unique<Ui::TfGENEPREV>()), vista_(new VistaPagina) {
  ui_->setupUi(this);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  move(0, 0);
  ui_->QRPreview1->setWidget(vista_);
  ui_->QRPreview1->setBackgroundRole(QPalette::Dark);
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("MenuPrevisualizacion"));
  QAction* cancelar = menu->addAction(QStringLiteral("&Cancelar el Listado"), this, &TfGENEPREV::CancelarelListado1Click);
  cancelar->setObjectName(QStringLiteral("CancelarelListado1"));
  cancelar->setShortcut(Qt::Key_Escape);
  // The entry only shows its key, which the form takes: once the listing is
  // made there is nothing to cancel, and Esc is the "Salir" button's.
  OnKeyDown = [this](Form&, quint16& tecla, Qt::KeyboardModifiers estado) {
    if (tecla != VK::Escape || estado != Qt::NoModifier) return;
    tecla = 0;
    ocupada() ? CancelarelListado1Click() : (void)close();
  };
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this,
          [this, menu](const QPoint& punto) { menu->popup(mapToGlobal(punto)); });
  connect(ui_->SpinEditPagina, &QSpinBox::valueChanged, this, &TfGENEPREV::MostrarPagina);
  connect(ui_->pbPrimeraPagina, &QToolButton::clicked, this, [this] { MostrarPagina(1); });
  connect(ui_->pbUltimaPagina, &QToolButton::clicked, this, [this] { MostrarPagina(numeroPaginas_); });
  connect(ui_->SpinEditZoom, &QSpinBox::valueChanged, this, &TfGENEPREV::SetZoom);
  connect(ui_->pbZoomToFit, &QToolButton::clicked, this, [this] { Ajustar(Ajuste::Completa); });
  connect(ui_->pbZoomToWidth, &QToolButton::clicked, this, [this] { Ajustar(Ajuste::Ancho); });
  ui_->QRPreview1->viewport()->installEventFilter(this);
  connect(ui_->pbZoomTo100, &QToolButton::clicked, this, [this] { SetZoom(100); });
  connect(ui_->pbImprimir, &QToolButton::clicked, this, &TfGENEPREV::pbImprimirClick);
  connect(ui_->pbImprimirPagina, &QToolButton::clicked, this, &TfGENEPREV::pbImprimirPaginaClick);
  connect(ui_->pbExportar, &QToolButton::clicked, this, &TfGENEPREV::pbExportarClick);
  connect(ui_->pbExportarAExcel, &QToolButton::clicked, this, &TfGENEPREV::pbExportarAExcelClick);
  connect(ui_->pbExportarAPDF, &QToolButton::clicked, this, &TfGENEPREV::pbExportarAPDFClick);
  connect(ui_->pbAyuda, &QToolButton::clicked, this, [this] { MostrarAyuda(ContextoAyuda(Caption())); });
  connect(ui_->pbSalir, &QPushButton::clicked, this, &QWidget::close);
  OnCloseQuery = [this](Form&, bool& cerrar) {
    if (!ocupada()) return;
    MensajeAviso(QStringLiteral("¡Debe esperar a que finalice el informe para cerrar la previsualización!"));
    cerrar = false;
  };
  PrepararFormulario(*this);
}

TfGENEPREV::~TfGENEPREV() {
  if (fGENEPREV == this) fGENEPREV = nullptr;
}

void TfGENEPREV::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  TraducirFormulario(this);
}

void TfGENEPREV::Previsualizar(ReportEngine& informe, const QString& formulario, Dataset* datos, Dataset* detalle) {
  informe_ = &informe;
  formulario_ = formulario;
  datos_ = datos;
  detalle_ = detalle;
  paginas_ = std::make_unique<RecordedPages>();
  numeroPaginas_ = 0;
  ui_->SpinEditPagina->setRange(1, 999999);
  ui_->SpinEditPagina->setValue(1);
  primeraPendiente_ = true;
  ui_->ProgressBar1->setRange(0, 100);
  ui_->ProgressBar1->setValue(0);
  ui_->ProgressBar1->show();
  // Maximised also where no window manager does it.
  setGeometry(screen()->availableGeometry());
  showMaximized();
  QCoreApplication::processEvents();  // laid out at its size before the page width is measured
  const qint64 total = datos && datos->Active() ? std::max(datos->RecordCount(), 1) : 0;
  QPointer<TfGENEPREV> vivo(this);
  informe.OnPage = [vivo](int pagina) {
    if (!vivo) return;
    vivo->PaginaDisponible(pagina);
    QCoreApplication::processEvents();
  };
  informe.OnProgress = [vivo, total](qint64 registros) {
    if (vivo && total > 0) vivo->Progreso(registros * 100 / total);
  };
  generando_ = true;
  const auto terminar = [&] {
    informe.OnPage = nullptr;
    informe.OnProgress = nullptr;
    if (!vivo) return;
    generando_ = false;
    EstadoInforme = kFinalizada;
    ui_->ProgressBar1->hide();
  };
  try {
    informe.Run(*paginas_);
  } catch (...) {
    terminar();
    throw;
  }
  terminar();
}

void TfGENEPREV::PaginaDisponible(int pagina) {
  QApplication::restoreOverrideCursor();
  numeroPaginas_ = pagina;
  ui_->SpinEditPagina->setMaximum(pagina);
  if (!primeraPendiente_) return;
  primeraPendiente_ = false;
  MostrarPagina(1);
  const QString formato = LeerParametrosListado().visualizacionPrevia;
  if (formato == u"Pagina Completa") return Ajustar(Ajuste::Completa);
  if (formato == u"Ancho Ajustado") return Ajustar(Ajuste::Ancho);
  bool numero = false;
  const int zoom = formato.toInt(&numero);
  SetZoom(numero ? zoom : 100);
}

// The page kept to the view's width or whole in it, also as the window changes size.
void TfGENEPREV::Ajustar(Ajuste ajuste) {
  SetZoom(zoomAjustado(ajuste == Ajuste::Completa));
  ajuste_ = ajuste;
}

bool TfGENEPREV::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == ui_->QRPreview1->viewport() && ajuste_ != Ajuste::Ninguno)
    Ajustar(ajuste_);
  return Form::eventFilter(watched, event);
}

void TfGENEPREV::Progreso(qint64 porcentaje) {
  if (porcentaje > 0) progresoVisto_ = true;
  ui_->ProgressBar1->setValue(static_cast<int>(std::min<qint64>(porcentaje, 100)));
  if (porcentaje >= ui_->ProgressBar1->maximum()) ui_->ProgressBar1->hide();
}

int TfGENEPREV::PaginaActual() const { return ui_->SpinEditPagina->value(); }

int TfGENEPREV::Zoom() const { return vista_->Zoom(); }

void TfGENEPREV::MostrarPagina(int pagina) {
  if (!paginas_ || numeroPaginas_ == 0) return;
  pagina = std::clamp(pagina, 1, numeroPaginas_);
  const QSignalBlocker bloqueo(ui_->SpinEditPagina);
  ui_->SpinEditPagina->setValue(pagina);
  vista_->Mostrar(paginas_->Page(pagina), paginas_->Setup().Size());
}

void TfGENEPREV::SetZoom(int porcentaje) {
  ajuste_ = Ajuste::Ninguno;
  porcentaje = std::clamp(porcentaje, 10, 300);
  vista_->SetZoom(porcentaje);
  const QSignalBlocker bloqueo(ui_->SpinEditZoom);
  ui_->SpinEditZoom->setValue(porcentaje);
}

// The zoom that shows the whole page, or its whole width, in the view.
int TfGENEPREV::zoomAjustado(bool completa) const {
  const QSizeF pagina = paginas_ ? paginas_->Setup().Size() : QSizeF(794, 1123);
  const QSize visible = ui_->QRPreview1->maximumViewportSize() -
                        QSize(ui_->QRPreview1->verticalScrollBar()->sizeHint().width(), 0);
  const double ancho = visible.width() / pagina.width();
  const double alto = visible.height() / pagina.height();
  return static_cast<int>((completa ? std::min(ancho, alto) : ancho) * 100);
}

void TfGENEPREV::imprimir(bool soloPagina) {
  if (ocupada()) {
    MensajeAviso(QStringLiteral("¡Debe esperar a que finalice el informe en curso!"));
    return;
  }
  progresoVisto_ = false;
  imprimiendo_ = true;
  RecolocarCabecera = true;
  const bool conDialogo = LeerParametrosListado().solicitarDialogoImpresora;
  if (conDialogo && !DialogoImpresionInforme(*informe_)) return;
  EstadoInforme = kEnProgreso;
  QPointer<TfGENEPREV> vivo(this);
  try {
    if (conDialogo) {
      if (soloPagina) informe_->PrinterSettings.FirstPage = informe_->PrinterSettings.LastPage = PaginaActual();
      PrinterSink impresora(informe_->PrinterSettings, informe_->Title);
      informe_->Run(impresora);
    } else {
      enviarPaginas(soloPagina);
    }
  } catch (...) {
    if (vivo) EstadoInforme = kFinalizada;
    throw;
  }
  if (vivo) EstadoInforme = kFinalizada;
}

// The pages already made go to the default printer as they are.
void TfGENEPREV::enviarPaginas(bool soloPagina) {
  PrintSettings ajustes;
  ajustes.Orientation = paginas_->Setup().Orientation;
  if (soloPagina) ajustes.FirstPage = ajustes.LastPage = PaginaActual();
  PrinterSink impresora(ajustes, informe_->Title);
  impresora.Begin(paginas_->Setup());
  for (int pagina = 1; pagina <= paginas_->PageCount(); ++pagina) impresora.AddPage(paginas_->Page(pagina));
  impresora.End();
}

void TfGENEPREV::pbExportarClick() {
  DialogoGuardar dialogo(QStringLiteral("INFORME"),
                         QStringLiteral("Archivos de Texto (*.TXT)|*.TXT|Formato CSV (*.CSV)|*.CSV|"
                                        "Documento HTML (*.HTM)|*.HTM"),
                         QStringLiteral("Exportar a un Archivo de Texto"));
  if (!dialogo.Ejecutar()) return;
  // A name typed with the extension of one of the kinds is that kind, as
  // typed; any other takes the chosen filter's kind and extension.
  const QString tecleado = dialogo.Archivo();
  const int filtro = dialogo.Filtro();
  FormatoExportacion elegido = kFormatosExportacion[filtro >= 2 && filtro <= 3 ? filtro - 1 : 0];
  QString archivo = tecleado + elegido.extension;
  for (const FormatoExportacion& formato : kFormatosExportacion) {
    if (tecleado.endsWith(formato.extension, Qt::CaseInsensitive) ||
        (formato.formato == ExportFormat::Html && tecleado.endsWith(QStringLiteral(".HTML"), Qt::CaseInsensitive))) {
      elegido = formato;
      archivo = tecleado;
    }
  }
  try {
    ExportPages(*paginas_, elegido.formato, archivo, informe_->Title);
  } catch (const std::exception&) {
    MensajeAviso(QStringLiteral("¡No ha sido posible grabar el informe!"));
  }
}

void TfGENEPREV::pbExportarAExcelClick() {
  QString respuesta;
  MensajeConfirmacion(QStringLiteral("No se garantiza que la exportación a hoja Excel desde la previsualización "
                                     "muestre todos los datos que espera. ¿Desea continuar en cualquier caso?"),
                      respuesta);
  if (respuesta == u"NO") return;
  Table* exportacion = ModuloDatos ? ModuloDatos->QR_Export_Table : nullptr;
  if (exportacion && exportacion->Active()) ExportarExcel(exportacion, nullptr, formulario_, QString());
  else ExportarExcel(datos_, detalle_, formulario_, QString());
}

void TfGENEPREV::pbExportarAPDFClick() {
  DialogoGuardar dialogo(formulario_, QStringLiteral("Archivos PDF (*.PDF)|*.PDF"), QFileDialog::tr("Save As"));
  if (!dialogo.Ejecutar()) return;
  try {
    GenerarSalidaInforme(*informe_, QStringLiteral("PDF:") + conExtension(dialogo.Archivo(), QStringLiteral(".pdf")));
  } catch (const std::exception& error) {
    MensajeAviso(QStringLiteral("¡No ha sido posible grabar el informe! Motivo: ") + TextoExcepcion(error));
  }
}

void TfGENEPREV::CancelarelListado1Click() {
  if (progresoVisto_) {
    MensajeAviso(QStringLiteral("¡No es posible cancelar el listado en este momento!"));
    return;
  }
  const auto* tabla = qobject_cast<const Table*>(datos_);
  if (tabla && !EsTablaTemporal(tabla->TableName())) return;
  QString respuesta;
  MensajeConfirmacion(
      QStringLiteral("El listado será cancelado a continuación. ¿Desea continuar con el listado?"), respuesta);
  CancelarListado = respuesta != u"SI";
  if (!CancelarListado || !imprimiendo_ || EstadoInforme != kEnProgreso) return;
  EstadoInforme = kFinalizada;
  close();
}

void PrevisualizarInforme(ReportEngine& informe, const QString& formulario, Dataset* datos, Dataset* detalle) {
  auto* vista = new TfGENEPREV(nullptr);
  vista->setAttribute(Qt::WA_DeleteOnClose);
  // A window beside a modal dialog would take no input.
  if (QApplication::activeModalWidget()) vista->setWindowModality(Qt::ApplicationModal);
  fGENEPREV = vista;
  QPointer<TfGENEPREV> viva(vista);
  try {
    vista->Previsualizar(informe, formulario, datos, detalle);
  } catch (...) {
    delete viva;
    throw;
  }
  if (!viva) return;
  // A report without records makes no page: nothing to show.
  if (vista->NumeroPaginas() == 0) {
    delete vista;
    return;
  }
  QEventLoop espera;
  QObject::connect(vista, &QObject::destroyed, &espera, &QEventLoop::quit);
  espera.exec();
}
