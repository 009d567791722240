#include "core/datamodule/Traduccion.h"
#include "core/connections/Conexiones.h"
#include "core/startup/Configuracion.h"
#include "core/startup/TraduccionFormulario.h"
#include "platform/Form.h"
#include "platform/data/Database.h"
#include "platform/sqlite/Connection.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <sqlite3.h>

#include <cstring>
#include <random>

namespace {

const QString kGeneral = QStringLiteral("DatabaseGeneral");

// English texts in TXIDIOMA; the interface works in English.
class Traduccion : public ConexionesFixture {
 protected:
  Traduccion() {
    Iniciar();
    Anadir(u"('Aceptar', 'Accept'), ('Abrir', 'Open'), ('Sí', 'Yes'), ('Fichero', 'File'), ('Cerrar', 'Close'), "
           "('Se han procesado \\X1 registros', '\\X1 records processed'), ('Error en $Fichero', 'Error in $Fichero'), "
           "('L''Empresa', 'The Company'), ('A=B', 'A equals B'), ('Open', 'Retranslated'), "
           "('Corto|Largo', 'Short|Long'), ('Datos', 'Data')"_qs);
    IdiomaActual = u"EN"_qs;
  }

  // Rows of (source text, English text).
  void Anadir(const QString& filas) {
    QString sql = u"INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES "_qs + filas;
    Ejecutar(sql.replace(u"('"_qs, u"('EN', '"_qs), kGeneral);
  }
};

}  // namespace

TEST_F(Traduccion, TextsAreLookedUpWholeWithTheirVariablePartsOrWordByWord) {
  struct Caso {
    const char* texto;
    const char* parametros;
    const char* esperado;
  };
  const Caso casos[] = {
      {"", "", ""},
      {"A", "", "A"},
      {"&A", "", "&A"},
      {"QRAbrir", "", "QRAbrir"},
      {"&Aceptar", "", "Accept"},
      {"&Guardar", "", "Guardar"},
      {"Se han procesado 25 registros", "", "25 records processed"},
      {"Abrir  Fichero", "", "Open  File"},
      {"Sí Abrir", "", "Ye Open"},  // a word's translation is cut to the word's length
      {"L'Empresa", "", "The Company"},
      {"Error en $Fichero", "Fichero=Datos\r\nOtro=X", "Error in Data"},
      {"A=B", "", "A equals B"},
      {"A=B", "", "A equals B"},
  };
  for (const Caso& caso : casos)
    EXPECT_EQ(Traducir(QString::fromUtf8(caso.texto), QString::fromUtf8(caso.parametros)),
              QString::fromUtf8(caso.esperado))
        << caso.texto;
  EXPECT_EQ(TraducirLista(u"Abrir;Cerrar;Nada"_qs), u"Open;Close;Nada"_qs);
  EXPECT_EQ(SepararPuntos(SepararPuntos(u"a.b"_qs, u"."_qs, u"Directo"_qs), u"."_qs, u"Inverso"_qs), u"a.b"_qs);

  IdiomaActual.clear();
  EXPECT_EQ(Traducir(u"Error en $Fichero"_qs, u"Fichero=A.TXT"_qs), u"Error en A.TXT"_qs);
  EXPECT_EQ(Traducir(u"&Aceptar"_qs), u"&Aceptar"_qs);
  EXPECT_EQ(Traducir(u"Aceptar"_qs, QString(), u"EN"_qs), u"Accept"_qs);
}

TEST_F(Traduccion, TheCacheAnswersRepeatedTextsAndKeepsItsBounds) {
  EXPECT_EQ(Traducir(u"Nada que traducir"_qs), u"Nada que traducir"_qs);
  EXPECT_EQ(Traducir(u"Nada que traducir"_qs), u"Nada que traducir"_qs);
  EXPECT_EQ(CacheTraducciones.Lines().count(u"Nada que traducir=Nada que traducir"_qs), 1);
  // Cached texts no longer reach the database; a text holding "=" always does.
  Anadir(u"('Nada que traducir', 'Nothing')"_qs);
  Ejecutar(u"UPDATE TXIDIOMA SET Texto = 'A is B' WHERE ClaveTexto = 'A=B'"_qs, kGeneral);
  EXPECT_EQ(Traducir(u"Nada que traducir"_qs) + Traducir(u"Aceptar"_qs) + u'|' + Traducir(u"A=B"_qs),
            u"Nada que traducirAccept|A is B"_qs);

  CacheTraducciones.Clear();
  for (int i = 0; i < 9999; ++i) CacheTraducciones.Add(u"Texto%1=Text%1"_qs.arg(i));
  EXPECT_EQ(BuscarTraduccion(u"Cerrar"_qs, QString()), u"Close"_qs);
  EXPECT_EQ(CacheTraducciones.Count(), 10000);
  EXPECT_EQ(BuscarTraduccion(u"Abrir"_qs, QString()), u"Open"_qs);
  ASSERT_EQ(CacheTraducciones.Count(), 9000);
  EXPECT_EQ(CacheTraducciones[0], u"Texto1001=Text1001"_qs);
  EXPECT_EQ(CacheTraducciones[8999], u"Abrir=Open"_qs);
}

TEST_F(Traduccion, AFormIsTranslatedOnceAndTextsSetSinceAreTranslatedLater) {
  Form formulario;
  formulario.SetCaption(u"Datos"_qs);
  auto* etiqueta = new QLabel(u"Abrir"_qs, &formulario);
  auto* boton = new QPushButton(u"&Aceptar"_qs, &formulario);
  boton->setToolTip(u"Corto|Largo"_qs);
  auto* rejilla = new QTableWidget(1, 2, &formulario);
  rejilla->setHorizontalHeaderLabels({u"Fichero"_qs, u"Cerrar"_qs});
  const auto textos = [&] {
    return QStringList{formulario.Caption(), etiqueta->text(), boton->text(), boton->toolTip(),
                       rejilla->horizontalHeaderItem(0)->text(), rejilla->horizontalHeaderItem(1)->text()};
  };
  const QStringList ingles = {"Data", "Open", "Accept", "Short|Long", "File", "Close"};

  TraducirFormulario(&formulario);
  EXPECT_EQ(textos(), ingles);
  // "Open" has a translation of its own, which a second pass must not apply.
  TraducirFormulario(&formulario);
  EXPECT_EQ(textos(), ingles);

  etiqueta->setText(u"Cerrar"_qs);
  TraducirFormulario(&formulario);
  EXPECT_EQ(etiqueta->text(), u"Close"_qs);

  IdiomaActual.clear();
  etiqueta->setText(u"Abrir"_qs);
  TraducirFormulario(&formulario);
  EXPECT_EQ(etiqueta->text(), u"Abrir"_qs);
}

// A variable part is translated on its own and may match a source text with
// variable parts again; however the texts and the rows, translation ends.

TEST_F(Traduccion, ATextThatMatchesASourceWithVariablesOnlyLooselyIsTranslated) {
  const QString texto = u"Se ha borrado el registro."_qs;
  const QString resultado = Traducir(texto);
  EXPECT_FALSE(resultado.isEmpty());
  EXPECT_EQ(Traducir(texto), resultado);
  EXPECT_EQ(Traducir(u"Se han procesado 7 registros"_qs), u"7 records processed"_qs);
}

TEST_F(Traduccion, VariablePartsWithinVariablePartsStopAtABoundedDepth) {
  Anadir(u"('x \\X1', 'y \\X1')"_qs);
  QStringList equis;
  for (int i = 0; i < 40; ++i) equis.append(u"x"_qs);
  const QStringList palabras = Traducir(equis.join(u' ')).split(u' ');
  ASSERT_EQ(palabras.size(), 40);
  EXPECT_EQ(palabras.front(), u"y"_qs);  // the first levels are translated
  EXPECT_EQ(palabras.back(), u"x"_qs);
  EXPECT_LT(palabras.count(u"y"_qs), 10);
}

TEST_F(Traduccion, RandomTextsAgainstRandomSourcesWithVariablesAllEnd) {
  const QStringList vocabulario = {u"Se"_qs, u"ha"_qs, u"han"_qs, u"el"_qs, u"registro"_qs, u"registros"_qs,
                                   u"."_qs,  u""_qs,   u"\\X1"_qs, u"\\X2"_qs, u"&"_qs, u"25"_qs, u"="_qs,
                                   u"%"_qs,  u"_"_qs,  u"'"_qs,    u"a.b"_qs, u"..."_qs, u"Abrir"_qs, u"\t"_qs};
  std::mt19937 azar(28);
  const auto texto = [&](int maximo) {
    QStringList palabras;
    for (int n = std::uniform_int_distribution<int>(1, maximo)(azar); n > 0; --n)
      palabras.append(vocabulario[std::uniform_int_distribution<int>(0, vocabulario.size() - 1)(azar)]);
    return palabras.join(std::uniform_int_distribution<int>(0, 3)(azar) == 0 ? u""_qs : u" "_qs);
  };
  for (int i = 0; i < 30; ++i) {
    QString origen = texto(6) + u" \\X1 "_qs + texto(4);
    Anadir(u"('%1', '%2')"_qs.arg(origen.replace(u'\'', u"''"_qs), u"T%1 \\X1 \\X2"_qs.arg(i)));
  }
  for (int i = 0; i < 300; ++i) {
    const QString entrada = texto(12);
    const QString resultado = Traducir(entrada);
    EXPECT_EQ(resultado.isEmpty(), entrada.isEmpty()) << entrada.toStdString();
  }
}

namespace {

// The length of every statement asked of the general database's file.
class TextoPreguntado {
 public:
  explicit TextoPreguntado(const QString& fichero) : conexion_(OpenConnection(fichero)) {
    sqlite3_trace_v2(conexion_->Handle(), SQLITE_TRACE_STMT, &TextoPreguntado::visto, this);
  }
  ~TextoPreguntado() { sqlite3_trace_v2(conexion_->Handle(), 0, nullptr, nullptr); }
  qint64 Caracteres() const { return caracteres_; }

 private:
  static int visto(unsigned, void* contexto, void*, void* sql) {
    static_cast<TextoPreguntado*>(contexto)->caracteres_ += qint64(std::strlen(static_cast<const char*>(sql)));
    return 0;
  }
  std::shared_ptr<Connection> conexion_;
  qint64 caracteres_ = 0;
};

QString numerosConPunto(int cuantos, int desde) {
  QStringList numeros;
  for (int i = desde; i < desde + cuantos; ++i) numeros.append(QString::number(i) + u'.');
  return numeros.join(u' ');
}

}  // namespace

// A text of many full stops: each stop is a word of its own that a source
// with variable parts holds; the statements asked grow with the text, no
// faster, and the translation is what it was.
TEST_F(Traduccion, ATextOfManyFullStopsAsksStatementsThatGrowWithItsLength) {
  Anadir(u"('Total \\X1.', 'Sum: \\X1.'), ('Nota. \\X1', 'Note. \\X1')"_qs);
  EXPECT_EQ(Traducir(u"7. 8. 9."_qs), u"Sum: 7."_qs);
  EXPECT_EQ(Traducir(u"Nota. 1. 2."_qs), u"Note.  Sum: 1."_qs);
  const QString fichero = Conexiones(Servicios()).DatabaseGeneral->FileName();
  qint64 caracteres[2] = {};
  for (const int n : {60, 240}) {
    const QString texto = numerosConPunto(n, 1000 + n);
    const TextoPreguntado preguntado(fichero);
    EXPECT_TRUE(Traducir(texto).startsWith(u"Sum: %1."_qs.arg(1000 + n))) << n;
    caracteres[n == 240] = preguntado.Caracteres();
  }
  EXPECT_LT(caracteres[1], caracteres[0] * 5) << caracteres[0] << " characters for 60 numbers, " << caracteres[1]
                                               << " for 240";
}
