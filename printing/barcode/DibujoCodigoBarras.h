#pragma once

#include "printing/barcode/TipoCodigoBarras.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class QPainter;

// What a barcode is drawn from: the text, where on the target and how large
// (pixels), at which resolution (dots per inch across and down).
struct ParametrosCodigoBarras {
  TBarCodeType tipo = TBarCodeType::Interleaved2Of5;
  QString texto;
  QPoint origen;
  int ancho = 0;
  int alto = 0;
  int resolucionX = 96;
  int resolucionY = 96;
  bool zonaLibre = true;
  bool autoSizing = true;
  double magnificacion = 1.0;
  // On its own surface the control takes the size of some symbols.
  bool superficiePropia = true;
  // A mark placed by its own rule on another target, whose width is given.
  bool autoPosition = false;
  int anchoDestino = 0;
};

// One piece of a drawn barcode: a bar, a space (or background), or
// human-readable text on its background box.
struct TrazoCodigo {
  enum Clase { Barra, Espacio, Texto };
  TrazoCodigo(Clase c, QRect r, QString t = {}, int alto = 0)
      : clase(c), rect(r), texto(std::move(t)), altoTexto(alto) {}

  Clase clase = Barra;
  QRect rect;
  QString texto;
  int altoTexto = 0;  // the font's cell height in pixels

  bool operator==(const TrazoCodigo&) const = default;
};

struct DibujoCodigoBarras {
  std::vector<TrazoCodigo> trazos;  // painted in this order
  std::optional<QSize> tamanoPropio;

  bool Vacio() const { return trazos.empty(); }
};

// The bars, spaces and texts of the barcode by the symbology's pixel rules;
// nothing when the text cannot be drawn.
DibujoCodigoBarras DisponerCodigoBarras(const ParametrosCodigoBarras& parametros);

void PintarCodigoBarras(QPainter& pintor, const DibujoCodigoBarras& dibujo, const QColor& colorBarras,
                        const QColor& colorFondo);

// The human-readable digits' font: "Ariel" as the system names it.
inline constexpr const char* kFuenteDigitos = "Liberation Sans";
