#include "printing/barcode/Code128.h"
#include "printing/barcode/DibujoCodigoBarras.h"
#include "printing/barcode/Ean.h"
#include "printing/barcode/Postal.h"
#include "tests/printing/barcode/CodificadorReferencia.h"
#include "tests/printing/barcode/MuestrasCodigos.h"

#include <zint.h>

#include <QDir>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

ParametrosCodigoBarras Parametros(TBarCodeType tipo, const QString& texto, int ancho, int alto = 100) {
  ParametrosCodigoBarras p;
  p.tipo = tipo;
  p.texto = texto;
  p.ancho = ancho;
  p.alto = alto;
  return p;
}

// The bars' and spaces' widths in order, from the first trace.
std::vector<int> Anchos(const DibujoCodigoBarras& dibujo) {
  std::vector<int> anchos;
  for (const TrazoCodigo& t : dibujo.trazos) anchos.push_back(t.rect.width());
  return anchos;
}

QImage Pintado(const DibujoCodigoBarras& dibujo, QSize tamano) {
  QImage imagen(tamano, QImage::Format_RGB32);
  imagen.fill(Qt::white);
  QPainter pintor(&imagen);
  PintarCodigoBarras(pintor, dibujo, Qt::black, Qt::white);
  return imagen;
}

// The modules read along row y, one sample in the middle of each.
std::vector<bool> Modulos(const QImage& imagen, int x0, int modulo, int cuantos, int y) {
  std::vector<bool> modulos;
  for (int i = 0; i < cuantos; ++i) modulos.push_back(imagen.pixelColor(x0 + i * modulo + modulo / 2, y) == Qt::black);
  return modulos;
}

}  // namespace

TEST(DibujoCodigoBarras, Code39EligeLosAnchosQueCabenEnElAncho) {
  const struct {
    QString texto;
    int ancho;
    bool zonaLibre;
    int margen, estrecho, grueso;  // margen in narrow elements; 0: nothing drawn
  } casos[] = {
      {u"A"_qs, 56, true, 0, 0, 0},     // under (n + 2) x 13 + 18
      {u"A"_qs, 57, true, 9, 1, 2},     // no pair fits: (2, 1)
      {u"A"_qs, 64, true, 8, 1, 3},     // (3, 1) with 16 narrow of quiet zone
      {u"A"_qs, 90, true, 21, 1, 3},    // (5, 2) would need 40 of quiet zone
      {u"A"_qs, 90, false, 1, 2, 5},    // without it (5, 2) fits
      {u"A"_qs, 584, true, 15, 8, 20},  // (24, 9) misses by one: (20, 8)
      {u"A"_qs, 585, true, 75, 3, 8},   // (24, 9) fits: scaled, unit 585 div 435
      {u"A"_qs, 900, true, 53, 6, 16},  // unit 2
      {u"A"_qs, 585, false, 75, 3, 8},  // unit 585 div 606 is 0: then 1
      {QString(280, u'Z'), 40000, true, 4552, 3, 8},  // unit 0 becomes 1
  };
  for (const auto& c : casos) {
    ParametrosCodigoBarras p = Parametros(TBarCodeType::Code39, c.texto, c.ancho);
    p.zonaLibre = c.zonaLibre;
    const DibujoCodigoBarras dibujo = DisponerCodigoBarras(p);
    SCOPED_TRACE(testing::Message() << c.texto.size() << " characters in " << c.ancho
                                    << (c.zonaLibre ? "" : " without quiet zone"));
    if (c.margen == 0) {
      EXPECT_TRUE(dibujo.Vacio());
      continue;
    }
    const std::vector<int> anchos = Anchos(dibujo);
    ASSERT_GT(anchos.size(), 4u);
    // "*" begins narrow bar, wide space.
    EXPECT_EQ(anchos[1], c.estrecho);
    EXPECT_EQ(anchos[2], c.grueso);
    EXPECT_EQ(anchos.front(), c.margen * c.estrecho);
    // The right margin is one narrow element less, after the stop's gap.
    EXPECT_EQ(anchos.back(), c.margen > 1 ? (c.margen - 1) * c.estrecho : c.estrecho);
    int total = 0;
    for (int a : anchos) total += a;
    EXPECT_LE(total, c.ancho);
  }
}

TEST(DibujoCodigoBarras, Entrelazado2de5ConBarrasPortadoras) {
  ParametrosCodigoBarras p = Parametros(TBarCodeType::Interleaved2Of5, u"123"_qs, 200, 60);
  p.origen = QPoint(10, 5);
  const DibujoCodigoBarras dibujo = DisponerCodigoBarras(p);
  // Four digits: (6, 2) needs 20 x 2 + 4 x 18 + 16 = 128, (8, 3) 60 + 4 x 25 + 24 = 184.
  const QImage imagen = Pintado(dibujo, QSize(220, 70));
  const int margen = (200 - 25 * 4 - 24 + 3) / 6;
  const int inicio = 10 + margen * 3;
  const int fin = inicio + 4 * 3 + 4 * 25 + 8 + 3 + 3;
  const SimboloReferencia referencia = CodificarReferencia(BARCODE_C25INTER, "0123");
  std::vector<int> esperado;
  for (int a : referencia.Anchos()) esperado.push_back(a > 1 ? 8 : 3);
  std::vector<int> medido;
  int x = inicio;
  while (x < fin) {
    const QColor color = imagen.pixelColor(x, 30);
    int ancho = 0;
    while (x < fin && imagen.pixelColor(x, 30) == color) ++x, ++ancho;
    medido.push_back(ancho);
  }
  EXPECT_EQ(medido, esperado) << "0123 at (8, 3)";
  EXPECT_EQ(imagen.pixelColor(inicio - 1, 30), Qt::white);
  for (int y : {5, 10, 59, 64}) EXPECT_EQ(imagen.pixelColor(inicio + 5, y), Qt::black) << "bearer bar at " << y;
  for (int y : {4, 11, 58, 65}) EXPECT_EQ(imagen.pixelColor(inicio + 5, y), Qt::white) << "no bearer at " << y;
  EXPECT_EQ(imagen.pixelColor(fin - 1, 5), Qt::black);
  EXPECT_EQ(imagen.pixelColor(fin, 5), Qt::white);
}

TEST(DibujoCodigoBarras, TamanoDeModuloPorResolucionYMagnificacion) {
  const struct {
    TBarCodeType tipo;
    QString texto;
    int resolucion;
    double magnificacion;
    int modulo, alto;
  } casos[] = {
      {TBarCodeType::Code128, u"AB"_qs, 96, 1.0, 3, 96},
      {TBarCodeType::Code128, u"AB"_qs, 96, 0.2, 1, 32},
      {TBarCodeType::Code128, u"AB"_qs, 300, 1.0, 11, 352},
      {TBarCodeType::EAN128, u"AB"_qs, 96, 0.2, 1, 75},  // at least 20 mm high
      {TBarCodeType::EAN128, u"AB"_qs, 300, 1.25, 14, 448},
  };
  for (const auto& c : casos) {
    ParametrosCodigoBarras p = Parametros(c.tipo, c.texto, 10);
    p.resolucionX = p.resolucionY = c.resolucion;
    p.magnificacion = c.magnificacion;
    const DibujoCodigoBarras dibujo = DisponerCodigoBarras(p);
    ASSERT_FALSE(dibujo.Vacio());
    const std::vector<int> modulos = ModulosCode128(*SimbolosCode128(c.texto, c.tipo == TBarCodeType::EAN128));
    EXPECT_EQ(dibujo.trazos.front().rect.width(), 10 * c.modulo) << "quiet zone";
    EXPECT_EQ(dibujo.trazos[1].rect.width(), modulos.front() * c.modulo);
    EXPECT_EQ(dibujo.trazos[1].rect.height(), c.alto);
    const int simbolos = c.tipo == TBarCodeType::EAN128 ? 5 : 4;
    EXPECT_EQ(dibujo.tamanoPropio, QSize((11 * simbolos + 13 + 20) * c.modulo, 100));
  }
}

TEST(DibujoCodigoBarras, Code128PintadoModuloAModulo) {
  ParametrosCodigoBarras p = Parametros(TBarCodeType::Code128, u"Hola\t1234 mundo"_qs, 10);
  p.resolucionX = p.resolucionY = 200;  // 7 pixels a module
  p.origen = QPoint(3, 4);
  p.zonaLibre = false;
  const std::vector<bool> modulos = ModulosDeAnchos(ModulosCode128(*SimbolosCode128(p.texto, false)));
  const QImage imagen = Pintado(DisponerCodigoBarras(p), QSize(int(modulos.size()) * 7 + 10, 240));
  EXPECT_EQ(Modulos(imagen, 3, 7, int(modulos.size()), 100), modulos);
  EXPECT_EQ(imagen.pixelColor(3, 4 + 32 * 7 - 1), Qt::black) << "32 modules high";
  EXPECT_EQ(imagen.pixelColor(3, 4 + 32 * 7), Qt::white);
}

TEST(DibujoCodigoBarras, PostNetYFimPorResolucion) {
  ParametrosCodigoBarras p = Parametros(TBarCodeType::PostnetZip, u"12345"_qs, 10, 50);
  const DibujoCodigoBarras dibujo = DisponerCodigoBarras(p);
  // 96 dpi: pitch 4, bars 2 wide, full 12 and half 5 high.
  ASSERT_EQ(dibujo.trazos.size(), 32u * 2 - 1);
  EXPECT_EQ(dibujo.trazos[0].rect, QRect(0, 0, 2, 12));
  EXPECT_EQ(dibujo.trazos[1].rect, QRect(2, 0, 2, 12));
  EXPECT_EQ(dibujo.trazos[2].rect, QRect(4, 7, 2, 5)) << "1: 00011";
  EXPECT_EQ(dibujo.trazos[8].rect, QRect(16, 0, 2, 12));
  EXPECT_EQ(dibujo.tamanoPropio, QSize(32 * 4 + 4, 50));
  p.resolucionX = p.resolucionY = 300;
  const DibujoCodigoBarras fino = DisponerCodigoBarras(p);
  EXPECT_EQ(fino.trazos[0].rect, QRect(0, 0, 7, 38));
  EXPECT_EQ(fino.trazos[2].rect, QRect(14, 23, 7, 15));

  ParametrosCodigoBarras fim = Parametros(TBarCodeType::FIMA, QString(), 10, 40);
  fim.origen = QPoint(5, 5);
  const DibujoCodigoBarras propio = DisponerCodigoBarras(fim);
  EXPECT_EQ(propio.tamanoPropio, QSize(18 * 3, 40));
  EXPECT_EQ(propio.trazos[0].rect, QRect(5, 5, 3, 40));
  fim.superficiePropia = false;
  fim.autoPosition = true;
  fim.anchoDestino = 816;
  const DibujoCodigoBarras enPagina = DisponerCodigoBarras(fim);
  EXPECT_EQ(enPagina.trazos[0].rect, QRect(816 - 192 - 54 - 2, 1, 3, 40));
  EXPECT_FALSE(enPagina.tamanoPropio);
}

TEST(DibujoCodigoBarras, EanPorAnchoOPorResolucion) {
  const struct {
    QString texto;
    bool autoSizing;
    int ancho, resolucion;
    double magnificacion;
    int modulo;  // 0: nothing drawn
  } casos[] = {
      {u"590123412345"_qs, false, 226, 96, 1.0, 2}, {u"590123412345"_qs, false, 112, 96, 1.0, 0},
      {u"9638507"_qs, false, 81, 96, 1.0, 1},       {u"9638507"_qs, false, 80, 96, 1.0, 0},
      {u"590123412345"_qs, true, 1, 96, 1.0, 2},    {u"590123412345"_qs, true, 1, 300, 1.0, 4},
      {u"590123412345"_qs, true, 1, 300, 2.0, 7},   {u"9638507"_qs, true, 1, 300, 1.0, 4},
      {u"9638507"_qs, true, 1, 600, 2.0, 15},
  };
  for (const auto& c : casos) {
    ParametrosCodigoBarras p = Parametros(TBarCodeType::EAN13, c.texto, c.ancho, 100);
    p.autoSizing = c.autoSizing;
    p.resolucionX = p.resolucionY = c.resolucion;
    p.magnificacion = c.magnificacion;
    const DibujoCodigoBarras dibujo = DisponerCodigoBarras(p);
    SCOPED_TRACE(c.texto.toStdString() + (c.autoSizing ? " self-sized" : " by width"));
    if (!c.modulo) {
      EXPECT_TRUE(dibujo.Vacio());
      continue;
    }
    const bool ean13 = c.texto.size() == 12;
    const int inicio = ean13 ? 11 : 7;
    const int altoBarras = c.autoSizing ? 55 * c.modulo : 100 - 12 * c.modulo;
    const TrazoCodigo* guarda = nullptr;
    for (const TrazoCodigo& t : dibujo.trazos)
      if (t.clase == TrazoCodigo::Barra) {
        guarda = &t;
        break;
      }
    ASSERT_TRUE(guarda);
    EXPECT_EQ(guarda->rect, QRect(inicio * c.modulo, 0, c.modulo, altoBarras + 5 * c.modulo));
    if (c.autoSizing) {
      EXPECT_EQ(dibujo.tamanoPropio, QSize((ean13 ? 113 : 81) * c.modulo, 67 * c.modulo));
    }
  }
}

TEST(DibujoCodigoBarras, EanPintadoConGuardasMasLargasYDigitosDebajo) {
  ParametrosCodigoBarras p = Parametros(TBarCodeType::EAN13, u"590123412345"_qs, 113 * 3, 100);
  p.autoSizing = false;
  const DibujoCodigoBarras dibujo = DisponerCodigoBarras(p);
  const QImage imagen = Pintado(dibujo, QSize(113 * 3, 100));
  const auto simbolo = CodificarEan(p.texto);
  const int altoBarras = 100 - 36;
  EXPECT_EQ(Modulos(imagen, 33, 3, 95, 10), simbolo->modulos);
  std::vector<bool> soloGuardas;
  for (size_t i = 0; i < 95; ++i) soloGuardas.push_back(simbolo->modulos[i] && simbolo->guardas[i]);
  EXPECT_EQ(Modulos(imagen, 33, 3, 95, altoBarras + 3), soloGuardas) << "only the guards reach below the digit bars";
  EXPECT_EQ(imagen.pixelColor(34, altoBarras + 14), Qt::black);
  EXPECT_EQ(imagen.pixelColor(34, altoBarras + 15), Qt::white) << "guards are 5 modules longer";
  QStringList textos;
  for (const TrazoCodigo& t : dibujo.trazos)
    if (t.clase == TrazoCodigo::Texto) {
      textos << t.texto;
      EXPECT_EQ(t.altoTexto, 42);
      EXPECT_EQ(t.rect.top(), altoBarras);
    }
  EXPECT_EQ(textos, (QStringList{u"5"_qs, u"901234"_qs, u"123457"_qs}));
  // The digits are drawn, ink under the left group, none left of the first digit's box.
  bool tinta = false;
  for (int x = 14 * 3; x < 56 * 3 && !tinta; ++x)
    for (int y = altoBarras + 16; y < 100 && !tinta; ++y) tinta = imagen.pixelColor(x, y) != Qt::white;
  EXPECT_TRUE(tinta);
}

// Every symbology on one page, for the eye: kept where ZEMWIN_PNG_CODIGOS names a folder.
TEST(DibujoCodigoBarras, PaginaDeTodosLosTipos) {
  QImage pagina(1240, 1754, QImage::Format_RGB32);  // A4 at 150 dpi
  pagina.fill(Qt::white);
  QPainter pintor(&pagina);
  int y = 20;
  for (const MuestraCodigo& c : MuestrasDeCadaTipo()) {
    ParametrosCodigoBarras p = Parametros(c.tipo, c.texto, 900, 80);
    p.origen = QPoint(40, y);
    p.resolucionX = p.resolucionY = 150;
    p.superficiePropia = false;
    const DibujoCodigoBarras dibujo = DisponerCodigoBarras(p);
    EXPECT_FALSE(dibujo.Vacio()) << int(c.tipo);
    PintarCodigoBarras(pintor, dibujo, Qt::black, Qt::white);
    int fondo = y;
    for (const TrazoCodigo& t : dibujo.trazos) fondo = std::max(fondo, t.rect.bottom());
    y = fondo + 20;
  }
  pintor.end();
  EXPECT_LT(y, pagina.height());
  const QString carpeta = qEnvironmentVariable("ZEMWIN_PNG_CODIGOS");
  if (!carpeta.isEmpty()) {
    EXPECT_TRUE(pagina.save(QDir(carpeta).filePath(u"codigos.png"_qs)));
  }
}
