#include "tests/printing/GenelimpFixture.h"

#include "core/forms/GanchosFormulario.h"
#include "core/progress/Geneprog.h"
#include "platform/VirtualKeys.h"
#include "platform/data/Field.h"
#include "tests/fixtures/ReportTestSupport.h"

#include <QScreen>
#include <QSpinBox>
#include <QTest>

#include <cmath>

namespace {

// Two lines a page: document 1 takes page 1, document 2 (two copies on
// paper) pages 2 and 3.
const char* const DosLineasPorPagina =
    "[SISTEMA]\r\nInicioLineas=10\r\nFinLineas=30\r\nAlturaLinea=10\r\n[LINEAS]\r\nText=10;0;0;L";

class Vista : public Genelimp, public ModuloConUsuarios {
 protected:
  Vista() {
    Ejecutar(u"CREATE TABLE PARAGENE (FmtVisualizacionPrevia VARCHAR(20) NULL, PrevisualizacionSinRegla VARCHAR(2) NULL)"_qs);
    ModuloDatos = &modulo;
    Impreso(u"FAC"_qs, QString::fromUtf8(DosLineasPorPagina), u"Oficina 2"_qs);
    Ejecutar(u"INSERT INTO TEMPIMP (CodigoTemporal, NumeroCopias) VALUES (1, 1), (2, 2)"_qs);
    Ejecutar(u"INSERT INTO LTEMPIMP (CodigoTemporal, Linea, LineaMemo) VALUES (1, 1, 0), (2, 1, 0), (2, 2, 0), (2, 3, 0)"_qs);
    VisualizarEnPantalla = true;
  }
  ~Vista() override { ModuloDatos = nullptr; }

  void Parametros(const QString& formato, const QString& sinRegla) {
    Ejecutar(u"INSERT INTO PARAGENE VALUES ('%1', '%2')"_qs.arg(formato, sinRegla));
    Table& parametros = *modulo.ParamGenerales;
    parametros.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    parametros.SetTableName(u"PARAGENE"_qs);
    parametros.Open();
  }

  // The preview of a run, looked at while it shows. The forms are kept to
  // the end: the first one freed deletes the temporary tables.
  void Mirar(const std::function<void(TfGENELIMP&)>& mirar) {
    formularios.push_back(Formulario());
    formulario = formularios.back().get();
    AlMostrarse(*formulario, [this, mirar] { mirar(*formulario); });
    formulario->ImprimirImpreso();
  }

  static QSpinBox& Selector(TfGENELIMP& f, const char* nombre) {
    return *f.findChild<QSpinBox*>(QString::fromLatin1(nombre));
  }

  std::vector<std::unique_ptr<TfGENELIMP>> formularios;
  TfGENELIMP* formulario = nullptr;
};

int ZoomAjustado(int disponible, int lado) { return int(std::lround(disponible * 100.0 / lado)); }

}  // namespace

TEST_F(Vista, TheZoomSettingAndTheButtonsAndThePageSelectorClamps) {
  struct Caso {
    const char* formato;
    std::function<int(QSize)> zoom;
  };
  const Caso casos[] = {
      {"Normal", [](QSize) { return 100; }},
      {"Ancho Ajustado", [](QSize area) { return ZoomAjustado(area.width() - 8, 800); }},
      {"Pagina Completa",
       [](QSize area) { return std::min(ZoomAjustado(area.width() - 8, 800), ZoomAjustado(area.height() - 76, 1131)); }},
      {"150", [](QSize) { return 150; }},
      {"ciento", [](QSize) { return 100; }},
      {"5", [](QSize) { return 10; }},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.formato);
    Ejecutar(u"DELETE FROM PARAGENE"_qs);
    modulo.ParamGenerales->Close();
    Parametros(QString::fromLatin1(caso.formato), QString());
    int zoom = 0;
    QSize area;
    QSize imagen;
    int ultima = 0;
    int primera = 0;
    Mirar([&](TfGENELIMP& f) {
      area = f.screen()->size();
      zoom = f.Zoom();
      f.pbZoomTo100Click();
      imagen = f.ImagenMostrada().size();
      Selector(f, "SpinEditPagina").setValue(99);
      ultima = f.PaginaMostrada();
      Selector(f, "SpinEditPagina").setValue(0);
      primera = f.PaginaMostrada();
    });
    EXPECT_EQ(zoom, caso.zoom(area));
    EXPECT_EQ(imagen, QSize(800, 1131));
    EXPECT_EQ(ultima, 3);
    EXPECT_EQ(primera, 1);
    EXPECT_EQ(formulario->Caption(), u"Previsualización de Factura"_qs);
  }
}

TEST_F(Vista, TheRulerDarkensThePageUnlessItIsSwitchedOff) {
  for (const QString& sinRegla : {QString(), u"SI"_qs}) {
    SCOPED_TRACE(sinRegla.toStdString());
    Ejecutar(u"DELETE FROM PARAGENE"_qs);
    modulo.ParamGenerales->Close();
    Parametros(u"Normal"_qs, sinRegla);
    QRgb linea = 0;
    QRgb fuera = 0;
    Mirar([&](TfGENELIMP& f) {
      const GeometriaImpreso& g = f.Ejecucion().geometria;
      const QImage imagen = f.ImagenMostrada();
      linea = imagen.pixel(g.PixelesPaginaX(100), g.PixelesPaginaY(205));
      fuera = imagen.pixel(g.PixelesPaginaX(105), g.PixelesPaginaY(205));
    });
    EXPECT_EQ(linea, sinRegla.isEmpty() ? qRgb(0xC0, 0xC0, 0xC0) : qRgb(255, 255, 255));
    EXPECT_EQ(fuera, qRgb(255, 255, 255));
  }
}

TEST_F(Vista, ThePagesDocumentPrintsWithItsCopiesAndThePreviewKeepsItsPages) {
  int paginas = 0;
  QStringList claves;
  Mirar([&](TfGENELIMP& f) {
    Selector(f, "SpinEditPagina").setValue(3);
    f.pbImprimirPaginaClick();
    paginas = f.PaginasImpreso().PageCount();
    claves = f.ClavesPaginas();
    Selector(f, "SpinEditPagina").setValue(99);
    EXPECT_EQ(f.PaginaMostrada(), 3);
    EXPECT_EQ(f.NumeroPaginas(), 3);
  });
  ASSERT_EQ(impresoras.Jobs().size(), 1);
  EXPECT_EQ(impresoras.Jobs()[0].printer, u"Oficina 2"_qs);
  EXPECT_EQ(PdfInfo(impresoras.Jobs()[0].file).value(u"Pages"_qs).toInt(), 4);
  EXPECT_EQ(paginas, 3);
  EXPECT_EQ(claves, QStringList({u"1;"_qs, u"2;"_qs, u"2;"_qs}));
}

TEST_F(Vista, APdfExportWritesEveryPageAndLeavesThePreviewAsItWas) {
  dialogos.ExpectFile(carpeta.File(u"factura"_qs));
  int paginas = 0;
  QSize pagina;
  QStringList claves;
  Mirar([&](TfGENELIMP& f) {
    Selector(f, "SpinEditPagina").setValue(2);
    f.pbExportarAPDFClick();
    paginas = f.PaginasImpreso().PageCount();
    pagina = {f.Ejecucion().geometria.anchoPagina, f.Ejecucion().geometria.altoPagina};
    claves = f.ClavesPaginas();
    EXPECT_EQ(f.PaginaMostrada(), 2);
    EXPECT_EQ(f.ImagenMostrada().size(), QSize(800, 1131));
  });
  ASSERT_EQ(dialogos.Dialogs().size(), 1);
  EXPECT_EQ(dialogos.Dialogs()[0].fileName, u"Factura"_qs);
  const QVariantMap pdf = PdfInfo(carpeta.File(u"factura.pdf"_qs));
  EXPECT_EQ(pdf.value(u"Pages"_qs).toInt(), 3);
  EXPECT_TRUE(pdf.value(u"Page size"_qs).toString().startsWith(u"595"_qs)) << pdf.value(u"Page size"_qs).toString().toStdString();
  EXPECT_EQ(paginas, 3);
  EXPECT_EQ(pagina, QSize(800, 1131));
  EXPECT_EQ(claves, QStringList({u"1;"_qs, u"2;"_qs, u"2;"_qs}));
}

TEST_F(Vista, EscGoesThroughTheFormsKeyRoutineAndClosesThePreviewWhichHasACloseBox) {
  CancelarListado = false;
  bool cancelado = false;
  bool visible = true;
  Qt::WindowFlags marco;
  Mirar([&](TfGENELIMP& f) {
    marco = f.windowFlags();
    QTest::keyClick(f.focusWidget() ? f.focusWidget() : &f, Qt::Key_Escape);
    cancelado = CancelarListado;
    visible = f.isVisible();
  });
  EXPECT_TRUE(cancelado) << "the suite-wide routine saw the key";
  EXPECT_EQ(UltimaTeclaPulsada, VK::Escape);
  EXPECT_FALSE(visible);
  EXPECT_TRUE(marco.testFlag(Qt::WindowTitleHint) && marco.testFlag(Qt::WindowCloseButtonHint));
}
