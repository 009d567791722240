#include "core/startup/ArchivosTemporales.h"
#include "core/startup/Apariencia.h"
#include "core/startup/DireccionDistribuidor.h"
#include "core/startup/MapaAyuda.h"
#include "platform/TextFile.h"
#include "tests/core/startup/ConfiguracionFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>

using ServiciosInicio = ConfiguracionInicio;

TEST_F(ServiciosInicio, TheHelpMapKeepsTheSecondAndThirdWordsAndIsEmptyWithoutAFile) {
  MapaAyuda.Add(u"Viejo=1"_qs);
  CargarMapaAyuda();
  EXPECT_EQ(MapaAyuda.Count(), 0);
  TextFile::Write(u"zemwin.map"_qs, u"X Pantalla_Clientes 120\r\n#define Maestro_de_Empresas 7 "
                                    "sobra\r\n#define  Doble 8\r\nSolo\r\n"_qs);
  CargarMapaAyuda();
  EXPECT_EQ(MapaAyuda.Lines(), (QStringList{"Pantalla_Clientes=120", "Maestro_de_Empresas=7", "=Doble", "="}));
  EXPECT_EQ(MapaAyuda.Values(u"pantalla_clientes"_qs), u"120"_qs);
}

TEST_F(ServiciosInicio, TheDistributorAddressIsNormalised) {
  const std::pair<const char*, const char*> casos[] = {
      {"", kURLDistribuidorPorDefecto}, {"Por Defecto", kURLDistribuidorPorDefecto}, {"por defecto", "por defecto"},
      {"Ninguna", ""}, {"https://distribuidor.local/menu", "https://distribuidor.local/menu"},
  };
  for (const auto& [valor, esperado] : casos) {
    URLAccesoMenuWebDistribuidor = QLatin1String(valor);
    NormalizarURLAccesoMenuWebDistribuidor();
    EXPECT_EQ(URLAccesoMenuWebDistribuidor, QLatin1String(esperado)) << valor;
  }
}

TEST_F(ServiciosInicio, TheLookGivesTheFontAndTheFormColours) {
  const QColor caraBoton = QGuiApplication::palette().color(QPalette::Button);
  const std::tuple<const char*, const char*, QColor, QColor> casos[] = {
      {"evo+", "Segoe UI", QColor(215, 228, 242), QColor(234, 234, 255)},
      {"evo", "Segoe UI", QColor(215, 228, 242), QColor(234, 234, 255)},
      {"Clasico", "MS Sans Serif", caraBoton, caraBoton}, {"", "MS Sans Serif", caraBoton, caraBoton},
  };
  for (const auto& [aspecto, fuente, mdi, normal] : casos) {
    AspectoAplicacion = QLatin1String(aspecto);
    ConstruirAspecto();
    ASSERT_TRUE(FuenteAplicacion.has_value());
    EXPECT_EQ(FuenteAplicacion->family() + QString::number(FuenteAplicacion->pointSize()), QLatin1String(fuente) + u'8');
    EXPECT_EQ(ColorFormularioMDI, mdi) << aspecto;
    EXPECT_EQ(ColorFormularioNormal, normal) << aspecto;
  }
}

TEST_F(ServiciosInicio, LeftOverTemporaryFilesAreDeleted) {
  const QString temporal = carpeta.File(u"TMP"_qs);
  QDir().mkdir(temporal);
  qputenv("TMPDIR", temporal.toLocal8Bit());
  const QStringList archivos = {"_QS0001.TMP", "_qs0002", "ZEMWIN.INI", "QRP1.TMP",
                                "TMP/QRP1.TMP", "TMP/qrp2.tmp", "TMP/QRP3.TXT", "TMP/_QS4.TMP"};
  for (const QString& archivo : archivos) TextFile::Write(carpeta.File(archivo), u"x"_qs);
  BorrarArchivosTemporales();
  QStringList quedan;
  for (const QString& archivo : archivos)
    if (QFileInfo::exists(carpeta.File(archivo))) quedan.append(archivo);
  EXPECT_EQ(quedan, (QStringList{"ZEMWIN.INI", "QRP1.TMP", "TMP/QRP3.TXT", "TMP/_QS4.TMP"}));
}
