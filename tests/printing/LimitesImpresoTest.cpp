#include "tests/printing/GenelimpFixture.h"

#include "printing/formlang/LimitesImpreso.h"
#include "tests/fixtures/RecordingPrintQueue.h"

#include <QFileInfo>

namespace {

enum class Salida { Vista, PDF, Impresora };

struct ProgramaFueraDePagina {
  const char* programa;
  const char* modo;
  const char* linea;  // the line the warning shows
};

// Each would draw or move far beyond the page: a text box a hundred
// thousand times as wide as the paper, compression that turns one line into
// a minute's drawing, a margin of a hundred metres of line feeds, a font
// without a size.
const ProgramaFueraDePagina Programas[] = {
    {"[SISTEMA]\r\nCompresion=100000;1\r\n[CABECERA]\r\nText=0;10;100000;x;D", "Grafico", "Compresion=100000;1"},
    {"[SISTEMA]\r\nCompresion=100;1\r\n[CABECERA]\r\nText=0;10;100;x;D", "Grafico", "Compresion=100;1"},
    {"[SISTEMA]\r\nMargenes=0;100000\r\nCompresion=1;0,00001\r\n[CABECERA]\r\nText=0;0;0;x", "Texto",
     "Margenes=0;100000"},
    {"[CABECERA]\r\nFont=Arial;;Negro\r\nText=0;10;0;x", "Grafico", "Font=Arial;;Negro"},
    {"[CABECERA]\r\nText=0;10;100000;x;D", "Grafico", "Text=0;10;100000;x;D"},
    {"[SISTEMA]\r\nFormatoEtiqueta=4;8;100;37\r\n[CABECERA]\r\nText=0;0;0;x", "Grafico", "FormatoEtiqueta=4;8;100;37"},
    {"[SISTEMA]\r\nFinLineas=5000\r\nAlturaLinea=1\r\n[LINEAS]\r\nText=0;0;0;x", "Grafico", "FinLineas=5000"},
};

}  // namespace

TEST_F(Genelimp, ValuesBeyondThePageAreRefusedBeforeAnythingIsDrawn) {
  RecordingPrintQueue cola;
  Documentos(1);
  Ejecutar(u"INSERT INTO LTEMPIMP (CodigoTemporal, Linea, LineaMemo) VALUES (1, 1, 0)"_qs);
  // Kept to the end: the first form freed deletes the temporary tables.
  std::vector<std::unique_ptr<TfGENELIMP>> formularios;
  int caso = 0;
  qsizetype avisos = 0;
  for (const ProgramaFueraDePagina& fuera : Programas) {
    for (const Salida salida : {Salida::Vista, Salida::PDF, Salida::Impresora}) {
      SCOPED_TRACE(testing::Message() << fuera.programa << " salida " << int(salida));
      const QString codigo = u"F%1"_qs.arg(++caso);
      Impreso(codigo, QString::fromUtf8(fuera.programa), u"Oficina 2"_qs, QString::fromUtf8(fuera.modo));
      CodigoImpresoActual = codigo;
      VisualizarEnPantalla = salida == Salida::Vista;
      const QString pdf = carpeta.File(codigo + u".pdf"_qs);
      mensajes.Expect(u"A"_qs);
      TfGENELIMP* formulario = formularios.emplace_back(Formulario()).get();
      if (salida == Salida::PDF) formulario->SalidaImpreso = u"PDF:"_qs + pdf;
      formulario->ImprimirImpreso();
      ASSERT_EQ(mensajes.Messages().size(), ++avisos);
      EXPECT_EQ(mensajes.Messages().back().text,
                u"¡Valor fuera de los límites de la página en la instrucción del impreso!\r\n"_qs +
                    QString::fromUtf8(fuera.linea));
      EXPECT_EQ(formulario->NumeroPaginas(), 0);
      EXPECT_FALSE(QFileInfo::exists(pdf));
      EXPECT_TRUE(impresoras.Jobs().isEmpty());
      EXPECT_TRUE(cola.jobs.isEmpty());
    }
  }
}

// The same printouts within the page print as ever.
TEST_F(Genelimp, ValuesWithinThePageAreKept) {
  const PaginaImpreso a4 = PaginaImpreso::De({210, 297}, false);
  const PaginaImpreso texto = PaginaImpreso::De({210, 297}, true);
  EXPECT_EQ(texto.Columnas(), 83);
  EXPECT_EQ(texto.Filas(), 71);
  const struct {
    const char* programa;
    const PaginaImpreso& pagina;
  } dentro[] = {
      {"[SISTEMA]\r\nMargenes=5;-5\r\nCompresion=0,1;10\r\nFormatoEtiqueta=2;2;40;30\r\nInicioLineas=10\r\n"
       "FinLineas=70\r\nAlturaLinea=1\r\n[CABECERA]\r\nText=0;10;21;x;D\r\nFont=x;y",
       texto},
      {"[SISTEMA]\r\nMargenes=a;b\r\nCompresion=x;y\r\nFormatoEtiqueta=3;8;70;37\r\nInicioLineas=100\r\n"
       "FinLineas=297\r\nAlturaLinea=5\r\nFinLineas=9999\r\n[CABECERA]\r\nFont=Arial;84;Negro\r\n"
       "Camp=0;0;210;Campo\r\nSuma=0;0;nada;Importe",
       a4},
  };
  for (const auto& caso : dentro) {
    const ProgramaPreparado preparado = PrepararPrograma(QString::fromUtf8(caso.programa));
    EXPECT_EQ(LineaFueraDePagina(preparado.programa, preparado.ajustes, caso.pagina), std::nullopt) << caso.programa;
  }
  // Compression narrows what a font and a box may be.
  const ProgramaPreparado comprimido =
      PrepararPrograma(u"[SISTEMA]\r\nCompresion=2;1\r\n[CABECERA]\r\nFont=Arial;400\r\nText=0;0;106;x"_qs);
  EXPECT_EQ(LineaFueraDePagina(comprimido.programa, comprimido.ajustes, a4), u"Text=0;0;106;x"_qs);
}
