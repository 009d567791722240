#include "maintenance/Genecchr.h"

#include "core/connections/BaseDatosSQLServer.h"
#include "core/helpers/LiteralesSQL.h"
#include "platform/sqlite/Connection.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/fixtures/ScriptedDialogs.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>

namespace {

constexpr char kCarpeta[] = "ZEM_PROGRAM_FOLDER";
const QString kConfirmar = u"El proceso de conversión comenzará ahora. ¿Está seguro de que desea continuar?"_qs;

// Chooses the databases, the tables and the pairs of a run.
void Preparar(TfGENECCHR& f, const QStringList& bases, const QString& tablas, const QList<ParEquivalencia>& pares) {
  for (int i = 0; i < f.BasesDeDatos().count(); ++i)
    f.BasesDeDatos().item(i)->setSelected(bases.contains(f.BasesDeDatos().item(i)->text()));
  f.findChild<QRadioButton*>(u"SoloLasTablasIndicadas"_qs)->setChecked(true);
  f.findChild<QPlainTextEdit*>(u"TablasAProcesar"_qs)->setPlainText(tablas);
  f.PonerEquivalencias(pares);
}

QStatusBar& Estado(TfGENECCHR& f) { return *f.findChild<QStatusBar*>(u"StatusBar1"_qs); }

// Another copy of the program converting GRANDE of company 1, stopped once
// its first pair has changed 1,111 rows, until its input ends.
void convertirGrande() {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  ScriptedPresenter mensajes;
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"I"_qs);
  TfGENEINIC servicios({});
  fGENEINIC = &servicios;
  TfGENECCHR f;
  Preparar(f, {u"ZEMEMP1"_qs}, u"GRANDE"_qs, {{u"Ñu 7"_qs, u"N"_qs}, {u"u"_qs, u"v"_qs}});
  QObject::connect(&Estado(f), &QStatusBar::messageChanged, [](const QString& texto) {
    if (!texto.endsWith(u"/Nombre/u")) return;
    SecondProcess::Report(u"convirtiendo"_qs);
    SecondProcess::NextLine();
  });
  f.pbIniciarConversionClick();
  SecondProcess::Report(u"terminada"_qs);
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"convertir-grande"_qs, convertirGrande);

// Every text column kind, in the general database, company 1 and a third
// database, each holding MENSAJE (a general table) and ARTICULO.
class Conversor : public ConexionesFixture {
 protected:
  Conversor() {
    Iniciar();
    fGENEINIC = &Servicios();
    for (const QString& base : {u"ZEMEMP1"_qs, u"OTRA"_qs}) {
      if (!ExisteBaseDatosSQLServer(base)) {
        EXPECT_TRUE(CrearBaseDatosSQLServer(base));
      }
    }
    for (const QString& base : kBases)
      for (const QString& tabla : {u"MENSAJE"_qs, u"ARTICULO"_qs}) {
        EnBase(u"CREATE TABLE %1 (Codigo INT NOT NULL, Nombre VARCHAR(60) NULL, nombreCorto VARCHAR(60) NULL, "
                 "NombreLargo NVARCHAR(60) NULL, Notas TEXT NULL, Memo NTEXT NULL, Clave CHAR(50) NULL, "
                 "CONSTRAINT %1_Clave1 PRIMARY KEY (Codigo))"_qs.arg(tabla), base);
        const QString texto = LiteralSQL(kValor);
        const QString unicode = u'N' + LiteralSQL(kValor + u" Ω"_qs);
        for (const QString& valores : {u"1, %1, %1, %2, %1, %2, %1"_qs.arg(texto, unicode),
                                       u"2, '50 x', NULL, NULL, NULL, NULL, NULL"_qs})
          EnBase(u"INSERT INTO %1 VALUES (%2)"_qs.arg(tabla, valores), base);
      }
  }
  ~Conversor() override { fGENEINIC = nullptr; }

  // Company 1's ARTICULO, a column's values in key order.
  static QString Valores(const QString& columna, const QString& base = u"ZEMEMP1"_qs,
                         const QString& tabla = u"ARTICULO"_qs) {
    return EjecutarSQLADO(u"SELECT %1 FROM %2 ORDER BY Codigo"_qs.arg(columna, tabla), base);
  }
  // Runs a statement that must succeed on a database of the server.
  static void EnBase(const QString& sql, const QString& base) {
    ASSERT_EQ(EjecutarSQLADO(sql, base), QString()) << sql.toStdString();
  }
  void Convertir(TfGENECCHR& f) {
    mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"I"_qs);
    f.pbIniciarConversionClick();
    EXPECT_EQ(mensajes.Texts().last(), u"El proceso de conversión ha finalizado."_qs);
  }

  const QStringList kBases{u"ZEMGENERAL"_qs, u"ZEMEMP1"_qs, u"OTRA"_qs};
  const QString kValor = u"Ñandú ñu O'Brien 50% [x] a_b"_qs;
  const QList<ParEquivalencia> kPares{{u"Ñ"_qs, u"N"_qs},         {u"ú"_qs, QString()},     {u"O'B"_qs, u"O´B"_qs},
                                      {u"50%"_qs, u"cincuenta"_qs}, {u"[x]"_qs, u"(x)"_qs}, {u"_"_qs, u"-"_qs},
                                      {QString(), u"nada"_qs}};
  const QString kConvertido = u"Nand ñu O´Brien cincuenta (x) a-b"_qs;
};

TEST_F(Conversor, ReplacesEachPairLiterallyAndCaseSensitivelyInEveryTextColumnKind) {
  TfGENECCHR f;
  EXPECT_EQ(f.Caption(), u"Conversor de Juegos de Caracteres"_qs);
  Preparar(f, {u"ZEMEMP1"_qs}, u"articulo"_qs, kPares);
  bool cerrable = true;
  bool botonActivo = true;
  QObject::connect(&Estado(f), &QStatusBar::messageChanged, [&](const QString& texto) {
    if (!texto.startsWith(u"Procesando B.Datos/Tabla/Campo/Carácter...ZEMEMP1/ARTICULO/Nombre/"_qs)) return;
    cerrable = f.CloseQuery();
    botonActivo = f.findChild<QPushButton*>(u"pbIniciarConversion"_qs)->isEnabled();
  });
  Convertir(f);
  EXPECT_EQ(mensajes.Texts(), QStringList({kConfirmar, u"El proceso de conversión ha finalizado."_qs}));
  EXPECT_FALSE(cerrable) << "closing is refused during the run";
  EXPECT_FALSE(botonActivo);
  EXPECT_TRUE(f.findChild<QPushButton*>(u"pbIniciarConversion"_qs)->isEnabled());
  EXPECT_EQ(Estado(f).currentMessage(), QString());
  EXPECT_TRUE(f.CloseQuery());
  EXPECT_EQ(Valores(u"Nombre"_qs), kConvertido + u"\r\n50 x"_qs) << "a row without the pairs stays";
  for (const QString& columna : {u"nombreCorto"_qs, u"Notas"_qs, u"RTRIM(Clave)"_qs})
    EXPECT_EQ(Valores(columna), kConvertido + u"\r\n"_qs) << columna.toStdString();
  for (const QString& columna : {u"NombreLargo"_qs, u"Memo"_qs})
    EXPECT_EQ(Valores(columna), kConvertido + u" Ω\r\n"_qs) << columna.toStdString();
}

TEST_F(Conversor, OnlyColumnsNamedByAWordOfTheirOwnCase) {
  TfGENECCHR f;
  Preparar(f, {u"ZEMEMP1"_qs}, u"ARTICULO"_qs, {{u"Ñ"_qs, u"N"_qs}});
  f.findChild<QRadioButton*>(u"SoloConElNombre"_qs)->setChecked(true);
  f.findChild<QPlainTextEdit*>(u"CamposAProcesar"_qs)->setPlainText(u"Nombre, Memo,"_qs);
  Convertir(f);
  const QString antes = u"Ñandú ñu O'Brien 50% [x] a_b"_qs;
  const QString despues = u"Nandú ñu O'Brien 50% [x] a_b"_qs;
  const struct {
    const char* columna;
    QString valor;
  } casos[] = {{"Nombre", despues},   {"NombreLargo", despues + u" Ω"_qs}, {"Memo", despues + u" Ω"_qs},
               {"nombreCorto", antes}, {"Notas", antes}};
  for (const auto& caso : casos)
    EXPECT_EQ(Valores(QString::fromLatin1(caso.columna)).section(u"\r\n"_qs, 0, 0), caso.valor) << caso.columna;
}

TEST_F(Conversor, GeneralTablesOnlyInTheGeneralDatabaseAndCompanyTablesOnlyInCompanyOnes) {
  TfGENECCHR f;
  QStringList listadas;
  for (int i = 0; i < f.BasesDeDatos().count(); ++i) listadas << f.BasesDeDatos().item(i)->text();
  listadas.sort();
  EXPECT_EQ(listadas, QStringList({u"ZEMEMP"_qs, u"ZEMEMP1"_qs, u"ZEMGENERAL"_qs})) << "the application's databases";
  EXPECT_EQ(f.BasesDeDatos().selectedItems().size(), 3);
  f.AgregarunaBasedeDatosquenoestenlalista1Click();
  EXPECT_FALSE(f.findChild<QRadioButton*>(u"TodasLasTablas"_qs)->isEnabled());
  Preparar(f, kBases, u"MENSAJE,ARTICULO"_qs, {{u"Ñ"_qs, u"N"_qs}});
  Convertir(f);
  const auto convertida = [&](const QString& base, const QString& tabla) {
    return Valores(u"Nombre"_qs, base, tabla).startsWith(u"Nandú"_qs);
  };
  EXPECT_TRUE(convertida(u"ZEMGENERAL"_qs, u"MENSAJE"_qs));
  EXPECT_FALSE(convertida(u"ZEMGENERAL"_qs, u"ARTICULO"_qs));
  EXPECT_FALSE(convertida(u"ZEMEMP1"_qs, u"MENSAJE"_qs));
  EXPECT_TRUE(convertida(u"ZEMEMP1"_qs, u"ARTICULO"_qs));
  EXPECT_TRUE(convertida(u"OTRA"_qs, u"MENSAJE"_qs));
  EXPECT_TRUE(convertida(u"OTRA"_qs, u"ARTICULO"_qs));
}

TEST_F(Conversor, AnEmptyTableNameEndsTheTableList) {
  TfGENECCHR f;
  f.AgregarunaBasedeDatosquenoestenlalista1Click();
  const auto convertida = [&](const QString& tabla) {
    return Valores(u"Nombre"_qs, u"OTRA"_qs, tabla).startsWith(u"Nandú"_qs);
  };
  for (const char* lista : {"MENSAJE,,ARTICULO", "MENSAJE, ,ARTICULO", ",ARTICULO"}) {
    SCOPED_TRACE(lista);
    Preparar(f, {u"OTRA"_qs}, QString::fromLatin1(lista), {{u"Ñ"_qs, u"N"_qs}});
    Convertir(f);
    EXPECT_FALSE(convertida(u"ARTICULO"_qs));
  }
  EXPECT_TRUE(convertida(u"MENSAJE"_qs));
}

TEST_F(Conversor, AllTablesAreThoseTheInstallationDefines) {
  Ejecutar(u"INSERT INTO IDIOMA (Idioma, FormatoFecha) VALUES ('ESPAÑOL', 'dd/mm/yyyy')"_qs, u"DatabaseGeneral"_qs);
  TfGENECCHR f;
  Preparar(f, {u"ZEMGENERAL"_qs}, QString(), {{u"Ñ"_qs, u"NI"_qs}});
  f.findChild<QRadioButton*>(u"TodasLasTablas"_qs)->setChecked(true);
  Convertir(f);
  EXPECT_EQ(EjecutarSQLADO(u"SELECT Idioma FROM IDIOMA WHERE FormatoFecha = 'dd/mm/yyyy'"_qs, u"ZEMGENERAL"_qs),
            u"ESPANIOL"_qs);
  EXPECT_TRUE(Valores(u"Nombre"_qs, u"ZEMGENERAL"_qs, u"MENSAJE"_qs).startsWith(u"Ñandú"_qs)) << "not defined";
}

TEST_F(Conversor, AFailingDatabaseIsLeftAsItWasAndTheOnesBeforeStayReplaced) {
  EnBase(u"CREATE TABLE CORTA (Codigo INT NOT NULL, Nombre VARCHAR(5) NULL, CONSTRAINT CORTA_Clave1 PRIMARY KEY (Codigo))"_qs,
           u"ZEMEMP1"_qs);
  EnBase(u"INSERT INTO CORTA VALUES (1, 'abcdÑ')"_qs, u"ZEMEMP1"_qs);
  TfGENECCHR f;
  f.AgregarunaBasedeDatosquenoestenlalista1Click();
  const auto fila = [&](const QString& base) {
    return f.BasesDeDatos().row(f.BasesDeDatos().findItems(base, Qt::MatchExactly).value(0));
  };
  ASSERT_LT(fila(u"OTRA"_qs), fila(u"ZEMEMP1"_qs));
  Preparar(f, {u"OTRA"_qs, u"ZEMEMP1"_qs}, u"ARTICULO,CORTA,  T'; DROP TABLE ARTICULO"_qs, {{u"Ñ"_qs, u"NN"_qs}});
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  EXPECT_ANY_THROW(f.pbIniciarConversionClick());
  EXPECT_TRUE(Valores(u"Nombre"_qs, u"OTRA"_qs).startsWith(u"NNandú"_qs));
  EXPECT_TRUE(Valores(u"Nombre"_qs).startsWith(u"Ñandú"_qs)) << "rolled back";
  EXPECT_EQ(Valores(u"Nombre"_qs, u"ZEMEMP1"_qs, u"CORTA"_qs), u"abcdÑ"_qs);
  EXPECT_EQ(Estado(f).currentMessage(), QString());
  EXPECT_TRUE(f.findChild<QPushButton*>(u"pbIniciarConversion"_qs)->isEnabled());
  EXPECT_TRUE(f.CloseQuery());
}

TEST_F(Conversor, AnswerNoRunsNothing) {
  TfGENECCHR f;
  Preparar(f, {u"ZEMEMP1"_qs}, u"ARTICULO"_qs, kPares);
  mensajes.Expect(u"C"_qs, u"NO"_qs);
  f.pbIniciarConversionClick();
  EXPECT_TRUE(Valores(u"Nombre"_qs).startsWith(u"Ñandú"_qs));
}

TEST_F(Conversor, PairFilesRoundTripThroughTheTable) {
  TfGENECCHR f;
  f.PonerEquivalencias(kPares);
  const QString archivo = carpeta.File(u"pares.txt"_qs);
  ScriptedDialogs dialogos;
  dialogos.ExpectFile(archivo).ExpectFile(archivo);
  f.ExportarATablaClick();
  f.Inicializarlatabla1Click();
  EXPECT_TRUE(f.Equivalencias().isEmpty());
  f.ImportarDesdeTablaClick();
  EXPECT_EQ(f.Equivalencias(), kPares);
  ASSERT_EQ(dialogos.Dialogs().size(), 2);
  EXPECT_EQ(dialogos.Dialogs()[0].title, u"Guardar archivo"_qs);
  EXPECT_EQ(dialogos.Dialogs()[0].fileName, u"Tabla_Equivalencias.txt"_qs);
  EXPECT_EQ(dialogos.Dialogs()[1].fileName, u"*.txt"_qs);
  EXPECT_TRUE(dialogos.Dialogs()[1].nameFilters.first().contains(u"*.txt"_qs));
}

TEST_F(Conversor, AKilledRunLeavesTheMillionRowTableAsItWas) {
  EnBase(u"CREATE TABLE GRANDE (Codigo INT NOT NULL, Nombre VARCHAR(40) NULL, CONSTRAINT GRANDE_Clave1 PRIMARY KEY (Codigo))"_qs,
           u"ZEMEMP1"_qs);
  const std::shared_ptr<Connection> archivo = OpenConnection(QDir(instalacion.ServerFolder()).filePath(u"ZEMEMP1.sqlite"_qs));
  archivo->Execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000) "
                   "INSERT INTO GRANDE SELECT i, 'Ñu ' || i FROM n"_qs);
  const auto conÑ = [&] {
    return archivo->QueryRows(u"SELECT count(*) FROM GRANDE WHERE substr(Nombre, 1, 1) = 'Ñ'"_qs).rows[0][0].toInt();
  };
  ASSERT_EQ(conÑ(), 1000000);
  SecondProcess otra(u"convertir-grande"_qs, {{kCarpeta, carpeta.Path()}});
  ASSERT_EQ(otra.ReadReport(), u"convirtiendo"_qs);
  otra.Kill();
  EXPECT_EQ(conÑ(), 1000000) << "the first pair's replacement is undone";
  EXPECT_EQ(EjecutarSQLADO(u"SELECT Nombre FROM GRANDE WHERE Codigo = 7"_qs, u"ZEMEMP1"_qs), u"Ñu 7"_qs);
}


// As a person sees it: the warning in red above the grid of pairs, whose
// cells keep the sizes of the design.
TEST_F(Conversor, TheFormIsDrawnWithTheWarningAndTheGridOfPairs) {
  TfGENECCHR f;
  f.PonerEquivalencias(kPares);
  f.show();
  QApplication::processEvents();
  const QImage imagen = CapturaFormulario(f, u"GENECCHR"_qs);
  const QLabel& aviso = *f.findChild<QLabel*>(u"Panel1"_qs);
  EXPECT_EQ(aviso.text(), u"¡Haga una copia de seguridad antes de realizar la conversión!"_qs);
  const QColor tinta = TintaMasOscura(imagen, QRect(aviso.mapTo(&f, QPoint()), aviso.size()));
  EXPECT_GT(tinta.red(), 2 * tinta.green()) << "written in red";
  const QTableWidget& pares = f.TablaEquivalencias();
  EXPECT_EQ(pares.columnWidth(0), 74);
  EXPECT_EQ(pares.columnWidth(1), 74);
  EXPECT_EQ(pares.rowHeight(0), 18);
  EXPECT_EQ(pares.rowCount(), 255);
  EXPECT_TRUE(pares.isVisible());
}

}  // namespace
