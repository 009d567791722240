// The engine form as the preview window: one page at a time, zoomed, with
// the ruler sheet over it, printing and exports.
#include "core/datamodule/ExportacionExcel.h"
#include "core/datamodule/Genemodu.h"
#include "core/forms/TeclasFormulario.h"
#include "core/progress/Geneprog.h"
#include "core/services/Ayuda.h"
#include "platform/CommonDialogs.h"
#include "platform/VirtualKeys.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "printing/Genelimp.h"
#include "printing/barcode/Barcd4.h"
#include "ui_GENELIMP.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <cmath>

namespace {

// The screen less the window's frame and tool bar, as the preview measures it.
QSize AreaVista(const QWidget& formulario) {
  const QScreen* pantalla = formulario.screen() ? formulario.screen() : QGuiApplication::primaryScreen();
  const QSize tamano = pantalla ? pantalla->size() : QSize(1024, 768);
  return {tamano.width() - 8, tamano.height() - 76};
}

int ZoomAjustado(int disponible, int lado) { return int(std::lround(disponible * 100.0 / std::max(1, lado))); }

QString ParametroGeneral(const QString& nombre) {
  if (!ModuloDatos || !ModuloDatos->ParamGenerales->Active()) return {};
  const Field* campo = ModuloDatos->ParamGenerales->FindField(nombre);
  return campo ? campo->AsString() : QString();
}

}  // namespace

void TfGENELIMP::PrepararVista() {
  ui_->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  auto* codigoBarras = new TPrintBarcode(this);
  codigoBarras->setObjectName(u"PrintBarcode1"_qs);
  codigoBarras->setGeometry(0, 0, 200, 200);
  codigoBarras->SetColor(Qt::white);
  codigoBarras->SetText(u"841234567890"_qs);
  codigoBarras->SetBarCodeType(TBarCodeType::EAN13);
  codigoBarras->SetAutoSizing(false);
  codigoBarras->hide();

  connect(ui_->SpinEditPagina, &QSpinBox::valueChanged, this, [this] { SpinEditPaginaChange(); });
  connect(ui_->SpinEditZoom, &QSpinBox::valueChanged, this, [this] { SpinEditZoomChange(); });
  const auto alPulsar = [this](QAbstractButton* boton, void (TfGENELIMP::*orden)()) {
    connect(boton, &QAbstractButton::clicked, this, [this, orden] { (this->*orden)(); });
  };
  alPulsar(ui_->pbPrimeraPagina, &TfGENELIMP::pbPrimeraPaginaClick);
  alPulsar(ui_->pbUltimaPagina, &TfGENELIMP::pbUltimaPaginaClick);
  alPulsar(ui_->pbZoomTo100, &TfGENELIMP::pbZoomTo100Click);
  alPulsar(ui_->pbZoomToWidth, &TfGENELIMP::pbZoomToWidthClick);
  alPulsar(ui_->pbZoomToFit, &TfGENELIMP::pbZoomToFitClick);
  alPulsar(ui_->pbImprimir, &TfGENELIMP::pbImprimirClick);
  alPulsar(ui_->pbImprimirPagina, &TfGENELIMP::pbImprimirPaginaClick);
  alPulsar(ui_->pbExportarAExcel, &TfGENELIMP::pbExportarAExcelClick);
  alPulsar(ui_->pbExportarAPDF, &TfGENELIMP::pbExportarAPDFClick);
  alPulsar(ui_->pbAyuda, &TfGENELIMP::pbAyudaClick);
  connect(ui_->pbSalir, &QPushButton::clicked, this, [this] { close(); });
  // Esc passes the suite-wide routine (it cancels a listing) and closes the preview.
  OnKeyDown = [](Form& formulario, quint16& tecla, Qt::KeyboardModifiers estado) {
    TeclasFormulario(formulario, tecla, estado);
    if (tecla == VK::Escape && estado == Qt::NoModifier) {
      tecla = 0;
      formulario.close();
    }
  };
}

TPrintBarcode* TfGENELIMP::PrintBarcode1() const { return findChild<TPrintBarcode*>(u"PrintBarcode1"_qs); }

void TfGENELIMP::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  FormShow();
}

void TfGENELIMP::FormShow() {
  SoloDocumentoPagina = false;
  const std::optional<DefinicionImpreso>& impreso = ejecucion_.Definicion();
  const QString descripcion = impreso ? impreso->descripcion : QString();
  SetCaption(descripcion.isEmpty() ? u"Previsualización de Impresos"_qs : u"Previsualización de "_qs + descripcion);
  {
    const QSignalBlocker bloqueo(ui_->SpinEditPagina);
    ui_->SpinEditPagina->setRange(1, std::max(1, NumeroPaginas()));
    ui_->SpinEditPagina->setValue(1);
  }
  MostrarPagina(1);
  const QString formato = ParametroGeneral(u"FmtVisualizacionPrevia"_qs);
  if (formato == u"Normal") {
    pbZoomTo100Click();
  } else if (formato == u"Pagina Completa") {
    pbZoomToFitClick();
  } else if (formato == u"Ancho Ajustado") {
    pbZoomToWidthClick();
  } else {
    bool numero = false;
    const int zoom = formato.trimmed().toInt(&numero);
    SetZoom(numero ? zoom : 100);
  }
}

int TfGENELIMP::PaginaMostrada() const { return ui_->SpinEditPagina->value(); }
int TfGENELIMP::Zoom() const { return ui_->SpinEditZoom->value(); }

void TfGENELIMP::SetZoom(int zoom) {
  if (zoom == Zoom()) SpinEditZoomChange();
  ui_->SpinEditZoom->setValue(zoom);
}

QImage TfGENELIMP::ImagenMostrada() const { return ui_->Image1->pixmap().toImage(); }

void TfGENELIMP::SpinEditPaginaChange() {
  if (ejecucion_.destino == DestinoSalida::Impresora) return;
  const int pagina = std::clamp(PaginaMostrada(), 1, std::max(1, NumeroPaginas()));
  if (pagina != PaginaMostrada()) {
    ui_->SpinEditPagina->setValue(pagina);
    return;
  }
  MostrarPagina(pagina);
}

void TfGENELIMP::pbPrimeraPaginaClick() { ui_->SpinEditPagina->setValue(1); }
void TfGENELIMP::pbUltimaPaginaClick() { ui_->SpinEditPagina->setValue(NumeroPaginas()); }
void TfGENELIMP::SpinEditZoomChange() { MostrarPagina(PaginaMostrada()); }
void TfGENELIMP::pbZoomTo100Click() { SetZoom(100); }

void TfGENELIMP::pbZoomToWidthClick() {
  SetZoom(ZoomAjustado(AreaVista(*this).width(), ejecucion_.geometria.anchoPagina));
}

void TfGENELIMP::pbZoomToFitClick() {
  const QSize area = AreaVista(*this);
  SetZoom(std::min(ZoomAjustado(area.width(), ejecucion_.geometria.anchoPagina),
                   ZoomAjustado(area.height(), ejecucion_.geometria.altoPagina)));
}

void TfGENELIMP::MostrarPagina(int n) {
  if (n < 1 || n > paginas_->PageCount()) {
    ui_->Image1->clear();
    return;
  }
  const PageRecord pagina = paginas_->Page(n);
  QImage imagen = pagina.cells.empty() ? QImage() : pagina.cells.front().picture;
  if (imagen.isNull()) {
    ui_->Image1->clear();
    return;
  }
  if (!paginaTrabajo_.isNull()) {
    QPainter pintor(&imagen);
    pintor.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    pintor.drawImage(0, 0, paginaTrabajo_);
  }
  const double escala = Zoom() / 100.0;
  ui_->Image1->setPixmap(QPixmap::fromImage(imagen));
  ui_->Image1->resize(int(std::lround(escala * ejecucion_.geometria.anchoPagina)),
                      int(std::lround(escala * ejecucion_.geometria.altoPagina)));
  CentrarImagen();
}

void TfGENELIMP::CentrarImagen() {
  const QSize area = AreaVista(*this);
  const QSize imagen = ui_->Image1->size();
  const int izquierda = imagen.width() < area.width() ? int(std::lround((area.width() - imagen.width()) / 2.0)) : 0;
  const int arriba = imagen.height() < area.height() ? int(std::lround((area.height() - imagen.height()) / 2.0)) : 0;
  ui_->Image1->move(izquierda, arriba);
  ui_->AreaPagina->resize(std::max(area.width(), imagen.width()), std::max(area.height(), imagen.height()));
}

void TfGENELIMP::DibujarRegla() {
  paginaTrabajo_ = QImage();
  if (ParametroGeneral(u"PrevisualizacionSinRegla"_qs) == u"SI") return;
  GeometriaImpreso& geometria = ejecucion_.geometria;
  const double horizontal = std::exchange(geometria.ajustes.compresionHorizontal, 1.0);
  const double vertical = std::exchange(geometria.ajustes.compresionVertical, 1.0);
  paginaTrabajo_ = QImage(std::max(1, geometria.anchoPagina), std::max(1, geometria.altoPagina), QImage::Format_RGB32);
  paginaTrabajo_.fill(Qt::white);
  {
    QPainter pintor(&paginaTrabajo_);
    QFont fuente(u"Small Fonts"_qs);
    fuente.setPixelSize(8);
    pintor.setFont(fuente);
    const QPen numeros(QColor(0x80, 0x80, 0x80));
    const QPen lineas(QColor(0xC0, 0xC0, 0xC0));
    const auto numero = [&](int x, int y, int valor) {
      pintor.setPen(numeros);
      pintor.drawText(QRect(x, y, 40, 12), Qt::AlignLeft | Qt::AlignTop, QString::number(valor));
      pintor.setPen(lineas);
    };
    for (int x = 0; x <= geometria.anchoPapel; x += 10) {
      const int px = geometria.PixelesPaginaX(x);
      numero(px + 1, 1, x);
      pintor.drawLine(px, 0, px, paginaTrabajo_.height());
    }
    const int paso = geometria.modoTexto ? 6 : 10;
    for (int y = 0; y <= geometria.altoPapel; y += paso) {
      const int py = geometria.PixelesPaginaY(y);
      numero(1, py + 1, y);
      pintor.drawLine(0, py, paginaTrabajo_.width(), py);
    }
  }
  geometria.ajustes.compresionHorizontal = horizontal;
  geometria.ajustes.compresionVertical = vertical;
}

void TfGENELIMP::ImprimirDesdeVista() {
  const int paginas = NumeroPaginas();
  ejecucion_.destino = DestinoSalida::Impresora;
  EjecutarImpreso();
  ejecucion_.destino = DestinoSalida::Pantalla;
  ejecucion_.numeroPaginas = paginas;
}

void TfGENELIMP::pbImprimirClick() { ImprimirDesdeVista(); }

void TfGENELIMP::pbImprimirPaginaClick() {
  CancelarListado = false;
  SoloDocumentoPagina = true;
  ejecucion_.soloClave = claves_.value(PaginaMostrada() - 1);
  ImprimirDesdeVista();
  SoloDocumentoPagina = false;
}

void TfGENELIMP::pbExportarAExcelClick() { ExportarExcel(Temporal, LTemporal, QString(), QString()); }

void TfGENELIMP::pbExportarAPDFClick() {
  if (!ModuloDatos) return;
  QFileDialog& dialogo = *ModuloDatos->SaveDialog1;
  const QStringList filtros = dialogo.nameFilters();
  const std::optional<DefinicionImpreso>& impreso = ejecucion_.Definicion();
  const QString descripcion = impreso ? impreso->descripcion : QString();
  SetFileName(dialogo, descripcion.isEmpty() ? u"Impreso"_qs : descripcion);
  SetFilter(dialogo, u"Archivos PDF (*.PDF)|*.PDF"_qs);
  const bool aceptado = CommonDialogsSeam::Get().Execute(dialogo);
  dialogo.setNameFilters(filtros);
  if (!aceptado) return;
  QString archivo = FileName(dialogo);
  if (!archivo.endsWith(u".pdf"_qs, Qt::CaseInsensitive)) archivo += u".pdf"_qs;

  // The preview's pages, keys and geometry stay as they are shown.
  std::unique_ptr<RecordedPages> paginas = std::exchange(paginas_, std::make_unique<RecordedPages>());
  const QStringList claves = claves_;
  const GeometriaImpreso geometria = ejecucion_.geometria;
  const int numero = NumeroPaginas();
  const QImage regla = paginaTrabajo_;
  SalidaImpreso = u"PDF:"_qs + archivo;
  ImprimirImpreso();
  SalidaImpreso.clear();
  paginas_ = std::move(paginas);
  claves_ = claves;
  ejecucion_.geometria = geometria;
  ejecucion_.numeroPaginas = numero;
  ejecucion_.destino = DestinoSalida::Pantalla;
  paginaTrabajo_ = regla;
  MostrarPagina(PaginaMostrada());
}

void TfGENELIMP::pbAyudaClick() { MostrarAyuda(ContextoAyuda(Caption())); }
