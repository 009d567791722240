#pragma once

#include "platform/controls/FieldDataLink.h"
#include "printing/barcode/DibujoCodigoBarras.h"
#include "printing/barcode/TipoCodigoBarras.h"

#include <QColor>
#include <QRect>
#include <QWidget>

#include <memory>

class QPaintDevice;
class QRubberBand;

// The resolution across and down a barcode is drawn at on a target: the one
// given, or below 5 the screen's (a widget's own); a printer or PDF device
// always its own.
struct ResolucionDestino {
  int x = 96;
  int y = 96;
};
ResolucionDestino ResolucionDeDestino(const QPaintDevice* destino, int resolucion, bool propia);

// A barcode of its text, drawn on itself or onto another target (a page
// picture, the printer) at that target's resolution; it may follow a data
// field, and the user moves and sizes it with the mouse.
class TPrintBarcode : public QWidget, public DataAwareControl {
  Q_OBJECT
  Q_PROPERTY(QString Text READ Text WRITE SetText)
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)

 public:
  static constexpr int kLargoMaximoTexto = 280;

  explicit TPrintBarcode(QWidget* parent = nullptr);
  ~TPrintBarcode() override;

  QString Text() const { return text_; }
  void SetText(const QString& text);
  TBarCodeType BarCodeType() const { return tipo_; }
  void SetBarCodeType(TBarCodeType tipo);
  bool ClearZone() const { return clearZone_; }
  void SetClearZone(bool valor) { clearZone_ = valor; update(); }
  bool AutoPosition() const { return autoPosition_; }
  void SetAutoPosition(bool valor) { autoPosition_ = valor; }
  bool AutoSizing() const { return autoSizing_; }
  void SetAutoSizing(bool valor) { autoSizing_ = valor; update(); }
  // Kept only where the symbology sizes its modules by it, within its range.
  double Magnification() const { return magnification_; }
  void SetMagnification(double valor);
  QColor BarColor() const { return barColor_; }
  void SetBarColor(const QColor& color) { barColor_ = color; update(); }
  QColor Color() const { return color_; }
  void SetColor(const QColor& color) { color_ = color; update(); }

  double HeightInInches() const;
  void SetHeightInInches(double pulgadas);
  double WidthInInches() const;
  void SetWidthInInches(double pulgadas);
  double TopInInches() const;
  void SetTopInInches(double pulgadas);
  double LeftInInches() const;
  void SetLeftInInches(double pulgadas);

  // Draws onto the painter's device; a resolution below 5 means the
  // screen's (a widget's own). A printer or PDF device gives its own.
  void DrawOn(QPainter& pintor, int resolucion = 0);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  enum Borde { Ninguno = 0, Izquierdo = 1, Superior = 2, Derecho = 4, Inferior = 8 };
  int BordesBajo(QPoint punto) const;
  void MostrarTexto();

  QString text_ = QStringLiteral("1234");
  TBarCodeType tipo_ = TBarCodeType::Interleaved2Of5;
  bool clearZone_ = true;
  bool autoPosition_ = false;
  bool autoSizing_ = true;
  double magnification_ = 1.0;
  QColor barColor_ = Qt::black;
  QColor color_ = Qt::white;

  // The drag under way: the edges dragged (none: the whole control), where it
  // began, the rectangle then and now.
  bool arrastrando_ = false;
  int bordesArrastrados_ = Ninguno;
  QPointF inicioArrastre_;
  QRect rectOriginal_;
  QRect rectNuevo_;
  std::unique_ptr<QRubberBand> banda_;
};
