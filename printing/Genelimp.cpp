#include "printing/Genelimp.h"

#include "core/datamodule/Genemodu.h"
#include "core/forms/TablasFormulario.h"
#include "core/helpers/Listas.h"
#include "core/helpers/Textos.h"
#include "core/messages/MensajeSistema.h"
#include "core/progress/Geneprog.h"
#include "core/system/Archivos.h"
#include "core/system/CursorEspera.h"
#include "platform/CommonDialogs.h"
#include "platform/Exceptions.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/report/PageSetup.h"
#include "platform/report/PrintQueue.h"
#include "platform/report/Printer.h"
#include "printing/ImpresoraPredeterminada.h"
#include "printing/comandos/ComandosImpreso.h"
#include "printing/salidas/SalidasImpreso.h"
#include "ui_GENELIMP.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QScreen>
#include <QTemporaryDir>

#include <utility>

QString CodigoImpresoActual;
bool VisualizarEnPantalla = false;
QString FormularioLlamador;
bool NoSolicitarDialogoImpresora = false;
TfGENELIMP* fGENELIMP = nullptr;

SalidasImpreso& Salidas() {
  static SalidasImpreso salidas;
  return salidas;
}

namespace {

const QString PrefijoPDF = u"PDF:"_qs;

bool EsSalidaExterna(const QString& modo) { return modo == u"ASCII" || modo == u"MSWord"; }

// Without the general parameters open the dialog is asked for.
bool SinDialogoImpresora() {
  if (!ModuloDatos || !ModuloDatos->ParamGenerales->Active()) return false;
  const Field* campo = ModuloDatos->ParamGenerales->FindField(u"SolicitarDialogoImpresora"_qs);
  return campo && campo->AsString() == u"NO";
}

}  // namespace

TfGENELIMP::TfGENELIMP(QWidget* owner)
    : Form(owner),
      Temporal(new Table(this)),
      LTemporal(new Table(this)),
      DataSource1(new DataSource(this)),
      Impreso(new Table(this)),
      tablas_(*Temporal, LTemporal, *Impreso),
      ejecucion_(tablas_, *this),
      ui_(std::make_unique<Ui::TfGENELIMP>()),
      paginas_(std::make_unique<RecordedPages>()) {
  setObjectName(u"fGENELIMP"_qs);
  PrepararVista();
  Temporal->setObjectName(u"Temporal"_qs);
  LTemporal->setObjectName(u"LTemporal"_qs);
  DataSource1->setObjectName(u"DataSource1"_qs);
  Impreso->setObjectName(u"Impreso"_qs);
  Impreso->SetTableName(u"IMPRESO"_qs);
  DataSource1->SetDataSet(Temporal);
  LTemporal->SetMasterSource(DataSource1);
  fGENELIMP = this;
  InstalarComandosImpreso();
  InstalarSalidasImpreso();

  CancelarListado = false;
  AbrirTablasFormulario(*this);
  const std::optional<DefinicionImpreso> impreso = tablas_.Impreso(CodigoImpresoActual);
  if (impreso && EsSalidaExterna(impreso->modo)) VisualizarEnPantalla = false;
  if (!NoSolicitarDialogoImpresora) NoSolicitarDialogoImpresora = SinDialogoImpresora();
}

TfGENELIMP::~TfGENELIMP() {
  if (painter_.isActive()) {
    impresora_->abort();
    painter_.end();
  }
  for (Table* tabla : {LTemporal, Temporal}) {
    if (!tabla->Active()) continue;
    try {
      tabla->Close();
      tabla->DeleteTable();
    } catch (const Exception&) {
      // A temporary table that cannot go now is removed by the next start's clean-up.
    }
  }
  FormularioLlamador.clear();
  NoSolicitarDialogoImpresora = false;
  if (fGENELIMP == this) fGENELIMP = nullptr;
}

QString TfGENELIMP::ValorPrograma(const QString& nombre) const {
  const std::optional<DefinicionImpreso>& impreso = ejecucion_.Definicion();
  return impreso ? ValorLista(nombre, impreso->instrucciones) : QString();
}

void TfGENELIMP::ImprimirImpreso() {
  if (CancelarListado) return;
  if (!VisualizarEnPantalla) {
    const std::optional<DefinicionImpreso> impreso = tablas_.Impreso(CodigoImpresoActual);
    if (impreso && ValorLista(u"DocumentosAdjuntos"_qs, impreso->instrucciones) == u"Auto") {
      if (Salidas().AdjuntosAutomaticos) Salidas().AdjuntosAutomaticos(*this);
      return;
    }
  }
  ejecucion_.primeraEtiqueta = 1;
  const bool pdf = SalidaImpreso.startsWith(PrefijoPDF);
  ejecucion_.destino = pdf || VisualizarEnPantalla ? DestinoSalida::Pantalla : DestinoSalida::Impresora;
  EjecutarImpreso();
  if (!pdf) {
    if (VisualizarEnPantalla && NumeroPaginas() > 0) {
      // Maximised, also where no window manager does it.
      if (const QScreen* pantalla = screen()) setGeometry(pantalla->availableGeometry());
      setWindowState(windowState() | Qt::WindowMaximized);
      ShowModal();
    }
    LiberarPaginas();
    return;
  }
  if (ValorPrograma(u"DocumentosAdjuntos"_qs) == u"Auto") {
    if (Salidas().AdjuntosAutomaticos) Salidas().AdjuntosAutomaticos(*this);
  } else if (Salidas().GenerarPDF) {
    Salidas().GenerarPDF(*this);
  }
}

void TfGENELIMP::EjecutarImpreso() {
  ejecucion_.EmpezarTrabajo();
  crudo_.clear();
  ImpresoraActual = u"Ninguna"_qs;
  ejecucion_.codigoImpresoActual = CodigoImpresoActual;
  const QString codigo = ejecucion_.CodigoDocumentoInicial();
  if (codigo.isEmpty()) {
    MensajeAviso(u"¡El formato del Impreso no está definido!"_qs);
    return;
  }
  const std::optional<DefinicionImpreso> impreso = tablas_.Impreso(codigo);
  if (!impreso) {
    MensajeAviso(u"¡No existe el formato del Impreso!"_qs);
    return;
  }
  if (impreso->modo == u"ASCII") {
    if (Salidas().SalidaASCII) Salidas().SalidaASCII(*this);
    return;
  }
  if (impreso->modo == u"MSWord") {
    if (Salidas().SalidaWord) Salidas().SalidaWord(*this);
    return;
  }
  const bool pantalla = ejecucion_.destino == DestinoSalida::Pantalla;
  // The preview's "document of this page" print sets the key with the flag.
  if (!SoloDocumentoPagina) ejecucion_.soloClave.clear();
  if (!ejecucion_.Preparar(codigo)) return;

  GeometriaImpreso& geometria = ejecucion_.geometria;
  if (SalidaImpreso.startsWith(PrefijoPDF))
    geometria.TamanoPaginaPDF();
  else
    geometria.TamanoPaginaPantalla();
  if (!pantalla && !EmpezarImpresora(*impreso)) return;
  if (pantalla) {
    LiberarPaginas();
    paginas_->Begin(PageSetup());
    if (VisualizarEnPantalla && !SalidaImpreso.startsWith(PrefijoPDF)) DibujarRegla();
  }
  const CursorEspera espera;
  ejecucion_.Recorrer();
  if (pantalla) {
    GuardarPagina();
    TerminarPaginasPDF();
    paginas_->End();
    return;
  }
  if (ejecucion_.Abandonado()) {
    DescartarTrabajo();
    return;
  }
  TerminarTrabajo();
  const QString adjuntos = ValorPrograma(u"DocumentosAdjuntos"_qs);
  if (!adjuntos.isEmpty() && adjuntos != u"Auto" && Salidas().ImprimirDocumentosAdjuntos)
    Salidas().ImprimirDocumentosAdjuntos(*this);
}

bool TfGENELIMP::EmpezarImpresora(const DefinicionImpreso& impreso) {
  Printer& impresoras = PrinterSeam::Get();
  ImpresoraPredeterminadaWindows = impresoras.DefaultPrinter();
  archivoSalida_.clear();
  QString nombre = SalidaImpreso.isEmpty() ? impreso.impresoraPorDefecto : SalidaImpreso;
  UsarImpresoraPredeterminada = nombre.isEmpty() || nombre == u"Predeterminada";
  if (UsarImpresoraPredeterminada || !impresoras.Printers().contains(nombre)) nombre = ImpresoraPredeterminadaWindows;

  const bool haySecciones = ejecucion_.programa.haySeccionesImpresion;
  if (haySecciones && (NoSolicitarDialogoImpresora || !UsarImpresoraPredeterminada)) {
    if (nombre != ImpresoraPredeterminadaWindows) CambiarImpresoraPredeterminada(nombre);
    return AbrirTrabajo(nombre, 1, impreso);
  }
  PrintDialog sinModulo;
  PrintDialog& dialogo = ModuloDatos ? ModuloDatos->PrintDialog1 : sinModulo;
  if (!CommonDialogsSeam::Get().Execute(dialogo)) return false;
  if (!haySecciones) {
    ImpresoraPredeterminadaWindows.clear();
    return true;
  }
  archivoSalida_ = dialogo.Choice.OutputFile;
  if (!archivoSalida_.isEmpty()) return AbrirTrabajo(archivoSalida_, dialogo.Choice.Copies, impreso);
  const QString elegida =
      dialogo.Choice.PrinterIndex < 0 ? ImpresoraPredeterminadaWindows : PrinterName(dialogo.Choice.PrinterIndex);
  if (elegida != ImpresoraPredeterminadaWindows) CambiarImpresoraPredeterminada(elegida);
  return AbrirTrabajo(elegida, dialogo.Choice.Copies, impreso);
}

bool TfGENELIMP::AbrirTrabajo(const QString& nombre, int copias, const DefinicionImpreso& impreso) {
  const GeometriaImpreso& geometria = ejecucion_.geometria;
  const auto orientacion = ExtraerElemento(1, impreso.formato, u"-"_qs) == u"Apaisado" ? QPageLayout::Landscape
                                                                                      : QPageLayout::Portrait;
  // The size given upright, so the turned page is the paper the program names.
  const QSizeF papel = orientacion == QPageLayout::Landscape ? QSizeF(geometria.altoPapel, geometria.anchoPapel)
                                                             : QSizeF(geometria.anchoPapel, geometria.altoPapel);
  if (ejecucion_.geometria.modoTexto) {
    AbrirTrabajoTexto(nombre, copias, impreso);
    return true;
  }
  if (archivoSalida_.isEmpty()) {
    impresora_ = PrinterSeam::Get().Open(nombre);
  } else {
    impresora_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    impresora_->setOutputFormat(QPrinter::PdfFormat);
    impresora_->setOutputFileName(archivoSalida_);
  }
  impresora_->setDocName(impreso.descripcion);
  documentoCrudo_ = impreso.descripcion;
  impresora_->setCopyCount(std::max(1, copias));
  impresora_->setPageLayout(
      QPageLayout(QPageSize(papel, QPageSize::Millimeter), orientacion, QMarginsF(0, 0, 0, 0)));
  trabajoFallido_ = false;
  if (!painter_.begin(impresora_.get())) {
    MensajeAviso(u"No se ha podido iniciar la impresión en "_qs + nombre);
    impresora_.reset();
    return false;
  }
  ImpresoraActual = nombre;
  lienzoImpresora_ = LienzoImpreso{&painter_};
  const QRect fisico = impresora_->paperRect(QPrinter::DevicePixel).toRect();
  ejecucion_.geometria.anchoFisicoImpresora = fisico.width();
  ejecucion_.geometria.altoFisicoImpresora = fisico.height();
  return true;
}

// A text printer takes the run as one raw job, measured as a 600 dpi printer
// of the printout's paper.
void TfGENELIMP::AbrirTrabajoTexto(const QString& nombre, int copias, const DefinicionImpreso& impreso) {
  constexpr double PuntosPulgada = 600;
  GeometriaImpreso& geometria = ejecucion_.geometria;
  geometria.anchoFisicoImpresora = RedondearPixel(geometria.anchoPapel * PuntosPulgada / 25.4);
  geometria.altoFisicoImpresora = RedondearPixel(geometria.altoPapel * PuntosPulgada / 25.4);
  ImpresoraActual = nombre;
  documentoCrudo_ = impreso.descripcion;
  copiasTexto_ = std::max(1, copias);
  trabajoTexto_ = true;
}

void TfGENELIMP::TerminarTrabajo() {
  const bool texto = trabajoTexto_;
  if (trabajoTexto_) {
    crudo_ += '\f';
    crudo_ = crudo_.repeated(copiasTexto_);
    trabajoTexto_ = false;
  } else if (painter_.isActive()) {
    // Begun and then stopped by the printer: the job is incomplete, not unstarted.
    if (!painter_.end() || trabajoFallido_) MensajeAviso(u"No se ha podido completar la impresión en "_qs + ImpresoraActual);
    impresora_.reset();
  }
  if (!archivoSalida_.isEmpty()) {
    // A page job's raw codes are for a printer's ears: a file keeps only a text job's.
    if (texto && !EscribirArchivoSalida())
      MensajeAviso(u"No se ha podido iniciar la impresión en "_qs + ImpresoraActual);
  } else if (!crudo_.isEmpty() && !PrintQueueSeam::Get().SendRaw(ImpresoraActual, documentoCrudo_, crudo_)) {
    // The raw codes of a page job go to the same printer right after it: the job has no raw channel.
    MensajeAviso(u"No se ha podido iniciar la impresión en "_qs + ImpresoraActual);
  }
  crudo_.clear();
}

// A run given up: the printer gets nothing, neither pages nor raw codes.
void TfGENELIMP::DescartarTrabajo() {
  if (painter_.isActive()) {
    impresora_->abort();
    painter_.end();
  }
  impresora_.reset();
  trabajoTexto_ = false;
  crudo_.clear();
}

// All of the text job or nothing: a failure leaves the file as it was.
bool TfGENELIMP::EscribirArchivoSalida() const {
  QSaveFile archivo(archivoSalida_);
  return archivo.open(QIODevice::WriteOnly) && archivo.write(crudo_) == crudo_.size() && archivo.commit();
}

LienzoImpreso* TfGENELIMP::Lienzo() {
  if (ejecucion_.destino == DestinoSalida::Pantalla) return paginaAbierta_ ? &lienzoPagina_ : nullptr;
  if (!painter_.isActive() || ejecucion_.geometria.modoTexto) return nullptr;
  return &lienzoImpresora_;
}

void TfGENELIMP::GuardarPagina() {
  if (!paginaAbierta_ || escritorPDF_) return;
  pintorPagina_.end();
  const GeometriaImpreso& geometria = ejecucion_.geometria;
  PageCell dibujo;
  dibujo.kind = PageCell::Kind::Picture;
  dibujo.rect = QRectF(0, 0, MillimetresToUnits(geometria.anchoPapel), MillimetresToUnits(geometria.altoPapel));
  dibujo.picture = std::exchange(imagenPagina_, QImage());
  pagina_.cells.push_back(std::move(dibujo));
  paginas_->AddPage(pagina_);
  pagina_ = PageRecord();
  paginaAbierta_ = false;
}

QString TfGENELIMP::CarpetaPiezas() {
  if (!piezas_) piezas_ = std::make_unique<QTemporaryDir>();
  return piezas_->path();
}

void TfGENELIMP::RetirarPiezas() {
  ArchivosPDF.clear();
  piezas_.reset();
}

void TfGENELIMP::LiberarPaginas() {
  TerminarPaginasPDF();
  if (!paginasPDF_.isEmpty()) QFile::remove(TomarPaginasPDF());
  if (pintorPagina_.isActive()) pintorPagina_.end();
  imagenPagina_ = QImage();
  paginaTrabajo_ = QImage();
  pagina_ = PageRecord();
  paginaAbierta_ = false;
  claves_.clear();
}

bool TfGENELIMP::Cancelado() {
  QCoreApplication::processEvents();
  return CancelarListado;
}

void TfGENELIMP::Informacion(const QString& texto) { MensajeInformacion(texto); }

void TfGENELIMP::Aviso(const QString& texto) { MensajeAviso(texto); }

bool TfGENELIMP::Confirmar(const QString& texto) {
  QString respuesta;
  MensajeConfirmacion(texto, respuesta);
  return respuesta != u"NO";
}

std::optional<QString> TfGENELIMP::PreguntarPrimeraEtiqueta(const QString& texto, const QString& inicial) {
  QString respuesta = inicial;
  MensajePregunta(texto, respuesta);
  if (MensajeCerrado()) return std::nullopt;
  return respuesta;
}

bool TfGENELIMP::CopiarArchivo(const QString& origen, const QString& destino) {
  try {
    ::CopiarArchivo(origen, destino);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

void TfGENELIMP::PaginaNueva(const QString& clave) {
  if (SalidaImpreso.startsWith(PrefijoPDF)) {
    PaginaPDF();
    claves_.append(clave);
    return;
  }
  GuardarPagina();
  pagina_.number = ejecucion_.numeroPaginas;
  // The page's picture at the page's own resolution, so fonts keep their size on paper.
  const GeometriaImpreso& geometria = ejecucion_.geometria;
  imagenPagina_ = QImage(std::max(1, geometria.anchoPagina), std::max(1, geometria.altoPagina), QImage::Format_RGB32);
  imagenPagina_.fill(Qt::white);
  const int puntosMetro = RedondearPixel(1000.0 * geometria.anchoPagina / std::max(1, geometria.anchoPapel));
  imagenPagina_.setDotsPerMeterX(puntosMetro);
  imagenPagina_.setDotsPerMeterY(puntosMetro);
  pintorPagina_.begin(&imagenPagina_);
  lienzoPagina_ = LienzoImpreso{&pintorPagina_};
  paginaAbierta_ = true;
  claves_.append(clave);
}

// Each page of the paper's size at the output resolution, so the commands
// measure as on the page pictures; every page starts with the canvas's
// first font, as a picture does.
void TfGENELIMP::PaginaPDF() {
  if (escritorPDF_) {
    if (!escritorPDF_->newPage() && errorPaginasPDF_.isEmpty()) errorPaginasPDF_ = u"No se ha podido añadir la página"_qs;
    lienzoPagina_ = LienzoImpreso{&pintorPagina_};
    return;
  }
  if (!paginasPDF_.isEmpty()) QFile::remove(TomarPaginasPDF());
  errorPaginasPDF_.clear();
  paginasPDF_ = QDir(CarpetaPiezas()).filePath(u"paginas%1.pdf"_qs.arg(++archivosPaginas_));
  const GeometriaImpreso& geometria = ejecucion_.geometria;
  escritorPDF_ = std::make_unique<QPdfWriter>(paginasPDF_);
  escritorPDF_->setResolution(RedondearPixel(geometria.resolucionSalida));
  escritorPDF_->setPageLayout(QPageLayout(QPageSize(QSizeF(geometria.anchoPapel, geometria.altoPapel), QPageSize::Millimeter),
                                          QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  if (const std::optional<DefinicionImpreso>& impreso = ejecucion_.Definicion()) escritorPDF_->setTitle(impreso->descripcion);
  if (!pintorPagina_.begin(escritorPDF_.get())) {
    errorPaginasPDF_ = u"No se puede escribir "_qs + paginasPDF_;
    escritorPDF_.reset();
    paginaAbierta_ = false;
    return;
  }
  lienzoPagina_ = LienzoImpreso{&pintorPagina_};
  paginaAbierta_ = true;
}

void TfGENELIMP::TerminarPaginasPDF() {
  if (!escritorPDF_) return;
  if (pintorPagina_.isActive() && !pintorPagina_.end() && errorPaginasPDF_.isEmpty())
    errorPaginasPDF_ = u"No se puede escribir "_qs + paginasPDF_;
  escritorPDF_.reset();
  paginaAbierta_ = false;
  if (errorPaginasPDF_.isEmpty() && QFileInfo(paginasPDF_).size() == 0) errorPaginasPDF_ = u"No se puede escribir "_qs + paginasPDF_;
}

QString TfGENELIMP::TomarPaginasPDF() {
  TerminarPaginasPDF();
  return std::exchange(paginasPDF_, QString());
}

void TfGENELIMP::SaltoPaginaImpresora() {
  if (trabajoTexto_) crudo_ += '\f';
  if (painter_.isActive() && !impresora_->newPage()) trabajoFallido_ = true;
}

void TfGENELIMP::EjecutarComando(const LineaInstruccion& linea) {
  if (Salidas().EjecutarComando) Salidas().EjecutarComando(*this, linea);
}
