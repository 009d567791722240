#include "printing/formlang/LineaInstruccion.h"
#include "printing/formlang/PrepararPrograma.h"
#include "printing/formlang/ProgramaImpreso.h"

#include <gtest/gtest.h>

namespace {

QString Programa(std::initializer_list<const char*> lineas) {
  QString texto;
  for (const char* linea : lineas) texto += QString::fromUtf8(linea) + u"\r\n"_qs;
  return texto;
}

QString Lineas(const ProgramaImpreso& programa, Seccion seccion) { return programa.Lineas(seccion).join(u'/'); }

}  // namespace

TEST(AnalizarPrograma, HeadersAreTheTextBeforeTheFirstEqualsExactly) {
  struct Caso {
    const char* linea;
    bool cabecera;
    Seccion seccion;
  };
  const Caso casos[] = {
      {"[SISTEMA]", true, Seccion::Sistema},           {"[CABECERA]=lo que sea", true, Seccion::Cabecera},
      {"[LINEAS]", true, Seccion::Lineas},             {"[PIESUMAYSIGUE]", true, Seccion::PieSumaYSigue},
      {"[PIE]", true, Seccion::Pie},                   {"[PIEPAGINA]", true, Seccion::PiePagina},
      {" [PIE]", false, Seccion::Sistema},             {"[PIE] ", false, Seccion::Sistema},
      {"[pie]", false, Seccion::Sistema},              {"[PIE]x", false, Seccion::Sistema},
      {"x=[PIE]", false, Seccion::Sistema},            {"", false, Seccion::Sistema},
  };
  for (const Caso& caso : casos) {
    Seccion seccion = Seccion::Sistema;
    EXPECT_EQ(EsCabeceraSeccion(QString::fromUtf8(caso.linea), seccion), caso.cabecera) << caso.linea;
    if (caso.cabecera) {
      EXPECT_EQ(seccion, caso.seccion) << caso.linea;
    }
  }
}

TEST(AnalizarPrograma, LinesGoToTheLastHeaderAboveThemAndRepeatedSectionsJoin) {
  const ProgramaImpreso programa = AnalizarPrograma(Programa({
      "antes del primero",
      "[CABECERA]",
      "Text=10;10;A",
      "[LINEAS]",
      "Camp=10;50;Articulo",
      "[CABECERA]=otra vez",
      "Text=10;20;B",
      "",
  }));
  EXPECT_EQ(Lineas(programa, Seccion::Cabecera), u"[CABECERA]/Text=10;10;A/[CABECERA]=otra vez/Text=10;20;B/"_qs);
  EXPECT_EQ(Lineas(programa, Seccion::Lineas), u"[LINEAS]/Camp=10;50;Articulo"_qs);
  EXPECT_TRUE(programa.Lineas(Seccion::Sistema).isEmpty());
  EXPECT_TRUE(programa.haySeccionesImpresion);
}

TEST(AnalizarPrograma, LinesEndAtCrLfCrOrLf) {
  const ProgramaImpreso programa = AnalizarPrograma(u"[PIE]\rA\nB\r\nC\n\nD"_qs);
  EXPECT_EQ(Lineas(programa, Seccion::Pie), u"[PIE]/A/B/C//D"_qs);
}

TEST(AnalizarPrograma, OnlySistemaHasNoPrintingSections) {
  EXPECT_FALSE(AnalizarPrograma(Programa({"[SISTEMA]", "Margenes=5;5"})).haySeccionesImpresion);
  EXPECT_FALSE(AnalizarPrograma(QString()).haySeccionesImpresion);
  EXPECT_TRUE(AnalizarPrograma(Programa({"[SISTEMA]", "[PIEPAGINA]"})).haySeccionesImpresion);
}

TEST(AnalizarPrograma, FreeSeparatorIsTheHighestCharacterAbsentFromTheText) {
  EXPECT_EQ(AnalizarPrograma(u"[PIE]"_qs).separadorLibre, QString(QChar(0xFF)));
  EXPECT_EQ(AnalizarPrograma(u"[PIE]\r\nText=1;1;ÿþ"_qs).separadorLibre, QString(QChar(0xFD)));
}

TEST(AnalizarPrograma, CarriedTotalsAreTheFourthPieceOfSumaLinesOfTheFeetOnly) {
  const ProgramaImpreso programa = AnalizarPrograma(Programa({
      "[CABECERA]",
      "Suma=150;40;30;EnCabecera;D",
      "[LINEAS]",
      "Suma=150;40;30;EnLineas",
      "[PIESUMAYSIGUE]",
      "Suma=150;270;30;Importe;D;#,##0.00",
      "[PIE]",
      "ISum=Cantidad",
      "Sumatorio=1;2;3;Cantidad=no",
      "[PIEPAGINA]",
      "Suma=1;2;3",
      " Suma=1;2;3;ConBlanco",
      "Suma=1;2;3;Base|Cuota",
  }));
  // The piece of the raw line: what follows a second "=" or a typed "|" stays.
  EXPECT_EQ(programa.nombresSumas.join(u'/'), u"Importe/Cantidad=no//Base|Cuota"_qs);
}

TEST(AnalizarPrograma, AtMostOneHundredCarriedTotalsAndNoneFromAnEarlierText) {
  QString texto = u"[PIE]\r\n"_qs;
  for (int n = 1; n <= 130; ++n) texto += u"Suma=1;1;1;Campo%1\r\n"_qs.arg(n);
  const ProgramaImpreso programa = AnalizarPrograma(texto);
  ASSERT_EQ(programa.nombresSumas.size(), MaximoSumas);
  EXPECT_EQ(programa.nombresSumas.first(), u"Campo1"_qs);
  EXPECT_EQ(programa.nombresSumas.last(), u"Campo100"_qs);
  EXPECT_TRUE(AnalizarPrograma(u"[PIE]"_qs).nombresSumas.isEmpty());
}

TEST(AnalizarLinea, KeywordArgumentsAndSeparators) {
  const QString libre(QChar(0xFF));
  struct Caso {
    const char* linea;
    const char* palabra;
    std::initializer_list<const char*> argumentos;
  };
  const Caso casos[] = {
      {"Text=10;20;Hola", "Text", {"10", "20", "Hola", ""}},
      {"Text=10;20;Hola=Adios;x", "Text", {"10", "20", "Hola", ""}},
      {"Text=10;;3", "Text", {"10", "", "3"}},
      {"Text=1;2;a|b", "Text", {"1", "2", "a\xc3\xbf" "b"}},
      {"Text", "Text", {""}},
      {"Text=", "Text", {""}},
      {"=1;2", "", {"1", "2"}},
      {" Text=1", " Text", {"1"}},
      {"Te|xt=1", "Te\xc3\xbfxt", {"1"}},
      {"Te;xt=1", "Te|xt", {"1"}},
  };
  for (const Caso& caso : casos) {
    const LineaInstruccion linea = AnalizarLinea(QString::fromUtf8(caso.linea), libre);
    EXPECT_EQ(linea.palabra, QString::fromUtf8(caso.palabra)) << caso.linea;
    int n = 1;
    for (const char* argumento : caso.argumentos)
      EXPECT_EQ(linea.Argumento(n++), QString::fromUtf8(argumento)) << caso.linea << " argument " << n - 1;
  }
  EXPECT_EQ(AnalizarLinea(u"Text=a;b"_qs, libre).Argumento(0), QString());
}

TEST(AnalizarLinea, WithoutFreeCharacterATypedBarIsDropped) {
  const LineaInstruccion linea = AnalizarLinea(u"Text=1;2;a|b"_qs, QString());
  EXPECT_EQ(linea.Argumento(3), u"ab"_qs);
  EXPECT_EQ(linea.Argumento(4), QString());
}

TEST(PrepararPrograma, SettingsStartFromTheirValuesAndReadTheSystemsNumbers) {
  const ProgramaPreparado vacio = PrepararPrograma(u"[CABECERA]"_qs);
  EXPECT_EQ(vacio.ajustes.margenIzquierdo, 0);
  EXPECT_EQ(vacio.ajustes.compresionHorizontal, 1);
  EXPECT_EQ(vacio.ajustes.compresionVertical, 1);
  EXPECT_EQ(vacio.etiquetasPorPagina, 1);
  EXPECT_EQ(vacio.siguienteEtiqueta, 2);
  EXPECT_EQ(vacio.lineasPorPagina, 0);

  struct Caso {
    const char* linea;
    double margenIzquierdo, margenSuperior, compresionH, compresionV, anchoEtiqueta;
    qint64 porFila, filas, altura;
  };
  const Caso casos[] = {
      {"Margenes=10,5;7", 10.5, 7, 1, 1, 0, 1, 1, 0},
      {"Margenes=10.5;x", 0, 0, 1, 1, 0, 1, 1, 0},
      {"Margenes=;3", 0, 3, 1, 1, 0, 1, 1, 0},
      {"Margenes=100001;-100000", 0, -100000, 1, 1, 0, 1, 1, 0},
      {"Compresion=0,5;2", 0, 0, 0.5, 2, 0, 1, 1, 0},
      {"Compresion=0;-1", 0, 0, 1, 1, 0, 1, 1, 0},
      {"Compresion=NaN;INF", 0, 0, 1, 1, 0, 1, 1, 0},
      {"FormatoEtiqueta=3;8;70;37,5", 0, 0, 1, 1, 70, 3, 8, 0},
      {"FormatoEtiqueta=0;-4;1;1", 0, 0, 1, 1, 1, 1, 1, 0},
      {"FormatoEtiqueta=3,5;a;b;c", 0, 0, 1, 1, 0, 1, 1, 0},
      {"AlturaLinea=5", 0, 0, 1, 1, 0, 1, 1, 5},
      {"AlturaLinea=5,5", 0, 0, 1, 1, 0, 1, 1, 0},
      {"margenes=10;10", 0, 0, 1, 1, 0, 1, 1, 0},
  };
  for (const Caso& caso : casos) {
    const ProgramaPreparado p = PrepararPrograma(u"[SISTEMA]\r\n"_qs + QString::fromUtf8(caso.linea));
    EXPECT_EQ(p.ajustes.margenIzquierdo, caso.margenIzquierdo) << caso.linea;
    EXPECT_EQ(p.ajustes.margenSuperior, caso.margenSuperior) << caso.linea;
    EXPECT_EQ(p.ajustes.compresionHorizontal, caso.compresionH) << caso.linea;
    EXPECT_EQ(p.ajustes.compresionVertical, caso.compresionV) << caso.linea;
    EXPECT_EQ(p.ajustes.anchoEtiqueta, caso.anchoEtiqueta) << caso.linea;
    EXPECT_EQ(p.ajustes.etiquetasPorFila, caso.porFila) << caso.linea;
    EXPECT_EQ(p.ajustes.filasEtiquetas, caso.filas) << caso.linea;
    EXPECT_EQ(p.ajustes.alturaLinea, caso.altura) << caso.linea;
  }
}

TEST(PrepararPrograma, SettingsOutsideSistemaWaitForTheirSection) {
  const ProgramaPreparado p = PrepararPrograma(Programa({"Margenes=5;5", "[CABECERA]", "Margenes=9;9"}));
  EXPECT_EQ(p.ajustes.margenIzquierdo, 0);
}

TEST(PrepararPrograma, LinesPerPage) {
  struct Caso {
    const char* sistema;
    qint64 lineas;
  };
  const Caso casos[] = {
      {"InicioLineas=100\r\nFinLineas=250\r\nAlturaLinea=5", 30},
      {"InicioLineas=100\r\nFinLineas=252\r\nAlturaLinea=5", 30},
      {"InicioLineas=100\r\nFinLineas=9999\r\nAlturaLinea=5", 9999},
      {"FinLineas=9999", 9999},
      {"InicioLineas=100\r\nFinLineas=250", 0},
      {"InicioLineas=100\r\nFinLineas=-5\r\nAlturaLinea=5", -21},
      {"InicioLineas=100\r\nFinLineas=250\r\nAlturaLinea=-5", -30},
  };
  for (const Caso& caso : casos)
    EXPECT_EQ(PrepararPrograma(u"[SISTEMA]\r\n"_qs + QString::fromUtf8(caso.sistema)).lineasPorPagina, caso.lineas)
        << caso.sistema;
}

TEST(PrepararPrograma, TheLinesAreaOutlivesAPreparationTheRestStartsAgain) {
  const ProgramaPreparado primero = PrepararPrograma(Programa(
      {"[SISTEMA]", "InicioLineas=100", "FinLineas=250", "AlturaLinea=5", "Margenes=9;9", "Conexion=CLIENTES>Codigo"}));
  const ProgramaPreparado segundo = PrepararPrograma(Programa({"[SISTEMA]", "AlturaLinea=10"}), primero.ajustes);
  EXPECT_EQ(segundo.ajustes.inicioLineas, 100);
  EXPECT_EQ(segundo.ajustes.finLineas, 250);
  EXPECT_EQ(segundo.lineasPorPagina, 15);
  EXPECT_EQ(segundo.ajustes.margenIzquierdo, 0);
  EXPECT_TRUE(segundo.ajustes.conexiones.isEmpty());
  EXPECT_EQ(PrepararPrograma(Programa({"[SISTEMA]", "AlturaLinea=10"})).ajustes.inicioLineas, 0);
}

TEST(PrepararPrograma, LabelsPerPageAndTheFirstSlotPastThem) {
  const ProgramaPreparado p = PrepararPrograma(u"[SISTEMA]\r\nFormatoEtiqueta=3;8;70;37"_qs);
  EXPECT_EQ(p.etiquetasPorPagina, 24);
  EXPECT_EQ(p.siguienteEtiqueta, 25);
  const ProgramaPreparado grande = PrepararPrograma(u"[SISTEMA]\r\nFormatoEtiqueta=100000;100000;1;1"_qs);
  EXPECT_EQ(grande.etiquetasPorPagina, Q_INT64_C(10000000000));
  EXPECT_EQ(grande.siguienteEtiqueta, Q_INT64_C(10000000001));
}

TEST(PrepararPrograma, ConnectionsDriverAndAnalysisGroups) {
  const ProgramaPreparado p = PrepararPrograma(Programa({
      "[SISTEMA]",
      "Conexion=CLIENTES>CodigoCliente;Nombre",
      "Conexion=SINMAYOR",
      "DriverAlternativo=/a/origen.drv>/b/destino.drv",
      "GrupoAnalisis1=CLIENTES,ZONA,CodigoCliente",
      "GrupoAnalisis12=ARTICULO,FAMILIA,Codigo",
      "GrupoAnalisis0=NO,NO,NO",
      "GrupoAnalisisX=NO,NO,NO",
      "GrupoAnalisis=NO,NO,NO",
  }));
  ASSERT_EQ(p.ajustes.conexiones.size(), 2);
  EXPECT_EQ(p.ajustes.conexiones[0].tabla, u"CLIENTES"_qs);
  EXPECT_EQ(p.ajustes.conexiones[0].resto, u"CodigoCliente|Nombre"_qs);
  EXPECT_EQ(p.ajustes.conexiones[1].tabla, u"SINMAYOR"_qs);
  EXPECT_EQ(p.ajustes.driverAlternativo, u"/a/origen.drv>/b/destino.drv"_qs);
  EXPECT_EQ(p.ajustes.gruposAnalisis.join(u'/'),
            u"GrupoAnalisis1;CLIENTES,ZONA,CodigoCliente/GrupoAnalisis12;ARTICULO,FAMILIA,Codigo"_qs);
}
