#include "printing/barcode/Barcd4.h"

#include "platform/data/Field.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRubberBand>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

int PixelesPorPulgadaPantalla() {
  const QScreen* pantalla = QGuiApplication::primaryScreen();
  return pantalla ? int(std::lround(pantalla->logicalDotsPerInchX())) : 96;
}

double Pulgadas(int pixeles, int resolucion) { return std::round(pixeles * 1000.0 / resolucion) / 1000.0; }
int Pixeles(double pulgadas, int resolucion) { return int(std::lround(pulgadas * resolucion)); }

bool EsPostNet(TBarCodeType tipo) {
  return tipo == TBarCodeType::PostNet || tipo == TBarCodeType::PostnetZip || tipo == TBarCodeType::PostNetZipPlus4 ||
         tipo == TBarCodeType::Postnet11;
}

bool EsEan(TBarCodeType tipo) {
  return tipo == TBarCodeType::EAN || tipo == TBarCodeType::EAN8 || tipo == TBarCodeType::EAN13;
}

}  // namespace

ResolucionDestino ResolucionDeDestino(const QPaintDevice* destino, int resolucion, bool propia) {
  if (destino && dynamic_cast<const QPagedPaintDevice*>(destino))
    return {destino->logicalDpiX(), destino->logicalDpiY()};
  int r = resolucion >= 5 ? resolucion : PixelesPorPulgadaPantalla();
  if (resolucion < 5 && !propia && destino && destino->devType() == QInternal::Widget) r = destino->logicalDpiX();
  return {r, r};
}

namespace {

constexpr int kMargenBorde = 3;
constexpr int kLadoMinimo = 8;

}  // namespace

TPrintBarcode::TPrintBarcode(QWidget* parent) : QWidget(parent), DataAwareControl(this) {
  link_.OnRefresh = [this] { MostrarTexto(); };
  setMouseTracking(true);
  if (width() < 100) resize(100, height());
}

TPrintBarcode::~TPrintBarcode() = default;

void TPrintBarcode::SetText(const QString& text) {
  text_ = text.left(kLargoMaximoTexto);
  if (parentWidget()) update();
}

void TPrintBarcode::SetBarCodeType(TBarCodeType tipo) {
  tipo_ = tipo;
  if (EsPostNet(tipo)) autoSizing_ = true;
  if (isVisible()) update();
}

void TPrintBarcode::SetMagnification(double valor) {
  if (!std::isfinite(valor)) return;
  if (tipo_ == TBarCodeType::Code128 || tipo_ == TBarCodeType::EAN128)
    magnification_ = std::clamp(valor, 0.2, 1.25);
  else if (EsEan(tipo_))
    magnification_ = std::clamp(valor, 0.8, 2.0);
}

void TPrintBarcode::MostrarTexto() {
  Field* field = BoundField();
  if (!field) return;
  QString texto = field->AsString();
  const int minimo = tipo_ == TBarCodeType::EAN13 || tipo_ == TBarCodeType::ITF14 ? 12
                     : tipo_ == TBarCodeType::EAN8                                 ? 7
                                                                                   : 0;
  if (texto.size() < minimo) texto = QString(minimo - texto.size(), u'0') + texto;
  SetText(texto);
}

double TPrintBarcode::HeightInInches() const { return Pulgadas(height(), logicalDpiY()); }
void TPrintBarcode::SetHeightInInches(double pulgadas) { resize(width(), Pixeles(pulgadas, logicalDpiY())); }
double TPrintBarcode::WidthInInches() const { return Pulgadas(width(), logicalDpiX()); }
void TPrintBarcode::SetWidthInInches(double pulgadas) { resize(Pixeles(pulgadas, logicalDpiX()), height()); }
double TPrintBarcode::TopInInches() const { return Pulgadas(y(), logicalDpiY()); }
void TPrintBarcode::SetTopInInches(double pulgadas) { move(x(), Pixeles(pulgadas, logicalDpiY())); }
double TPrintBarcode::LeftInInches() const { return Pulgadas(x(), logicalDpiX()); }
void TPrintBarcode::SetLeftInInches(double pulgadas) { move(Pixeles(pulgadas, logicalDpiX()), y()); }

void TPrintBarcode::DrawOn(QPainter& pintor, int resolucion) {
  QPaintDevice* destino = pintor.device();
  const bool propia = destino == this;
  const int pantalla = PixelesPorPulgadaPantalla();
  ParametrosCodigoBarras p;
  const ResolucionDestino resolucionDestino = ResolucionDeDestino(destino, resolucion, propia);
  p.resolucionX = resolucionDestino.x;
  p.resolucionY = resolucionDestino.y;
  const double escala = double(p.resolucionX) / pantalla;
  if (!propia) p.origen = autoPosition_ ? QPoint(int(x() * escala), int(y() * escala)) : pos();
  p.ancho = width();
  p.alto = height();
  if (autoSizing_ && (tipo_ == TBarCodeType::Code39 || tipo_ == TBarCodeType::Interleaved2Of5 ||
                      tipo_ == TBarCodeType::ITF14)) {
    p.ancho = int(p.ancho * escala);
    p.alto = int(p.alto * escala);
  }
  p.tipo = tipo_;
  p.texto = text_;
  p.zonaLibre = clearZone_;
  p.autoSizing = autoSizing_;
  p.magnificacion = magnification_;
  p.superficiePropia = propia;
  p.autoPosition = autoPosition_;
  p.anchoDestino = destino ? destino->width() : 0;

  const DibujoCodigoBarras dibujo = DisponerCodigoBarras(p);
  if (propia) pintor.fillRect(rect(), color_);
  PintarCodigoBarras(pintor, dibujo, barColor_, color_);
  if (dibujo.tamanoPropio && *dibujo.tamanoPropio != size()) resize(*dibujo.tamanoPropio);
}

void TPrintBarcode::paintEvent(QPaintEvent*) {
  QPainter pintor(this);
  DrawOn(pintor);
}

int TPrintBarcode::BordesBajo(QPoint punto) const {
  int bordes = Ninguno;
  if (punto.x() < kMargenBorde) bordes |= Izquierdo;
  if (punto.y() < kMargenBorde) bordes |= Superior;
  if (width() - 4 - punto.x() < kMargenBorde) bordes |= Derecho;
  if (height() - 4 - punto.y() < kMargenBorde) bordes |= Inferior;
  return bordes;
}

void TPrintBarcode::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  arrastrando_ = true;
  bordesArrastrados_ = BordesBajo(event->position().toPoint());
  inicioArrastre_ = event->globalPosition();
  rectOriginal_ = rectNuevo_ = geometry();
  banda_ = std::make_unique<QRubberBand>(QRubberBand::Rectangle, parentWidget());
}

void TPrintBarcode::mouseMoveEvent(QMouseEvent* event) {
  if (!arrastrando_) {
    const int bordes = BordesBajo(event->position().toPoint());
    const bool horizontal = bordes & (Izquierdo | Derecho);
    const bool vertical = bordes & (Superior | Inferior);
    const bool diagonalDescendente = (bordes & (Izquierdo | Superior)) == (Izquierdo | Superior) ||
                                     (bordes & (Derecho | Inferior)) == (Derecho | Inferior);
    setCursor(horizontal && vertical ? (diagonalDescendente ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor)
              : horizontal           ? Qt::SizeHorCursor
              : vertical             ? Qt::SizeVerCursor
                                     : Qt::ArrowCursor);
    return;
  }
  const QPoint desplazamiento = (event->globalPosition() - inicioArrastre_).toPoint();
  rectNuevo_ = rectOriginal_;
  if (bordesArrastrados_ == Ninguno) {
    rectNuevo_.translate(desplazamiento);
  } else {
    if (bordesArrastrados_ & Izquierdo) rectNuevo_.setLeft(rectOriginal_.left() + desplazamiento.x());
    if (bordesArrastrados_ & Superior) rectNuevo_.setTop(rectOriginal_.top() + desplazamiento.y());
    if (bordesArrastrados_ & Derecho) rectNuevo_.setRight(rectOriginal_.right() + desplazamiento.x());
    if (bordesArrastrados_ & Inferior) rectNuevo_.setBottom(rectOriginal_.bottom() + desplazamiento.y());
  }
  if (!banda_) return;
  const bool visible = rectNuevo_.width() > kLadoMinimo && rectNuevo_.height() > kLadoMinimo;
  if (visible) banda_->setGeometry(rectNuevo_);
  banda_->setVisible(visible);
}

void TPrintBarcode::mouseReleaseEvent(QMouseEvent* event) {
  if (!arrastrando_ || event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  banda_.reset();
  if (rectNuevo_.width() > kLadoMinimo && rectNuevo_.height() > kLadoMinimo) {
    setGeometry(rectNuevo_);
    update();
  }
  arrastrando_ = false;
  bordesArrastrados_ = Ninguno;
}
