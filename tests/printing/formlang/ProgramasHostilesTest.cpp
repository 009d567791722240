#include "platform/Cp1252.h"
#include "printing/formlang/EjecucionImpreso.h"
#include "printing/formlang/LineaInstruccion.h"
#include "printing/formlang/MarcasEstilo.h"
#include "printing/formlang/PrepararPrograma.h"
#include "printing/formlang/ProgramaImpreso.h"
#include "tests/printing/formlang/EntornoEnMemoria.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

// Hostile and mutated programs through both entry points. The checks are the
// promises every caller leans on, whatever the text.
namespace {

const char* const ProgramaReal =
    "Factura de venta\r\n"
    "[SISTEMA]\r\n"
    "Margenes=5;5\r\n"
    "InicioLineas=100\r\n"
    "FinLineas=250\r\n"
    "AlturaLinea=5\r\n"
    "Conexion=CLIENTES>CodigoCliente\r\n"
    "GrupoAnalisis1=CLIENTES,ZONA,CodigoCliente\r\n"
    "[CABECERA]\r\n"
    "Font=Arial;10;Negrita;Negro\r\n"
    "Text=10;10;<N><R>FACTURA\r\n"
    "Camp=10;30;NombreCliente;80\r\n"
    "Rect=5;95;205;255;1\r\n"
    "Suma=150;40;30;Importe;D;#,##0.00\r\n"
    "[LINEAS]\r\n"
    "Camp=10;0;Articulo\r\n"
    "Camp=150;0;Importe;30;D;#,##0.00\r\n"
    "[PIESUMAYSIGUE]\r\n"
    "Suma=150;270;30;Importe;D;#,##0.00\r\n"
    "[PIE]\r\n"
    "Suma=150;270;30;Importe;D;#,##0.00\r\n"
    "Expr=150;280;30;BaseImponible*1,21\r\n"
    "[PIEPAGINA]\r\n"
    "Vari=100;290;Pagina\r\n";

void ComprobarLinea(const QString& linea, const QString& libre) {
  const LineaInstruccion analizada = AnalizarLinea(linea, libre);
  ASSERT_FALSE(analizada.palabra.contains(u'=')) << "keyword holds '='";
  ASSERT_FALSE(analizada.palabra.contains(u';'));
  ASSERT_FALSE(analizada.argumentos.contains(u'='));
  ASSERT_FALSE(analizada.argumentos.contains(u';'));
  for (int n = 1; n <= 8; ++n) ASSERT_FALSE(analizada.Argumento(n).contains(u'|'));
  const QString texto = analizada.Argumento(3);
  const TextoConMarcas separado = SepararMarcas(texto);
  ASSERT_LE(separado.texto.size(), texto.size());
  QStringView impreso = separado.texto;
  while (impreso.startsWith(u' ')) impreso = impreso.mid(1);
  ASSERT_TRUE(impreso.isEmpty() || texto.endsWith(impreso));
  ASSERT_GE(separado.marcas.tamano, 0);
  ASSERT_LE(separado.marcas.tamano, MayorTamanoMarca);
  const MarcasExtraidas extraidas = ExtraerMarcas(texto);
  ASSERT_FALSE(extraidas.prefijo.contains(u' '));
  ASSERT_EQ(extraidas.hayMarcas, !extraidas.prefijo.isEmpty());
}

void Comprobar(const QString& texto) {
  const ProgramaImpreso programa = AnalizarPrograma(texto);
  ASSERT_LE(programa.separadorLibre.size(), 1);
  if (!programa.separadorLibre.isEmpty()) {
    ASSERT_FALSE(texto.contains(programa.separadorLibre));
  }
  ASSERT_LE(programa.nombresSumas.size(), MaximoSumas);
  qsizetype enSecciones = 0;
  for (int n = 0; n < NumeroSecciones; ++n) {
    const QStringList& lineas = programa.secciones[n];
    enSecciones += lineas.size();
    if (lineas.isEmpty()) continue;
    Seccion seccion;
    ASSERT_TRUE(EsCabeceraSeccion(lineas.first(), seccion));
    ASSERT_EQ(static_cast<int>(seccion), n);
    for (const QString& linea : lineas) ASSERT_NO_FATAL_FAILURE(ComprobarLinea(linea, programa.separadorLibre));
  }
  ASSERT_LE(enSecciones, LineasPrograma(texto).size());

  const ProgramaPreparado preparado = PrepararPrograma(texto);
  const AjustesImpreso& a = preparado.ajustes;
  for (double v : {a.margenIzquierdo, a.margenSuperior, a.anchoEtiqueta, a.altoEtiqueta}) {
    ASSERT_TRUE(std::isfinite(v));
    ASSERT_LE(std::fabs(v), 100000);
  }
  for (double v : {a.compresionHorizontal, a.compresionVertical}) {
    ASSERT_TRUE(std::isfinite(v));
    ASSERT_GT(v, 0);
  }
  ASSERT_GE(a.etiquetasPorFila, 1);
  ASSERT_GE(a.filasEtiquetas, 1);
  ASSERT_EQ(preparado.siguienteEtiqueta, preparado.etiquetasPorPagina + 1);
  ASSERT_LE(std::llabs(preparado.lineasPorPagina), 200000);
}

// Three documents of four lines through a preview run of the program.
void Previsualizar(const QString& texto) {
  EntornoEnMemoria entorno;
  entorno.soloContar = true;
  EjecucionImpreso ejecucion(entorno, entorno);
  entorno.ejecucion = &ejecucion;
  ejecucion.codigoImpresoActual = u"HOSTIL"_qs;
  entorno.impresos[u"HOSTIL"_qs] = DefinicionImpreso{u"HOSTIL"_qs, QString(), u"Grafico"_qs, texto, u"A4"_qs, QString()};
  for (int documento = 1; documento <= 3; ++documento) {
    entorno.documentos.push_back({{u"CodigoTemporal"_qs, documento}, {u"NumeroCopias"_qs, 9999}});
    for (int linea = 1; linea <= 4; ++linea)
      entorno.lineas[documento].push_back({{u"Linea"_qs, linea}, {u"LineaMemo"_qs, 0}, {u"Importe"_qs, 1.5}});
  }
  if (!ejecucion.Preparar(ejecucion.CodigoDocumentoInicial())) {
    // Refused, before anything is drawn, with the line that goes beyond the page.
    ASSERT_EQ(entorno.registro.size(), 1);
    ASSERT_TRUE(entorno.registro[0].startsWith(u"Aviso ¡Valor fuera de los límites de la página"_qs));
    ASSERT_EQ(entorno.paginas, 0);
    return;
  }
  ejecucion.Recorrer();
  ASSERT_LE(entorno.paginas, 15);
  const ProgramaImpreso programa = AnalizarPrograma(texto);
  qint64 porDocumento = 0;
  for (int n = 1; n < NumeroSecciones; ++n) porDocumento += programa.secciones[n].size() * 15;
  ASSERT_LE(entorno.comandos, 3 * porDocumento);
}

QString TodosLosCodigos() {
  QByteArray bytes;
  for (int code = 0; code < 256; ++code) bytes.append(static_cast<char>(code));
  return Cp1252::decode(bytes);
}

}  // namespace

TEST(ProgramasHostiles, HugeLineEndsAndKeepsItsPieces) {
  QString linea = u"Suma=1;2;3;Importe;"_qs;
  linea.reserve(10'000'000);
  while (linea.size() < 10'000'000) linea += u";|=<9>x"_qs;
  ASSERT_NO_FATAL_FAILURE(Comprobar(u"[PIE]\r\n"_qs + linea));
  ASSERT_NO_FATAL_FAILURE(Previsualizar(u"[PIE]\r\n"_qs + linea));
  EXPECT_EQ(AnalizarPrograma(u"[PIE]\r\n"_qs + linea).nombresSumas, QStringList{u"Importe"_qs});
  EXPECT_EQ(AnalizarLinea(linea, u"\xff"_qs).Argumento(4), u"Importe"_qs);
}

TEST(ProgramasHostiles, AMillionLines) {
  QString texto = u"[SISTEMA]\r\nFinLineas=9999\r\n[LINEAS]\r\n"_qs;
  texto.reserve(14'000'000);
  for (int n = 0; n < 1'000'000; ++n) texto += u"Camp=10;0;Articulo\r\n"_qs;
  ASSERT_NO_FATAL_FAILURE(Comprobar(texto));
  EXPECT_EQ(AnalizarPrograma(texto).Lineas(Seccion::Lineas).size(), 1'000'001);
  ASSERT_NO_FATAL_FAILURE(Previsualizar(texto.left(texto.size() / 10)));
}

TEST(ProgramasHostiles, EveryCharacterLeavesNoFreeSeparator) {
  const QString texto = u"[PIE]\r\nText=1;2;a|b\r\n"_qs + TodosLosCodigos();
  ASSERT_NO_FATAL_FAILURE(Comprobar(texto));
  ASSERT_NO_FATAL_FAILURE(Previsualizar(texto));
  const ProgramaImpreso programa = AnalizarPrograma(texto);
  EXPECT_TRUE(programa.separadorLibre.isEmpty());
  EXPECT_EQ(AnalizarLinea(programa.Lineas(Seccion::Pie).at(1), programa.separadorLibre).Argumento(3), u"ab"_qs);
}

TEST(ProgramasHostiles, TheHostileSet) {
  const char* const programas[] = {
      "[CABECERA]\r\nText=10;10;<N",
      "[CABECERA]\r\nText=10;10;<99999999999>Hola",
      "[SISTEMA]\r\nCompresion=0;0",
      "[SISTEMA]\r\nFormatoEtiqueta=100000;100000;1;1",
      "[SISTEMA]\r\nFinLineas=-5\r\nAlturaLinea=1",
      "[SISTEMA]\r\nMargenes=a;b\r\nAlturaLinea=x\r\nFinLineas=nueve\r\nFormatoEtiqueta=a;b;c;d\r\nCompresion=x;y",
      "[SISTEMA]\r\nMargenes=1e308;-1e308\r\nFinLineas=99999999999999999999999\r\nAlturaLinea=-9223372036854775808",
      "[SISTEMA]\r\nInicioLineas=-100000\r\nFinLineas=100000\r\nAlturaLinea=1",
      "[SISTEMA]\r\nInicioLineas=100000\r\nFinLineas=-100000\r\nAlturaLinea=-1",
      "[PIE]\r\nSuma",
      "[PIE]\r\nSuma=;;;",
      "\r\n\r\n\r\n",
      "[SISTEMA]=[PIE]=[LINEAS]",
  };
  for (const char* programa : programas) {
    SCOPED_TRACE(programa);
    ASSERT_NO_FATAL_FAILURE(Comprobar(QString::fromUtf8(programa)));
    ASSERT_NO_FATAL_FAILURE(Previsualizar(QString::fromUtf8(programa)));
  }
  EXPECT_EQ(PrepararPrograma(u"[SISTEMA]\r\nFinLineas=-5\r\nAlturaLinea=1"_qs).lineasPorPagina, -5);
}

TEST(ProgramasHostiles, MutationsOfARealProgram) {
  const QString real = QString::fromUtf8(ProgramaReal);
  const QStringList trozos = {u";"_qs,  u"|"_qs,      u"="_qs,     u"\r\n"_qs,    u"\r"_qs, u"[PIE]"_qs,
                              u"[LINEAS]"_qs, u"Suma=1;2;3;"_qs, u"<"_qs, u">"_qs, u"</>"_qs, u"9999"_qs,
                              u"-5"_qs, u"100000"_qs, u"NaN"_qs, u"1e400"_qs, u"0,0"_qs, u"FinLineas="_qs,
                              u"Compresion="_qs, u"FormatoEtiqueta="_qs, QString(QChar(0)), QString(QChar(0xFF))};
  std::mt19937 azar(20261207);
  auto numero = [&](qsizetype hasta) {
    return hasta <= 0 ? qsizetype(0) : static_cast<qsizetype>(std::uniform_int_distribution<qint64>(0, hasta)(azar));
  };
  QString texto = real;
  for (int vuelta = 0; vuelta < 3000; ++vuelta) {
    if (vuelta % 40 == 0 || texto.size() > 20000) texto = real;
    const qsizetype at = numero(texto.size());
    switch (numero(4)) {
      case 0: texto.insert(at, trozos[numero(trozos.size() - 1)]); break;
      case 1: texto.remove(at, numero(12)); break;
      case 2: texto.insert(at, texto.mid(numero(texto.size()), numero(40))); break;
      case 3: texto.insert(at, Cp1252::decode(QByteArray(1, static_cast<char>(numero(255))))); break;
      default:
        if (at < texto.size()) texto[at] = QChar(static_cast<char16_t>(numero(255)));
    }
    SCOPED_TRACE(vuelta);
    ASSERT_NO_FATAL_FAILURE(Comprobar(texto));
    if (vuelta % 10 == 0) {
      ASSERT_NO_FATAL_FAILURE(Previsualizar(texto));
    }
  }
}
