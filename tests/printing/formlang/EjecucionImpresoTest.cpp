#include "printing/formlang/EjecucionImpreso.h"
#include "tests/printing/formlang/EntornoEnMemoria.h"

#include <gtest/gtest.h>

namespace {

QString Programa(std::initializer_list<const char*> lineas) {
  QStringList texto;
  for (const char* linea : lineas) texto << QString::fromUtf8(linea);
  return texto.join(u"\r\n"_qs);
}

const char* const Factura[] = {"[SISTEMA]", "InicioLineas=100", "FinLineas=110", "AlturaLinea=5",
                               "[CABECERA]", "Cabe=1", "[LINEAS]", "Lin=1;2;3",
                               "[PIESUMAYSIGUE]", "Suma=150;270;30;Importe", "[PIE]", "Pie=1",
                               "[PIEPAGINA]", "PiePag=1"};

class Ejecucion : public testing::Test {
 protected:
  Ejecucion() {
    entorno.ejecucion = &ejecucion;
    ejecucion.codigoImpresoActual = u"FAC"_qs;
    Definir(u"FAC"_qs, QStringList(std::begin(Factura), std::end(Factura)).join(u"\r\n"_qs));
  }

  void Definir(const QString& codigo, const QString& instrucciones, const QString& modo = u"Grafico"_qs) {
    entorno.impresos[codigo] = DefinicionImpreso{codigo, u"Factura"_qs, modo, instrucciones, u"A4"_qs, QString()};
  }

  void Documentos(int cuantos, const QVariantMap& campos = {}) {
    for (int n = 1; n <= cuantos; ++n) {
      QVariantMap fila = campos;
      fila[u"CodigoTemporal"_qs] = n;
      entorno.documentos.push_back(fila);
    }
  }

  void Lineas(int documento, int cuantas, double importe = 10) {
    for (int n = 1; n <= cuantas; ++n)
      entorno.lineas[documento].push_back({{u"CodigoTemporal"_qs, documento}, {u"Linea"_qs, n}, {u"LineaMemo"_qs, 0},
                                           {u"Importe"_qs, importe}});
  }

  bool Ejecutar(DestinoSalida destino = DestinoSalida::Pantalla) {
    ejecucion.destino = destino;
    if (!ejecucion.Preparar(ejecucion.CodigoDocumentoInicial())) return false;
    return ejecucion.Recorrer();
  }

  EntornoEnMemoria entorno;
  EjecucionImpreso ejecucion{entorno, entorno};
};

}  // namespace

TEST_F(Ejecucion, NoDocumentsNoPages) {
  EXPECT_TRUE(Ejecutar());
  EXPECT_EQ(entorno.registro, QStringList{u"Informacion ¡No hay datos para procesar!"_qs});
}

TEST_F(Ejecucion, OnlySistemaMakesNoPageAndNoPrinterBreak) {
  Definir(u"FAC"_qs, Programa({"[SISTEMA]", "Margenes=5;5", "Text=1;1;nada"}));
  Documentos(3);
  Ejecutar();
  EXPECT_EQ(entorno.registro, QStringList{u"Informacion ¡No hay datos para procesar!"_qs});
  entorno.registro.clear();
  Ejecutar(DestinoSalida::Impresora);
  EXPECT_TRUE(entorno.registro.isEmpty()) << entorno.registro.join(u'\n').toStdString();
}

TEST_F(Ejecucion, CopiesOnPaperOnlyOnePerDocumentInThePreview) {
  Documentos(2, {{u"NumeroCopias"_qs, 3}});
  Ejecutar(DestinoSalida::Impresora);
  EXPECT_EQ(entorno.Registrado(u"Cabe="_qs),
            QStringList({u"Cabe=1 pagina=1 copia=1 etiqueta=1 linea=1"_qs, u"Cabe=1 pagina=1 copia=2 etiqueta=1 linea=1"_qs,
                         u"Cabe=1 pagina=1 copia=3 etiqueta=1 linea=1"_qs, u"Cabe=1 pagina=1 copia=1 etiqueta=1 linea=1"_qs,
                         u"Cabe=1 pagina=1 copia=2 etiqueta=1 linea=1"_qs, u"Cabe=1 pagina=1 copia=3 etiqueta=1 linea=1"_qs}));
  // A page break between copies and documents, none after the last.
  EXPECT_EQ(entorno.Registrado(u"Salto"_qs).size(), 5);
  EXPECT_EQ(ejecucion.numeroPaginas, 6);

  entorno.registro.clear();
  Ejecutar();
  EXPECT_EQ(entorno.Registrado(u"Cabe="_qs).size(), 2);
  EXPECT_EQ(entorno.Registrado(u"Pagina "_qs), QStringList({u"Pagina 1;"_qs, u"Pagina 2;"_qs}));
}

TEST_F(Ejecucion, CopiesOutsideTheirRangeOrUnreadableAreOne) {
  for (const QVariant& copias : {QVariant(0), QVariant(10000), QVariant(u"tres"_qs), QVariant(-2), QVariant()}) {
    entorno.documentos.clear();
    entorno.registro.clear();
    Documentos(1, {{u"NumeroCopias"_qs, copias}});
    Ejecutar(DestinoSalida::Impresora);
    EXPECT_EQ(entorno.Registrado(u"Cabe="_qs).size(), 1) << copias.toString().toStdString();
  }
}

TEST_F(Ejecucion, ADocumentWithoutLinesStillHasHeaderAndFeet) {
  Documentos(1);
  Ejecutar();
  QStringList secciones;
  for (const QString& linea : entorno.registro) secciones << linea.section(u'=', 0, 0).section(u' ', 0, 0);
  EXPECT_EQ(secciones, QStringList({u"Pagina"_qs, u"Cabe"_qs, u"BorrarContinuaciones"_qs, u"Pie"_qs, u"PiePag"_qs}));
}

TEST_F(Ejecucion, PageBreaksRunBothFeetAndCarryTheTotals) {
  Documentos(1);
  Lineas(1, 5);
  entorno.lineas[1][1][u"Instrucciones"_qs] = u"Inst=NoSumaYSigue"_qs;
  entorno.lineas[1][2][u"Importe"_qs] = u"2,5"_qs;
  entorno.lineas[1][3][u"Importe"_qs] = u"no es numero"_qs;
  Ejecutar();
  // Two lines a page: (110 - 100) div 5.
  EXPECT_EQ(entorno.Registrado(u"Pagina "_qs).size(), 3);
  const QStringList orden = [&] {
    QStringList palabras;
    for (const QString& linea : entorno.registro) palabras << linea.section(u' ', 0, 0).section(u'=', 0, 0);
    return palabras;
  }();
  EXPECT_EQ(orden.join(u',').toStdString(), "Pagina,Cabe,BorrarContinuaciones,Lin,Inst,Lin,Suma,PiePag,Pagina,Cabe,Lin,Lin,Suma,PiePag,"
                               "Pagina,Cabe,Lin,Pie,PiePag");
  // Line 2 is kept out of the totals, line 4 reads no number.
  EXPECT_EQ(entorno.Registrado(u"Suma="_qs),
            QStringList({u"Suma=150|270|30|Importe total=10 pagina=1 copia=1 etiqueta=1 linea=3"_qs,
                         u"Suma=150|270|30|Importe total=12.5 pagina=2 copia=1 etiqueta=1 linea=3"_qs}));
  EXPECT_EQ(entorno.Registrado(u"Lin="_qs).last(), u"Lin=1|2|3 pagina=3 copia=1 etiqueta=1 linea=1"_qs);
}

TEST_F(Ejecucion, TotalsStartAgainWithEveryDocument) {
  Definir(u"FAC"_qs, Programa({"[SISTEMA]", "FinLineas=9999", "[LINEAS]", "Lin=1", "[PIE]", "Suma=1;1;1;Importe"}));
  Documentos(2);
  Lineas(1, 3, 5);
  Lineas(2, 2, 7);
  Ejecutar();
  const QStringList sumas = entorno.Registrado(u"Suma="_qs);
  ASSERT_EQ(sumas.size(), 2);
  EXPECT_TRUE(sumas[0].contains(u"total=15 "_qs)) << sumas[0].toStdString();
  EXPECT_TRUE(sumas[1].contains(u"total=14 "_qs)) << sumas[1].toStdString();
}

TEST_F(Ejecucion, SumaAndISumAreNotRunInsideTheLines) {
  Definir(u"FAC"_qs, Programa({"[SISTEMA]", "FinLineas=9999", "[LINEAS]", "Suma=1;1;1;Importe", "ISum=Importe", "Lin=1",
                               "[PIE]", "Suma=1;1;1;Importe"}));
  Documentos(1);
  Lineas(1, 2);
  Ejecutar();
  EXPECT_EQ(entorno.Registrado(u"Lin="_qs).size(), 2);
  EXPECT_EQ(entorno.Registrado(u"Suma="_qs).size(), 1);
  EXPECT_TRUE(entorno.Registrado(u"ISum="_qs).isEmpty());
}

TEST_F(Ejecucion, MoreThan25PagesAskOnceAndNoKeepsThem) {
  Documentos(40);
  entorno.confirmaciones = {false};
  Ejecutar();
  EXPECT_EQ(entorno.Registrado(u"Pagina "_qs).size(), 26);
  EXPECT_EQ(entorno.Registrado(u"Confirmar "_qs),
            QStringList{u"Confirmar ¡El número de páginas del informe es mayor que 25!. Superar este número puede "
                        "ocasionarle un bloqueo del sistema en caso de no disponer de recursos suficientes. "
                        "¿Desea continuar?"_qs});
  // Once in the form's life.
  entorno.registro.clear();
  Ejecutar();
  EXPECT_EQ(entorno.Registrado(u"Pagina "_qs).size(), 40);
  EXPECT_TRUE(entorno.Registrado(u"Confirmar "_qs).isEmpty());
}

TEST_F(Ejecucion, LabelsFromSlotFiveOnPaper) {
  Definir(u"FAC"_qs, Programa({"[SISTEMA]", "FormatoEtiqueta=3;8;70;37", "[CABECERA]", "Etiq=1"}));
  Documentos(22);
  entorno.respuestasEtiqueta = {u"25"_qs, u"0"_qs, u"-3"_qs, u"cinco"_qs, u"5"_qs};
  ASSERT_TRUE(Ejecutar(DestinoSalida::Impresora));
  EXPECT_EQ(entorno.Registrado(u"Pregunta "_qs).size(), 5);
  EXPECT_EQ(entorno.Registrado(u"Pregunta "_qs).first(), u"Pregunta Introduzca la posición de la primera etiqueta: [1]"_qs);
  EXPECT_EQ(entorno.Registrado(u"Aviso "_qs), QStringList{u"Aviso La posición no puede ser mayor que 24"_qs});
  QStringList etiquetas;
  for (const QString& linea : entorno.registro)
    etiquetas << (linea == u"Salto" ? linea : linea.section(u"etiqueta="_qs, 1).section(u' ', 0, 0));
  etiquetas.removeAll(QString());
  EXPECT_EQ(etiquetas.join(u','), u"5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,Salto,1,2"_qs);
  EXPECT_EQ(ejecucion.numeroPaginas, 2);
}

TEST_F(Ejecucion, ClosingTheLabelQuestionEndsTheRunSilently) {
  Definir(u"FAC"_qs, Programa({"[SISTEMA]", "FormatoEtiqueta=3;8;70;37", "[CABECERA]", "Etiq=1"}));
  Documentos(2);
  EXPECT_FALSE(Ejecutar(DestinoSalida::Impresora));
  EXPECT_EQ(entorno.registro, QStringList{u"Pregunta Introduzca la posición de la primera etiqueta: [1]"_qs});
}

TEST_F(Ejecucion, LabelsInThePreviewStartAtTheFirstSlotAndAskNothing) {
  Definir(u"FAC"_qs, Programa({"[SISTEMA]", "FormatoEtiqueta=2;2;70;37", "[CABECERA]", "Etiq=1"}));
  Documentos(5);
  Ejecutar();
  QStringList etiquetas;
  for (const QString& linea : entorno.registro)
    etiquetas << (linea.startsWith(u"Pagina") ? u"P"_qs : linea.section(u"etiqueta="_qs, 1).section(u' ', 0, 0));
  EXPECT_EQ(etiquetas.join(u','), u"P,1,2,3,4,P,1"_qs);
}

TEST_F(Ejecucion, ARowsOwnPrintoutIsPreparedBeforeItsPages) {
  Definir(u"ALB"_qs, Programa({"[SISTEMA]", "DriverAlternativo=/a/alb.drv>/b/destino.drv", "[CABECERA]", "Albaran=1"}));
  entorno.documentos = {{{u"CodigoTemporal"_qs, 1}, {u"CodigoImpreso"_qs, u"Por Defecto"_qs}},
                        {{u"CodigoTemporal"_qs, 2}, {u"CodigoImpreso"_qs, u"ALB"_qs}},
                        {{u"CodigoTemporal"_qs, 3}, {u"CodigoImpreso"_qs, u"NOEXISTE"_qs}},
                        {{u"CodigoTemporal"_qs, 4}, {u"CodigoImpreso"_qs, QString()}}};
  Ejecutar();
  QStringList orden;
  for (const QString& linea : entorno.registro)
    if (!linea.startsWith(u"Pagina") && !linea.startsWith(u"Borrar")) orden << linea.section(u'=', 0, 0).section(u" >"_qs, 0, 0);
  EXPECT_EQ(orden.join(u','), u"Cabe,Pie,PiePag,Copiar /a/alb.drv,Albaran,Cabe,Pie,PiePag,Cabe,Pie,PiePag"_qs);
}

TEST_F(Ejecucion, AFailedDriverCopyWarnsAndGoesOn) {
  Definir(u"FAC"_qs, Programa({"[SISTEMA]", "DriverAlternativo=>/b/destino.drv", "[CABECERA]", "Cabe=1"}));
  Documentos(1);
  Ejecutar();
  EXPECT_EQ(entorno.Registrado(u"Aviso"_qs), QStringList{u"Aviso ¡Imposible copiar el Driver Alternativo!"_qs});
  EXPECT_EQ(entorno.Registrado(u"Cabe="_qs).size(), 1);
}

TEST_F(Ejecucion, OnlyTheDocumentOfAKeyWithItsCopies) {
  Documentos(3, {{u"NumeroCopias"_qs, 2}});
  ejecucion.soloClave = u"2;"_qs;
  Ejecutar(DestinoSalida::Impresora);
  EXPECT_EQ(entorno.Registrado(u"Cabe="_qs).size(), 2);
}

TEST_F(Ejecucion, CancellingKeepsThePagesMade) {
  Documentos(5);
  entorno.cancelarEnDocumento = 3;
  EXPECT_FALSE(Ejecutar());
  EXPECT_EQ(entorno.Registrado(u"Pagina "_qs).size(), 3);
}

TEST_F(Ejecucion, TextModeSetsItsFontBeforeEveryHeader) {
  Definir(u"FAC"_qs, Programa({"[SISTEMA]", "FinLineas=9999", "[CABECERA]", "Cabe=1"}), u"Texto"_qs);
  Documentos(2);
  Ejecutar();
  QStringList orden;
  for (const QString& linea : entorno.registro) orden << linea.section(u' ', 0, 0);
  EXPECT_EQ(orden.join(u','), u"Pagina,Font=Courier,Cabe=1,Pagina,Font=Courier,Cabe=1"_qs);
}

TEST_F(Ejecucion, ThePageStoreEndsTheRunPastItsSize) {
  Definir(u"FAC"_qs, Programa({"[SISTEMA]", "AlturaLinea=0", "[LINEAS]", "Lin=1"}));
  Documentos(1);
  Lineas(1, MaximoPaginas + 50);
  entorno.confirmaciones = {true};
  EXPECT_FALSE(Ejecutar());
  EXPECT_EQ(entorno.paginas, MaximoPaginas);
  EXPECT_EQ(entorno.Registrado(u"Aviso"_qs), QStringList{u"Aviso ¡El número de páginas supera el máximo de 10000!"_qs});
}
