#include "core/startup/Configuracion.h"
#include "printing/Genelimp.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/printing/comandos/DestinoPrueba.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

QImage Llena(QColor color, int lado) {
  QImage imagen(lado, lado, QImage::Format_RGB32);
  imagen.fill(color);
  return imagen;
}

QByteArray Bytes(const QImage& imagen, const char* formato) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  imagen.save(&buffer, formato);
  return bytes;
}

bool Parecido(QRgb pixel, QColor color) {
  return std::abs(qRed(pixel) - color.red()) < 40 && std::abs(qGreen(pixel) - color.green()) < 40 &&
         std::abs(qBlue(pixel) - color.blue()) < 40;
}

class Grafico : public testing::Test {
 protected:
  Grafico() {
    CarpetaPrograma = carpeta.Path() + u'/';
    Llena(Qt::red, 10).save(carpeta.File(u"logo.bmp"_qs), "BMP");
    Llena(Qt::red, 10).save(carpeta.File(u"falso.bmp"_qs), "PNG");
    Llena(Qt::blue, 20).save(carpeta.File(u"sello.jpg"_qs), "JPEG");
    destino.entorno.documentos.push_back({{u"CodigoTemporal"_qs, 1},
                                          {u"Foto"_qs, Bytes(Llena(Qt::green, 16), "JPEG")},
                                          {u"Archivo"_qs, u"LOGO.bmp"_qs}});
    destino.entorno.PrimerDocumento();
  }
  ~Grafico() override {
    CarpetaPrograma.clear();
    FormularioLlamador.clear();
  }

  QRgb Pixel(double x, double y) {
    const GeometriaImpreso& g = destino.ejecucion.geometria;
    return destino.Imagen().pixel(g.PixelesPaginaX(x), g.PixelesPaginaY(y));
  }
  int X(double mm) { return destino.ejecucion.geometria.PixelesPaginaX(mm); }

  TemporaryFolder carpeta;
  DestinoPrueba destino;
};

TEST_F(Grafico, AProgramFolderBitmapStretchedIntoItsBox) {
  destino.Ejecutar(u"Graf=10;10;60;40;LOGO.BMP"_qs);
  EXPECT_TRUE(Parecido(Pixel(11, 11), Qt::red));
  EXPECT_TRUE(Parecido(Pixel(59.5, 39.5), Qt::red));
  EXPECT_TRUE(Parecido(Pixel(60.5, 25), Qt::white));
  EXPECT_TRUE(Parecido(Pixel(35, 40.5), Qt::white));
}

TEST_F(Grafico, AJpegByItsPathAtItsOwnSize) {
  destino.Ejecutar(u"Graf=10;10;0;0;"_qs + QString(carpeta.File(u"sello.jpg"_qs)).replace(u'/', u'\\'));
  const QRect tinta = destino.Tinta();
  EXPECT_EQ(tinta, QRect(X(10), destino.ejecucion.geometria.PixelesPaginaY(10), 20, 20));
  EXPECT_TRUE(Parecido(destino.Imagen().pixel(tinta.center()), Qt::blue));
}

TEST_F(Grafico, FieldsGiveTheirPictureOrTheirFileName) {
  destino.Ejecutar(u"Graf=10;10;30;30;Camp:Foto"_qs);
  EXPECT_TRUE(Parecido(Pixel(20, 20), Qt::green));
  destino.Ejecutar(u"Graf=50;10;70;30;Camp:Archivo"_qs);
  EXPECT_TRUE(Parecido(Pixel(60, 20), Qt::red));
}

TEST_F(Grafico, WhatCannotBeReadDrawsNothing) {
  for (const QString& linea : {u"Graf=10;10;60;40;NOESTA.BMP"_qs, u"Graf=10;10;60;40;falso.bmp"_qs,
                               u"Graf=10;10;60;40;Camp:NoHay"_qs, u"Graf=10;10;60;40;Camp:Otra.Tabla"_qs,
                               u"Graf=10;10;60;40;"_qs}) {
    destino.Ejecutar(linea);
    EXPECT_TRUE(destino.Tinta().isEmpty()) << linea.toStdString();
  }
}

TEST_F(Grafico, NothingUnderTheDesignTest) {
  FormularioLlamador = u"fGENEIMPR"_qs;
  destino.Ejecutar(u"Graf=10;10;60;40;LOGO.BMP"_qs);
  EXPECT_TRUE(destino.Tinta().isEmpty());
}

}  // namespace
